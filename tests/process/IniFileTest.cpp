#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "platform/Codepage936.h"
#include "platform/ProgramFolder.h"
#include "process/IniFile.h"

using ztgl::Read_Ini;
using ztgl::Write_Ini;
using ztgl::test::RecordingUiPort;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class IniFileTest : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("kxconfig.ini")) const { return dir.filePath(name); }

    void put(const QByteArray& bytes, const QString& name = QStringLiteral("kxconfig.ini")) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes(const QString& name = QStringLiteral("kxconfig.ini")) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString read(const char* section, const char* key) {
        return Read_Ini(QString::fromUtf8(section), QString::fromUtf8(key), path());
    }
    void write(const char* section, const char* key, const QString& value) {
        Write_Ini(QString::fromUtf8(section), QString::fromUtf8(key), value, path());
    }
    void expectOneError(const char* text) {
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, u(text));
        EXPECT_EQ(port.messages[0].title, u("提示"));
        EXPECT_EQ(port.messages[0].icon, ztgl::MsgIcon::Information);
        EXPECT_EQ(port.messages[0].buttons, ztgl::MsgButtons::Ok);
    }

    QTemporaryDir dir;
    RecordingUiPort port;
};

const QByteArray kConfig =
    "; written by the suite\r\n"
    "[BASESETUP]\r\n"
    "ISWLB=0\r\n"
    "\r\n"
    "[SERVERINFO]\r\n"
    "IP=192.168.1.10\r\n"
    "PORT=2001\r\n"
    "[DBCONNECT]\r\n"
    "DBTYPE=[Microsoft SQL Server]\r\n"
    "PROVIDER=SQLOLEDB.1\r\n"
    "PASSWORD=\r\n";

}  // namespace

TEST_F(IniFileTest, ReadsValuesOfAnOrdinaryFile) {
    put(kConfig);
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QStringLiteral("0"));
    EXPECT_EQ(read("SERVERINFO", "IP"), QStringLiteral("192.168.1.10"));
    EXPECT_EQ(read("SERVERINFO", "PORT"), QStringLiteral("2001"));
    EXPECT_EQ(read("DBCONNECT", "DBTYPE"), QStringLiteral("[Microsoft SQL Server]"));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(IniFileTest, MissingFileSectionKeyOrValueAllReadEmptyWithoutMessage) {
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    put(kConfig);
    EXPECT_EQ(read("NOSECTION", "ISWLB"), QString());
    EXPECT_EQ(read("BASESETUP", "NOKEY"), QString());
    EXPECT_EQ(read("DBCONNECT", "PASSWORD"), QString());
    EXPECT_EQ(read("BASESETUP", "IP"), QString());  // key of another section
    put(QByteArray());
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("other.ini"))));
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase) {
    put(kConfig);
    EXPECT_EQ(read("basesetup", "iswlb"), QStringLiteral("0"));
    EXPECT_EQ(read("ServerInfo", "Port"), QStringLiteral("2001"));
}

TEST_F(IniFileTest, EditionValuesComeBackExactly) {
    for (const char* value : {"0", "00", "", "1", "O"}) {
        put(QByteArray("[BASESETUP]\r\nISWLB=") + value + "\r\n");
        EXPECT_EQ(read("BASESETUP", "ISWLB"), QString::fromLatin1(value));
    }
}

TEST_F(IniFileTest, BlanksAndTabsAroundNamesAndValuesAreIgnored) {
    put("  [ BASESETUP ]  \n"
        "ISWLB = 0 \n"
        "\t[\tSERVERINFO\t]\t; comment after the header\n"
        "\tIP\t=\t 10.0.0.1 \t\n"
        "  PORT  =  2001\n");
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QStringLiteral("0"));
    EXPECT_EQ(read("SERVERINFO", "IP"), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(read("SERVERINFO", "PORT"), QStringLiteral("2001"));
}

TEST_F(IniFileTest, MatchingQuotesAreRemoved) {
    struct Case {
        const char* line;
        const char* value;
    } cases[] = {
        {"K=\"abc\"", "abc"},
        {"K='abc'", "abc"},
        {"K = \"a b\" ", "a b"},
        {"K=\"abc'", "\"abc'"},
        {"K=\"abc", "\"abc"},
        {"K=abc\"", "abc\""},
        {"K=\"\"", ""},
        {"K=\"", "\""},
        {"K='\"x\"'", "\"x\""},
        // Blanks inside the quotes: the leading ones go with the final trim, the trailing ones stay.
        {"K=\"  a  \"", "a  "},
        {"K=\"   \"", ""},
    };
    for (const auto& c : cases) {
        put(QByteArray("[S]\r\n") + c.line + "\r\n");
        EXPECT_EQ(read("S", "K"), QString::fromLatin1(c.value)) << c.line;
    }
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWin) {
    put("[S]\nA=first\nA=second\n[s]\nA=third\nB=only in the second\n[S]\nB=later\n");
    EXPECT_EQ(read("S", "A"), QStringLiteral("first"));
    EXPECT_EQ(read("S", "B"), QStringLiteral("only in the second"));
}

