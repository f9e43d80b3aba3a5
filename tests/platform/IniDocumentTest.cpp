#include <gtest/gtest.h>

#include "platform/IniDocument.h"

using ztgl::IniDocument;

TEST(IniDocument, UnchangedDocumentGivesBackItsBytes) {
    const QByteArray samples[] = {
        "",
        "\r\n",
        "[A]\r\nk=v",
        "[A]\nk=v\n\n\n",
        "\xEF\xBB\xBF[A]\r\n",
        "mixed\r\nline\nends\rhere\r",
        QByteArray("\0[\xff]\x81\n=\n;\n", 11),
    };
    for (const QByteArray& bytes : samples)
        EXPECT_EQ(IniDocument(bytes).toBytes(), bytes) << bytes.toHex().constData();
}

TEST(IniDocument, SectionNamesInFileOrderWithoutRepeats) {
    const IniDocument doc(
        "[ODBC]\n[FreeTDS]\nDriver=libtdsodbc.so\n[ODBC Driver 18 for SQL Server]\n[freetds]\n");
    EXPECT_EQ(doc.sectionNames(), QStringList({QStringLiteral("ODBC"), QStringLiteral("FreeTDS"),
                                               QStringLiteral("ODBC Driver 18 for SQL Server")}));
    EXPECT_TRUE(doc.hasSection(QStringLiteral("odbc driver 18 for sql server")));
    EXPECT_FALSE(doc.hasSection(QStringLiteral("ODBC Driver 17 for SQL Server")));
    EXPECT_EQ(doc.value(QStringLiteral("FREETDS"), QStringLiteral("driver")),
              QStringLiteral("libtdsodbc.so"));
    EXPECT_FALSE(doc.value(QStringLiteral("ODBC"), QStringLiteral("Driver")).has_value());
}

TEST(IniDocument, EmptyValueDiffersFromMissingKey) {
    const IniDocument doc("[S]\nEMPTY=\nBLANK=   \n");
    EXPECT_EQ(doc.value(QStringLiteral("S"), QStringLiteral("EMPTY")), QString());
    EXPECT_EQ(doc.value(QStringLiteral("S"), QStringLiteral("BLANK")), QString());
    EXPECT_FALSE(doc.value(QStringLiteral("S"), QStringLiteral("MISSING")).has_value());
}

TEST(IniDocument, LineEndsOfNewLinesFollowTheFirstLine) {
    IniDocument lf("; c\n[A]\r\n");
    lf.setValue(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(lf.toBytes(), QByteArray("; c\n[A]\r\n[B]\nk=v\n"));

    // A lone CR ends only the last line: before a new line it becomes a whole line end, or the
    // new key would join the section line and be lost.
    IniDocument cr("[A]\r");
    cr.setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(cr.toBytes(), QByteArray("[A]\r\nk=v\r\n"));
    EXPECT_EQ(IniDocument(cr.toBytes()).value(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("v"));
}
