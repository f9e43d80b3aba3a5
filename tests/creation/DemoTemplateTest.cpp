#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "creation/DemoTemplate.h"

namespace ztgl {
namespace {

TEST(DemoTemplate, WritesANewFileAndRefusesAnExistingOne) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("MWMSD_NULL.mdb"));
    QString error;
    ASSERT_TRUE(WriteDemoTemplate(file, &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(file));
    const qint64 size = QFileInfo(file).size();

    EXPECT_FALSE(WriteDemoTemplate(file, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QFileInfo(file).size(), size);  // the existing file is left alone
}

}  // namespace
}  // namespace ztgl
