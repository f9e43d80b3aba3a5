#include <gtest/gtest.h>

#include <functional>

#include "RuntimeErrorOf.h"
#include "platform/Codepage936.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

namespace cp936 = ztgl::cp936;

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}
}  // namespace

TEST(Codepage936, AscGivesWindowsCodesAndCharactersOutsideTheCodePageAreQuestionMarks) {
    // clang-format off
    const struct { const char* text; int code; } cases[] = {
        {"a", 97}, {"A", 65}, {"0", 48}, {" ", 32}, {"\x01", 1}, {"~", 126}, {"中", -10544}, {"啊", -20319}, {"€", 128}, {"丂", -32448},
        {"齄", -2050}, {"·", -24156}, {"abc", 97}, {"中文", -10544}, {"\xef\xa3\xb5", 255} /* U+F8F5 is the byte 0xFF */,
        {"😀", 63}, {"ก", 63} /* outside the code page: a question mark */,
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(cp936::Asc(u(c.text)), c.code) << c.text;
    EXPECT_EQ(cp936::Asc(QString(QChar(0xD800))), 63);  // lone surrogate
    // Characters Unicode calls ignorable (a variation selector, a zero-width joiner, the byte order mark)
    // are no exception: they are not dropped.
    EXPECT_EQ(cp936::encode(u("a😀bกc\uFE00d\u200De\uFEFF")), QByteArray("a?b?c?d?e?"));
}

TEST(Codepage936, ChrGivesTheCharacterOfACodeAndIsTheInverseOfAsc) {
    // clang-format off
    const struct { int code; QString text; } cases[] = {
        {0, QString(QChar(0))}, {13, u"\r"_s}, {65, u"A"_s}, {127, QString(QChar(127))}, {128, u("€")}, {255, QString(QChar(0xF8F5))},
        {0x81, u"?"_s} /* a lead byte alone is no character */, {0xD6, u"?"_s}, {-10544, u("中")}, {0xD6D0, u("中")}, {-20319, u("啊")},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(cp936::Chr(c.code), c.text) << c.code;
    for (int code = 0; code <= 0x80; ++code)
        EXPECT_EQ(cp936::Asc(cp936::Chr(code)), code) << code;
    EXPECT_EQ(cp936::Asc(cp936::Chr(255)), 255);
    // Codes out of range, and the code of no text, are invalid calls.
    // clang-format off
    const std::function<void()> calls[] = {[] { cp936::Chr(-32769); }, [] { cp936::Chr(65536); }, [] { cp936::Chr(1 << 20); }, [] { cp936::Asc(QString()); }};
    // clang-format on
    for (const auto& call : calls) {
        const ztgl::RuntimeError e = ztgl::test::errorOf(call);
        EXPECT_EQ(e.number(), 5);
        EXPECT_EQ(e.description(), u"无效的过程调用或参数"_s);
    }
}

TEST(Codepage936, DecodesAsWindowsDoesAndBrokenBytesBecomeQuestionMarks) {
    // clang-format off
    const struct { QByteArray bytes; QString text; } cases[] = {
        // The byte table of Windows: 0x80 is the euro sign, 0xFF the private-use character, the
        // user-defined area private use, and the punctuation that GB2312 tables get wrong.
        {QByteArray("\x80"), u("€")}, {QByteArray("\xff"), QString(QChar(0xF8F5))}, {QByteArray("\xaa\xa1"), QString(QChar(0xE000))},
        {QByteArray("\xa1\xa4"), QString(QChar(0x00B7))}, {QByteArray("\xa1\xaa"), QString(QChar(0x2014))}, {QByteArray("\x81\x40"), QString(QChar(0x4E02))},
        // Broken bytes become question marks and keep their neighbours.
        {QByteArray("\x81"), u"?"_s} /* lead byte at the end */, {QByteArray("ab\xd6"), u"ab?"_s}, {QByteArray("\x81\x30"), u"?0"_s} /* invalid trail: read again */,
        {QByteArray("\xd6\n"), u"?\n"_s} /* never swallows a line end */, {QByteArray("\xd6=1"), u"?=1"_s}, {QByteArray("\xd6\x7f"), u"?\x7f"_s},
        {QByteArray("x\0y", 3), QString::fromLatin1("x\0y", 3)} /* NULs are kept */,
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(cp936::decode(c.bytes), c.text) << c.bytes.toHex().constData();
}
