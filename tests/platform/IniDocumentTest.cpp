#include <gtest/gtest.h>

#include "platform/IniDocument.h"

using namespace Qt::StringLiterals;

using ztgl::IniDocument;

TEST(IniDocument, UnchangedDocumentGivesBackItsBytes) {
    // clang-format off
    const QByteArray samples[] = {"", "\r\n", "[A]\r\nk=v", "[A]\nk=v\n\n\n", "\xEF\xBB\xBF[A]\r\n", "mixed\r\nline\nends\rhere\r",
                                  QByteArray("\0[\xff]\x81\n=\n;\n", 11)};
    // clang-format on
    for (const QByteArray& bytes : samples)
        EXPECT_EQ(IniDocument(bytes).toBytes(), bytes) << bytes.toHex().constData();
}

TEST(IniDocument, SectionNamesInFileOrderWithoutRepeats) {
    const IniDocument doc(
        "[ODBC]\n[FreeTDS]\nDriver=libtdsodbc.so\n[ODBC Driver 18 for SQL Server]\n[freetds]\n");
    EXPECT_EQ(doc.sectionNames(), QStringList({u"ODBC"_s, u"FreeTDS"_s, u"ODBC Driver 18 for SQL Server"_s}));
    EXPECT_TRUE(doc.hasSection(u"odbc driver 18 for sql server"_s));
    EXPECT_FALSE(doc.hasSection(u"ODBC Driver 17 for SQL Server"_s));
    EXPECT_EQ(doc.value(u"FREETDS"_s, u"driver"_s), u"libtdsodbc.so"_s);
    EXPECT_FALSE(doc.value(u"ODBC"_s, u"Driver"_s).has_value());
    // An empty value differs from a missing key.
    const IniDocument empty("[S]\nEMPTY=\nBLANK=   \n");
    EXPECT_EQ(empty.value(u"S"_s, u"EMPTY"_s), QString());
    EXPECT_EQ(empty.value(u"S"_s, u"BLANK"_s), QString());
    EXPECT_FALSE(empty.value(u"S"_s, u"MISSING"_s).has_value());
}

TEST(IniDocument, LineEndsOfNewLinesFollowTheFirstLine) {
    IniDocument lf("; c\n[A]\r\n");
    lf.setValue(u"B"_s, u"k"_s, u"v"_s);
    EXPECT_EQ(lf.toBytes(), QByteArray("; c\n[A]\r\n[B]\nk=v\n"));

    // A lone CR ends only the last line: before a new line it becomes a whole line end, or the
    // new key would join the section line and be lost.
    IniDocument cr("[A]\r");
    cr.setValue(u"A"_s, u"k"_s, u"v"_s);
    EXPECT_EQ(cr.toBytes(), QByteArray("[A]\r\nk=v\r\n"));
    EXPECT_EQ(IniDocument(cr.toBytes()).value(u"A"_s, u"k"_s), u"v"_s);
}
