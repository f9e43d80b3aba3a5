#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "platform/Codepage936.h"
#include "platform/ProgramFolder.h"
#include "process/IniFile.h"

using namespace Qt::StringLiterals;

using ztgl::Read_Ini;
using ztgl::Write_Ini;
using ztgl::test::msgLine;
using ztgl::test::RecordingUiPort;
using ztgl::test::shownLines;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class IniFileTest : public ::testing::Test {
protected:
    QString path(const QString& name = u"kxconfig.ini"_s) const { return dir.filePath(name); }

    void put(const QByteArray& bytes, const QString& name = u"kxconfig.ini"_s) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes(const QString& name = u"kxconfig.ini"_s) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString read(const char* section, const char* key) {
        return Read_Ini(QString::fromUtf8(section), QString::fromUtf8(key), path());
    }
    void write(const char* section, const char* key, const QString& value) {
        Write_Ini(QString::fromUtf8(section), QString::fromUtf8(key), value, path());
    }
    // The message box of a file error: the error's text under the title "提示".
    static QString error(const char* text) { return msgLine(u(text), ztgl::MsgIcon::Information, u("提示")); }
    void expectOneError(const char* text) { EXPECT_EQ(shownLines(port), QStringList{error(text)}); }

    QTemporaryDir dir;
    RecordingUiPort port;
};

const QByteArray kConfig =
    "; written by the suite\r\n[BASESETUP]\r\nISWLB=0\r\n\r\n[SERVERINFO]\r\nIP=192.168.1.10\r\nPORT=2001\r\n"
    "[DBCONNECT]\r\nDBTYPE=[Microsoft SQL Server]\r\nPROVIDER=SQLOLEDB.1\r\nPASSWORD=\r\n";

}  // namespace

// What Read_Ini gives for a key of a file: the file's bytes, section, key, the value (UTF-8).
TEST_F(IniFileTest, ReadsTheValueOfTheFirstMatchingKeyWithoutMessages) {
    const QByteArray quotes =
        "[S]\r\nA=\"abc\"\r\nB='abc'\r\nC = \"a b\" \r\nD=\"abc'\r\nE=\"abc\r\nF=abc\"\r\n"
        "G=\"\"\r\nH=\"\r\nI='\"x\"'\r\nJ=\"  a  \"\r\nK=\"   \"\r\n";
    const QByteArray junk =
        "ISWLB=9\n[BASESETUP\n[BASESETUP]\n;ISWLB=7\nISWLB\ngarbage line\nKEY=a=b=c\n=no name\nISWLB=1\n";
    const QByteArray blanks =
        "  [ BASESETUP ]  \nISWLB = 0 \n\t[\tSERVERINFO\t]\t; comment after the header\n"
        "\tIP\t=\t 10.0.0.1 \t\n  PORT  =  2001\n";
    const QByteArray broken = "[S\x81]\r\nK=lost\r\n[T\xff]\r\nK=\xd6\r\nL=a\x81\x30z\r\n\x81=1\r\nM=ok\r\n";
    // clang-format off
    const struct { QByteArray file; const char *section, *key, *value; } cases[] = {
        {kConfig, "BASESETUP", "ISWLB", "0"}, {kConfig, "SERVERINFO", "IP", "192.168.1.10"}, {kConfig, "DBCONNECT", "DBTYPE", "[Microsoft SQL Server]"},
        {kConfig, "basesetup", "iswlb", "0"} /* names without regard to case */, {kConfig, "ServerInfo", "Port", "2001"},
        {kConfig, "NOSECTION", "ISWLB", ""}, {kConfig, "BASESETUP", "NOKEY", ""}, {kConfig, "DBCONNECT", "PASSWORD", ""},
        {kConfig, "BASESETUP", "IP", ""} /* key of another section */, {"", "BASESETUP", "ISWLB", ""},
        {"[BASESETUP]\r\nISWLB=00\r\n", "BASESETUP", "ISWLB", "00"}, {"[BASESETUP]\r\nISWLB=O\r\n", "BASESETUP", "ISWLB", "O"},
        {blanks, "BASESETUP", "ISWLB", "0"}, {blanks, "SERVERINFO", "IP", "10.0.0.1"}, {blanks, "SERVERINFO", "PORT", "2001"},
        // Matching quotes are removed; the leading blanks inside them go with the final trim.
        {quotes, "S", "A", "abc"}, {quotes, "S", "B", "abc"}, {quotes, "S", "C", "a b"}, {quotes, "S", "D", "\"abc'"}, {quotes, "S", "E", "\"abc"},
        {quotes, "S", "F", "abc\""}, {quotes, "S", "G", ""}, {quotes, "S", "H", "\""}, {quotes, "S", "I", "\"x\""}, {quotes, "S", "J", "a  "}, {quotes, "S", "K", ""},
        // The first section and the first key win.
        {"[S]\nA=first\nA=second\n[s]\nA=third\nB=only in the second\n[S]\nB=later\n", "S", "A", "first"},
        {"[S]\nA=first\n[s]\nB=only in the second\n[S]\nB=later\n", "S", "B", "only in the second"},
        // Lines that are no keys are ignored.
        {junk, "BASESETUP", "ISWLB", "1"}, {junk, "BASESETUP", "KEY", "a=b=c"}, {junk, "BASESETUP", "garbage line", ""},
        {ztgl::cp936::encode(u("[DBCONNECT]\r\nDATA_SOURCE=D:\\帐套\\KXPUB.MDB\r\n")), "DBCONNECT", "DATA_SOURCE", "D:\\帐套\\KXPUB.MDB"},
        {ztgl::cp936::encode(u("[服务器]\r\n名称=总部\r\n")), "服务器", "名称", "总部"},
        // Broken bytes never crash and keep the line structure: the lead byte 0x81 takes "]" as its second
        // byte, so "[S" is no section header; 0xFF is U+F8F5.
        {broken, "S", "K", ""}, {broken, "T\xef\xa3\xb5", "K", "?"}, {broken, "T\xef\xa3\xb5", "L", "a?0z"},
        {broken, "T\xef\xa3\xb5", "?", "1"}, {broken, "T\xef\xa3\xb5", "M", "ok"},
        {"[?]\r\nK=found\r\n", "😀", "K", "found"} /* names outside the code page arrive as "?" */,
        {QByteArray("[S]\r\nK=a\0b\0\r\n", 13), "S", "K", "ab"} /* NULs are removed */,
        {"\xEF\xBB\xBF[BASESETUP]\r\nNAME=\xe5\xb8\x90\xe5\xa5\x97\r\n", "BASESETUP", "NAME", "帐套"},
    };
    // clang-format on
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());  // no file
    for (const auto& c : cases) {
        put(c.file);
        EXPECT_EQ(read(c.section, c.key), u(c.value)) << c.file.left(40).toStdString() << " " << c.key;
    }
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"kxconfig.ini"_s});
}

