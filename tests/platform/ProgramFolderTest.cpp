#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"
#include "ScopedEnvironment.h"
#include "platform/ProgramFolder.h"

using namespace Qt::StringLiterals;

using namespace ztgl;

// An installed program is started through links: the folder is where the real file lies.
TEST(ProgramFolder, IsTheFolderOfTheRealFileBehindLinksUnlessZtglHomeNamesOne) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir root(QDir(tmp.path()).canonicalPath());
    for (const char* sub : {"opt/ztgl", "usr/bin", "usr/local/bin", "home/data"})
        ASSERT_TRUE(root.mkpath(QLatin1String(sub)));
    const QString real = root.filePath(u"opt/ztgl/ztgl-admin"_s);
    ASSERT_TRUE(QFile(real).open(QIODevice::WriteOnly));
    // A link, and a relative link to the link.
    ASSERT_TRUE(QFile::link(real, root.filePath(u"usr/bin/ztgl-admin"_s)));
    ASSERT_TRUE(QFile::link(u"../../bin/ztgl-admin"_s, root.filePath(u"usr/local/bin/ztgl-admin"_s)));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root.filePath(u"home"_s)));

    const QString home = root.filePath(u"opt/ztgl/"_s);
    const QString data = root.filePath(u"home/data/"_s);
    // clang-format off
    const struct { QString executable, ztglHome, folder; } cases[] = {
        {real, QString(), home}, {root.filePath(u"usr/bin/ztgl-admin"_s), QString(), home}, {root.filePath(u"usr/local/bin/ztgl-admin"_s), QString(), home},
        // A program file that is gone keeps the folder it was started from.
        {root.filePath(u"usr/bin/gone"_s), QString(), root.filePath(u"usr/bin/"_s)},
        {real, root.filePath(u"home/data"_s), data}, {real, root.filePath(u"home/data/"_s), data},
        {real, u"data"_s, data} /* from the current folder */, {real, u"./data/../data"_s, data},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ProgramFolderFor(c.executable, c.ztglHome), c.folder) << c.executable << " " << c.ztglHome;
    QDir::setCurrent(cwd);

    const QString ownFolder = QDir(QCoreApplication::applicationDirPath()).canonicalPath() + QLatin1Char('/');
    test::ScopedEnvironment env;
    env.unset(kProgramFolderVariable);
    EXPECT_EQ(ProgramFolder(), ownFolder);
    env.set(kProgramFolderVariable, "");
    EXPECT_EQ(ProgramFolder(), ownFolder);
    env.set(kProgramFolderVariable, data.toLocal8Bit());
    EXPECT_EQ(ProgramFolder(), data);
    EXPECT_EQ(WithTrailingSeparator(u"/"_s), u"/"_s);  // a root folder
}

TEST(ProgramFolder, WritableOnlyWhenTheUserMayCreateFilesThere) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString file = tmp.filePath(u"kxconfig.ini"_s);
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    EXPECT_TRUE(FolderIsWritable(tmp.path()));
    EXPECT_FALSE(FolderIsWritable(file));
    EXPECT_FALSE(FolderIsWritable(tmp.filePath(u"missing"_s)));
    if (geteuid() != 0) {  // root may write anywhere; the package test covers it as another user
        ASSERT_TRUE(QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        EXPECT_FALSE(FolderIsWritable(tmp.path()));
        QFile::setPermissions(tmp.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    EXPECT_EQ(
        FolderNotWritableText(u"/opt/ztgl/"_s),
        u"程序文件夹“/opt/ztgl/”不允许当前用户写入。\r\n"
        "请让管理员给这个文件夹加上写权限，或者用环境变量 ZTGL_HOME 指定另一个可以写入的程序文件夹。"_s);
}
