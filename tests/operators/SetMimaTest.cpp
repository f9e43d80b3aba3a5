// The stored password form: exact values for known inputs (existing databases hold them), and
// the properties that let encoded values travel through statements unharmed.
#include "operators/SetMima.h"

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "platform/Codepage936.h"

namespace ztgl::test {
namespace {

// Text from character codes 0..127 (the only codes below 128 that stage 2 can give).
QString codes(std::initializer_list<int> list) {
    QString s;
    for (const int c : list)
        s += QChar(c);
    return s;
}

const QString kEuro = "€";  // what code page 936 gives for byte 0x80

struct MimaCase {
    const char* name;
    QString input;
    QString expected;
};
void PrintTo(const MimaCase& c, std::ostream* os) {
    *os << c.name;
}

class SetMimaTest : public ::testing::TestWithParam<MimaCase> {
protected:
    RecordingUiPort port;
};

TEST_P(SetMimaTest, EncodesExactly) {
    EXPECT_EQ(Set_Mima(GetParam().input), GetParam().expected);
    EXPECT_TRUE(port.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Known, SetMimaTest,
    ::testing::Values(
        MimaCase{"Empty", QString(), QString()},
        // 97 98 99 → 2 57 55 2 57 56 2 57 57 + pad 1 → 25 75 52 57 56 25 75 71
        MimaCase{"Abc", "abc", codes({25, 'K', '4', '9', '8', 25, 'K', 'G'})},
        // 97 → 2 57 55 + pad 1 → 25 75 51
        MimaCase{"OneLetter", "a", codes({25, 'K', '3'})},
        // Capitals differ: 65 → 2 54 53 + pad 1 → 25 45 31
        MimaCase{"CapitalLetter", "A", codes({25, '-', 31})},
        // 中 = D6 D0 = -10544 → 6 45 49 48 53 52 52 + pad 1 → 64 54 94 85 35 25 21
        MimaCase{"Chinese", "中", codes({'@', '6', '^', 'U', '#', 25, 21})},
        // "!" = 33 → 2 51 51, "d" = 100 → 3 49 48 48: the pair after 25 15 is 13 → code 128.
        MimaCase{"PairThirteenBecomesCode128", "!d", codes({25, 15}) + kEuro + "100"},
        // "€" itself is byte 128 → 3 49 50 56 + pad 1 → 34 95 05 61
        MimaCase{"EuroSignIsCode128", kEuro, codes({'"', '_', 5, '='})},
        // The initial operator "admin" with an empty password: "admin" + "" + "admin".
        // By hand: a=97 → 2 57 55; d=100 → 3 49 48 48; m=109 → 3 49 48 57;
        // i=105 → 3 49 48 53; n=110 → 3 49 49 48. One "admin" is 33 digits:
        //   25755 3494848 3494857 3494853 3494948
        // twice gives 66 digits (even, no padding), read in pairs:
        //   25 75 53 49 48 48 34 94 85 73 49 48 53 34 94 94 82
        //   57 55 34 94 84 83 49 48 57 34 94 85 33 49 49 48
        // → code 25, K 5 1 0 0 " ^ U I 1 0 5 " ^ ^ R 9 7 " ^ T S 1 0 9 " ^ U ! 1 1 0 (no pair 13).
        MimaCase{"InitialOperatorAdmin", "adminadmin", codes({25}) + "K5100\"^UI105\"^^R97\"^TS109\"^U!110"}),
    [](const auto& info) { return std::string(info.param.name); });

// One character gives half of its code's digits rounded up, the length digit counted; for a
// Chinese character the first pair is the length digit and the "4" of the minus sign's "45".
TEST(SetMimaCodes, LengthFollowsTheWidthOfTheCode) {
    const struct {
        QByteArray bytes;
        int code;
        QChar first;  // null: not checked
    } rows[] = {
        {QByteArray("\xD6\xD0"), -10544, QLatin1Char('@')},  // 中: six characters "-10544"
        {QByteArray("\xD9\xA1"), -9823, QLatin1Char('6')},   // five characters "-9823"
        {QByteArray("\xB0\xA1"), -20319, QLatin1Char('@')},  // 啊
        {QByteArray("7"), '7', QChar()},
        {QByteArray("~"), '~', QChar()},
        {QByteArray("d"), 'd', QChar()},
        {QByteArray(" "), ' ', QChar()},
    };
    for (const auto& r : rows) {
        const QString ch = cp936::decode(r.bytes);
        SCOPED_TRACE(ch.toStdString());
        ASSERT_EQ(cp936::Asc(ch), r.code);
        const QString encoded = Set_Mima(ch);
        EXPECT_EQ(encoded.size(), (1 + 2 * QString::number(r.code).size() + 1) / 2);
        if (!r.first.isNull())
            EXPECT_EQ(encoded.at(0), r.first);
    }
    // Characters outside the code page count as question marks.
    EXPECT_EQ(Set_Mima("😀"), Set_Mima("??"));
    EXPECT_EQ(Set_Mima("한"), Set_Mima("?"));
}

// Encoded values are written into statements that are trimmed, upper-cased, scanned for TRUE and
// FALSE and quoted: none of that may change them.
TEST(SetMimaCodes, EncodedValuesSurviveTheStatementRules) {
    const QStringList inputs = {"adminadmin", "admin123456admin",      "zhangsan口令zhangsan",
                                "!d",         "true false TRUE FALSE", "\t\r\n'\""};
    for (const QString& in : inputs) {
        SCOPED_TRACE(in.toStdString());
        const QString out = Set_Mima(in);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out.toUpper(), out);
        EXPECT_EQ(out.trimmed(), out);
        EXPECT_FALSE(out.contains("TRUE"));
        EXPECT_FALSE(out.contains("FALSE"));
        for (const QChar c : out) {
            const int code = cp936::Asc(QString(c));
            EXPECT_TRUE((code >= 1 && code <= 96) || code == 128) << code;
            EXPECT_NE(c, QLatin1Char('\''));
        }
    }
}

}  // namespace
}  // namespace ztgl::test