TEST_F(IniFileTest, LinesThatAreNoKeysAreIgnored) {
    put("ISWLB=9\n"     // before any section
        "[BASESETUP\n"  // no closing bracket: no section
        "[BASESETUP]\n"
        ";ISWLB=7\n"  // comment
        "ISWLB\n"     // no "="
        "garbage line\n"
        "KEY=a=b=c\n"
        "=no name\n"
        "ISWLB=1\n");
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QStringLiteral("1"));
    EXPECT_EQ(read("BASESETUP", "KEY"), QStringLiteral("a=b=c"));
    EXPECT_EQ(read("BASESETUP", "garbage line"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
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

TEST_F(IniFileTest, ChineseValuesAreCodePage936) {
    put(ztgl::cp936::encode(
        u("[DBCONNECT]\r\nDATA_SOURCE=D:\\帐套\\KXPUB.MDB\r\n[服务器]\r\n名称=总部\r\n")));
    EXPECT_EQ(read("DBCONNECT", "DATA_SOURCE"), u("D:\\帐套\\KXPUB.MDB"));
    EXPECT_EQ(read("服务器", "名称"), u("总部"));
}

TEST_F(IniFileTest, BrokenBytesNeverCrashAndKeepTheLineStructure) {
    put("[S\x81]\r\nK=lost\r\n[T\xff]\r\nK=\xd6\r\nL=a\x81\x30z\r\n\x81=1\r\nM=ok\r\n");
    // The lead byte 0x81 takes "]" as its second byte, so "[S" is no section header.
    EXPECT_EQ(read("S", "K"), QString());
    const QString t = u("T\xef\xa3\xb5");  // 0xFF is U+F8F5
    EXPECT_EQ(Read_Ini(t, QStringLiteral("K"), path()), QStringLiteral("?"));
    EXPECT_EQ(Read_Ini(t, QStringLiteral("L"), path()), QStringLiteral("a?0z"));
    EXPECT_EQ(Read_Ini(t, QStringLiteral("?"), path()), QStringLiteral("1"));
    EXPECT_EQ(Read_Ini(t, QStringLiteral("M"), path()), QStringLiteral("ok"));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(IniFileTest, NamesOutsideTheCodePageArriveAsQuestionMarks) {
    put("[?]\r\nK=found\r\n");
    EXPECT_EQ(read("😀", "K"), QStringLiteral("found"));
}

TEST_F(IniFileTest, NulsAreRemoved) {
    put(QByteArray("[S]\r\nK=a\0b\0\r\n", 13));
    EXPECT_EQ(read("S", "K"), QStringLiteral("ab"));
}

TEST_F(IniFileTest, Utf8ByteOrderMarkDoesNotHideTheFirstSection) {
    put("\xEF\xBB\xBF[BASESETUP]\r\nISWLB=0\r\nNAME=\xe5\xb8\x90\xe5\xa5\x97\r\n");
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QStringLiteral("0"));
    EXPECT_EQ(read("BASESETUP", "NAME"), u("帐套"));
    write("BASESETUP", "NAME", u("总部"));
    EXPECT_EQ(bytes(), QByteArray("\xEF\xBB\xBF[BASESETUP]\r\nISWLB=0\r\nNAME=\xe6\x80\xbb\xe9\x83\xa8\r\n"));
}

TEST_F(IniFileTest, HugeFilesAndVeryLongLines) {
    QByteArray big = "[FIRST]\r\nK=1\r\n";
    while (big.size() < 5 * 1024 * 1024)
        big += "; filler line with some text in it 0123456789\r\n";
    big += "LONG=" + QByteArray(1024 * 1024, 'L') + "\r\n[LAST]\r\nK=end\r\n";
    put(big);
    EXPECT_EQ(read("FIRST", "K"), QStringLiteral("1"));
    EXPECT_EQ(read("FIRST", "LONG"), QString(255, QLatin1Char('L')));
    EXPECT_EQ(read("LAST", "K"), QStringLiteral("end"));
    write("LAST", "K", QStringLiteral("changed"));
    big.replace("K=end", "K=changed");
    EXPECT_EQ(bytes(), big);
}

TEST_F(IniFileTest, WritingIntoANewFileUsesWindowsLineEnds) {
    write("SERVERINFO", "IP", QStringLiteral("  192.168.0.5"));
    write("SERVERINFO", "PORT", QStringLiteral("2001"));
    EXPECT_EQ(bytes(), QByteArray("[SERVERINFO]\r\nIP=  192.168.0.5\r\nPORT=2001\r\n"));
    // Leading blanks are kept in the file and trimmed on reading.
    EXPECT_EQ(read("SERVERINFO", "IP"), QStringLiteral("192.168.0.5"));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(IniFileTest, WritingAnExistingKeyKeepsEveryOtherByte) {
    const QByteArray before =
        "\xd7\xa2\xca\xcd: GBK comment without semicolon\r\n"
        "[SERVERINFO]\r\n"
        "; the server program\r\n"
        "ip = 10.0.0.1 \r\n"
        "\r\n"
        "PORT=2001\r\n"
        "odd \xff line\r\n";
    put(before);
    write("SERVERINFO", "IP", QStringLiteral("192.168.0.9"));
    QByteArray after = before;
    after.replace("ip = 10.0.0.1 \r\n", "ip =192.168.0.9\r\n");
    EXPECT_EQ(bytes(), after);
    write("SERVERINFO", "PORT", QString());
    after.replace("PORT=2001", "PORT=");
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(read("SERVERINFO", "PORT"), QString());
}

TEST_F(IniFileTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    put("[SERVERINFO]\nIP=1.2.3.4\n\n; next section\n[DBCONNECT]\nDBTYPE=x\n");
    write("serverinfo", "PORT", QStringLiteral("2002"));
    EXPECT_EQ(bytes(),
              QByteArray("[SERVERINFO]\nIP=1.2.3.4\nPORT=2002\n\n; next section\n[DBCONNECT]\nDBTYPE=x\n"));

    put("[SERVERINFO]\r\n; empty so far\r\n[DBCONNECT]\r\n");
    write("SERVERINFO", "IP", QStringLiteral("h"));
    EXPECT_EQ(bytes(), QByteArray("[SERVERINFO]\r\nIP=h\r\n; empty so far\r\n[DBCONNECT]\r\n"));
}

TEST_F(IniFileTest, NewSectionGoesAtTheEnd) {
    put("[BASESETUP]\nISWLB=1");  // no line end at the end, LF file
    write("SERVERINFO", "IP", QStringLiteral("1.1.1.1"));
    EXPECT_EQ(bytes(), QByteArray("[BASESETUP]\nISWLB=1\n[SERVERINFO]\nIP=1.1.1.1\n"));
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QStringLiteral("1"));
    EXPECT_EQ(read("SERVERINFO", "IP"), QStringLiteral("1.1.1.1"));
}

TEST_F(IniFileTest, WritingChangesTheKeyThatIsRead) {
    put("[S]\r\nA=1\r\n[S]\r\nA=2\r\nB=3\r\n");
    write("S", "A", QStringLiteral("x"));
    write("S", "B", QStringLiteral("y"));
    write("S", "C", QStringLiteral("z"));
    EXPECT_EQ(bytes(), QByteArray("[S]\r\nA=x\r\nC=z\r\n[S]\r\nA=2\r\nB=y\r\n"));
    EXPECT_EQ(read("S", "A"), QStringLiteral("x"));
    EXPECT_EQ(read("S", "B"), QStringLiteral("y"));
    EXPECT_EQ(read("S", "C"), QStringLiteral("z"));
}

TEST_F(IniFileTest, ValuesAreWrittenInCodePage936Unchanged) {
    write("S", "NAME", u(" 帐套 € 😀 "));
    EXPECT_EQ(bytes(), QByteArray("[S]\r\nNAME= \xd5\xca\xcc\xd7 \x80 ? \r\n"));
    EXPECT_EQ(read("S", "NAME"), u("帐套 € ?"));
}

TEST_F(IniFileTest, ReadingADirectoryReturnsEmptyWithoutMessage) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kxconfig.ini")));
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(IniFileTest, WritingOverADirectoryReportsAndChangesNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kxconfig.ini")));
    write("SERVERINFO", "IP", QStringLiteral("1.2.3.4"));
    expectOneError("路径/文件访问错误");
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_TRUE(QDir(path()).isEmpty());
}

TEST_F(IniFileTest, WritingIntoAMissingFolderReportsAndCreatesNothing) {
    const QString file = dir.filePath(QStringLiteral("missing/kxconfig.ini"));
    Write_Ini(QStringLiteral("SERVERINFO"), QStringLiteral("IP"), QStringLiteral("1.2.3.4"), file);
    expectOneError("路径未找到");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST_F(IniFileTest, UnreadableFileReadsEmptyQuietlyAndIsNotOverwritten) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    put(kConfig);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::WriteOwner));
    EXPECT_EQ(read("BASESETUP", "ISWLB"), QString());
    EXPECT_TRUE(port.messages.isEmpty());
    write("SERVERINFO", "IP", QStringLiteral("1.2.3.4"));
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
    write("SERVERINFO", "IP", QStringLiteral("1.2.3.4"));
    write("SERVERINFO", "PORT", QStringLiteral("2001"));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(port.messages.size(), 3);
    for (int i : {0, 2}) {
        EXPECT_EQ(port.messages[i].text, u("拒绝的权限"));
        EXPECT_EQ(port.messages[i].title, u("提示"));
    }
    EXPECT_EQ(port.messages[1].text,
              ztgl::FolderNotWritableText(QDir(dir.path()).absolutePath() + QLatin1Char('/')));
    EXPECT_EQ(port.messages[1].title, u("提示信息"));
    EXPECT_EQ(port.messages[1].icon, ztgl::MsgIcon::Information);
    EXPECT_EQ(bytes(), kConfig);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
