#include <gtest/gtest.h>

#include "platform/IniDocument.h"

using namespace Qt::StringLiterals;

using ztgl::IniDocument;

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
