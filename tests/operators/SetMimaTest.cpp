// The stored password form: exact values for known inputs (existing databases hold them).
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
        {cp936::decode("\xD9\xA1"), codes({'6', '7', 'K', 'A', 5, 11})},  // -9823: 5 45 57 56 50 51 + 1
        {"한", codes({25, '-', 11})},                            // outside the code page: "?", 2 54 51 + 1
        {"😀", codes({25, '-', 12, '6', '3'})},                  // a surrogate pair: "??", 2 54 51 2 54 51
        // The initial operator admin, empty password: 66 digits "25755 3494848 3494857 3494853
        // 3494948" twice, no pair 13.
        {"adminadmin", codes({25}) + "K5100\"^UI105\"^^R97\"^TS109\"^U!110"},
    };
    // clang-format on
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Set_Mima(input), expected) << input.toStdString();
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
