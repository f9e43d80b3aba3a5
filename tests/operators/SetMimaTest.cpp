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

// Known inputs, worked out by hand: each character's code as its length digit and digits, all of
// them read in pairs (a "1" padded when odd), each pair the code of a character; pair 13 gives 128.
TEST(SetMimaCodes, EncodesExactly) {
    RecordingUiPort port;
    // clang-format off
    const std::pair<QString, QString> cases[] = {
        {QString(), QString()},
        {"abc", codes({25, 'K', '4', '9', '8', 25, 'K', 'G'})},  // 2 57 55 2 57 56 2 57 57 + pad 1
        {"a", codes({25, 'K', '3'})},                            // 2 57 55 + pad 1
        {"A", codes({25, '-', 31})},                             // capitals differ: 2 54 53 + pad 1
        {"中", codes({'@', '6', '^', 'U', '#', 25, 21})},        // D6 D0 = -10544: 6 45 49 48 53 52 52 + 1
        {"!d", codes({25, 15}) + kEuro + "100"},                 // 2 51 51 3 49 48 48: pair 13 → code 128
        {kEuro, codes({'"', '_', 5, '='})},                      // byte 128: 3 49 50 56 + pad 1
        // The initial operator admin, empty password: 66 digits "25755 3494848 3494857 3494853
        // 3494948" twice, no pair 13.
        {"adminadmin", codes({25}) + "K5100\"^UI105\"^^R97\"^TS109\"^U!110"},
    };
    // clang-format on
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Set_Mima(input), expected) << input.toStdString();
    EXPECT_TRUE(port.messages.isEmpty());
}

// One character gives half of its code's digits rounded up, the length digit counted; for a
// Chinese character the first pair is the length digit and the "4" of the minus sign's "45".
// Characters outside the code page count as question marks.
TEST(SetMimaCodes, LengthFollowsTheWidthOfTheCode) {
    // clang-format off
    const struct { QByteArray bytes; int code; QChar first; /* null: not checked */ } rows[] = {
        {"\xD6\xD0", -10544, '@'}, {"\xD9\xA1", -9823, '6'}, {"\xB0\xA1", -20319, '@'},  // 中, five digits, 啊
        {"7", '7', QChar()}, {"~", '~', QChar()}, {"d", 'd', QChar()}, {" ", ' ', QChar()}};
    // clang-format on
    for (const auto& r : rows) {
        const QString ch = cp936::decode(r.bytes);
        SCOPED_TRACE(ch.toStdString());
        ASSERT_EQ(cp936::Asc(ch), r.code);
        const QString encoded = Set_Mima(ch);
        EXPECT_EQ(encoded.size(), (1 + 2 * QString::number(r.code).size() + 1) / 2);
        EXPECT_EQ(encoded.at(0), r.first.isNull() ? encoded.at(0) : r.first);
    }
    EXPECT_EQ(Set_Mima("😀"), Set_Mima("??"));
    EXPECT_EQ(Set_Mima("한"), Set_Mima("?"));
}

// Encoded values are written into statements that are trimmed, upper-cased, scanned for TRUE and
// FALSE and quoted: none of that may change them.
TEST(SetMimaCodes, EncodedValuesSurviveTheStatementRules) {
    for (const QString in : {"adminadmin", "admin123456admin", "zhangsan口令zhangsan", "!d",
                             "true false TRUE FALSE", "\t\r\n'\""}) {
        SCOPED_TRACE(in.toStdString());
        const QString out = Set_Mima(in);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_TRUE(out.toUpper() == out && out.trimmed() == out && !out.contains("TRUE") &&
                    !out.contains("FALSE"));
        for (const QChar c : out) {
            const int code = cp936::Asc(QString(c));
            EXPECT_TRUE(((code >= 1 && code <= 96) || code == 128) && c != QLatin1Char('\'')) << code;
        }
    }
}

}  // namespace
}  // namespace ztgl::test