TEST_F(IniFileTest, LongValuesAreCutTo255Bytes) {
    const QByteArray longAscii(300, 'x');
    put("[S]\r\nK=" + longAscii + "\r\n");
    EXPECT_EQ(read("S", "K"), QString(255, QLatin1Char('x')));

    // 128 Chinese characters are 256 bytes: the 128th does not fit whole and is left out.
    const QString chinese = QString(128, u("中").at(0));
    put("[S]\r\nK=" + ztgl::cp936::encode(chinese) + "\r\nA=" + ztgl::cp936::encode(u("a") + chinese) +
        "\r\n");
    EXPECT_EQ(read("S", "K"), chinese.left(127));
    EXPECT_EQ(read("S", "A"), u("a") + chinese.left(127));  // exactly 255 bytes

    // Blanks at the cut stay: in the buffer they stand before the closing NUL, out of the trim's reach.
    put("[S]\r\nK=" + QByteArray(250, 'y') + QByteArray(20, ' ') + "z\r\n");
    EXPECT_EQ(read("S", "K"), QString(250, QLatin1Char('y')) + QString(5, QLatin1Char(' ')));
}

// Write_Ini on a file: its bytes before (none: no file), section, key, value, its bytes after.
TEST_F(IniFileTest, WritingChangesOnlyTheKeyAndKeepsEveryOtherByte) {
    const QByteArray gbk =
        "\xd7\xa2\xca\xcd: GBK comment without semicolon\r\n[SERVERINFO]\r\n; the server program\r\n"
        "ip = 10.0.0.1 \r\n\r\nPORT=2001\r\nodd \xff line\r\n";
    const QByteArray twice = "[S]\r\nA=1\r\n[S]\r\nA=2\r\nB=3\r\n";
    // clang-format off
    const struct { QByteArray before; const char *section, *key, *value; QByteArray after; } cases[] = {
        {QByteArray(), "SERVERINFO", "IP", "  192.168.0.5", "[SERVERINFO]\r\nIP=  192.168.0.5\r\n"},
        {"[SERVERINFO]\r\nIP=  192.168.0.5\r\n", "SERVERINFO", "PORT", "2001", "[SERVERINFO]\r\nIP=  192.168.0.5\r\nPORT=2001\r\n"},
        {gbk, "SERVERINFO", "IP", "192.168.0.9", QByteArray(gbk).replace("ip = 10.0.0.1 ", "ip =192.168.0.9")},
        {gbk, "SERVERINFO", "PORT", "", QByteArray(gbk).replace("PORT=2001", "PORT=")},
        // A new key goes after the last key of its section, a new section at the end.
        {"[SERVERINFO]\nIP=1.2.3.4\n\n; next section\n[DBCONNECT]\nDBTYPE=x\n", "serverinfo", "PORT", "2002",
         "[SERVERINFO]\nIP=1.2.3.4\nPORT=2002\n\n; next section\n[DBCONNECT]\nDBTYPE=x\n"},
        {"[SERVERINFO]\r\n; empty so far\r\n[DBCONNECT]\r\n", "SERVERINFO", "IP", "h", "[SERVERINFO]\r\nIP=h\r\n; empty so far\r\n[DBCONNECT]\r\n"},
        {"[BASESETUP]\nISWLB=1", "SERVERINFO", "IP", "1.1.1.1", "[BASESETUP]\nISWLB=1\n[SERVERINFO]\nIP=1.1.1.1\n"},
        // A lone CR at the end becomes a whole line end, or the new key would join the section line.
        {"[A]\r", "A", "k", "v", "[A]\r\nk=v\r\n"},
        // The key that is read is the key that is written.
        {twice, "S", "A", "x", "[S]\r\nA=x\r\n[S]\r\nA=2\r\nB=3\r\n"}, {twice, "S", "B", "y", "[S]\r\nA=1\r\n[S]\r\nA=2\r\nB=y\r\n"},
        {twice, "S", "C", "z", "[S]\r\nA=1\r\nC=z\r\n[S]\r\nA=2\r\nB=3\r\n"},
        // Values go into the file in code page 936, unchanged.
        {QByteArray(), "S", "NAME", " 帐套 € 😀 ", "[S]\r\nNAME= \xd5\xca\xcc\xd7 \x80 ? \r\n"},
        {"\xEF\xBB\xBF[BASESETUP]\r\nNAME=\xe5\xb8\x90\xe5\xa5\x97\r\n", "BASESETUP", "NAME", "总部", "\xEF\xBB\xBF[BASESETUP]\r\nNAME=\xe6\x80\xbb\xe9\x83\xa8\r\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        QFile::remove(path());
        if (!c.before.isNull())
            put(c.before);
        write(c.section, c.key, u(c.value));
        EXPECT_EQ(bytes(), c.after) << c.key << " " << c.value;
        // Leading blanks stay in the file and go on reading.
        EXPECT_EQ(read(c.section, c.key), u(c.value).trimmed().replace(u("😀"), u("?"))) << c.key;
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(IniFileTest, ADirectoryInPlaceOfTheFileReadsEmptyQuietlyAndIsNotWrittenOver) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"kxconfig.ini"_s));
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
    write("SERVERINFO", "IP", u"1.2.3.4"_s);
    expectOneError("路径/文件访问错误");
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_TRUE(QDir(path()).isEmpty());
    // Writing into a missing folder reports and creates nothing.
    port.messages.clear();
    Write_Ini(u"SERVERINFO"_s, u"IP"_s, u"1.2.3.4"_s, dir.filePath(u"missing/kxconfig.ini"_s));
    expectOneError("路径未找到");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"missing"_s)));
}

TEST_F(IniFileTest, UnreadableFileReadsEmptyQuietlyAndIsNotOverwritten) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    put(kConfig);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::WriteOwner));
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
    write("SERVERINFO", "IP", u"1.2.3.4"_s);
    expectOneError("拒绝的权限");
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(bytes(), kConfig);
}

// The folder is named once after the first refusal: the settings dialog writes two keys.
TEST_F(IniFileTest, ReadOnlyFolderReportsNamesTheFolderOnceAndKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    put(kConfig);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    write("SERVERINFO", "IP", u"1.2.3.4"_s);
    write("SERVERINFO", "PORT", u"2001"_s);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString folder = QDir(dir.path()).absolutePath() + QLatin1Char('/');
    EXPECT_EQ(shownLines(port),
              (QStringList{error("拒绝的权限"), msgLine(ztgl::FolderNotWritableText(folder)),
                           error("拒绝的权限")}));
    EXPECT_EQ(bytes(), kConfig);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
