// Code page 936 text and the password encoding. Input: any bytes, read as code page 936, as UTF-8
// and as UTF-16. Oracles:
// - decoding is stable: what decode gives encodes and decodes back to itself; a cut by leftBytes
//   is a prefix that splits no character, and decodes to a prefix of the whole;
// - Asc and Chr are inverse on every character the code page holds;
// - Set_Mima never fails, and its output holds only codes 1 to 96 and 128, has the length its
//   digit string gives, no small letters, no TRUE or FALSE, no blank at either end.
#include "FuzzSupport.h"
#include "operators/SetMima.h"
#include "platform/Codepage936.h"

using namespace ztgl;
namespace cp936 = ztgl::cp936;

namespace {

bool inCodePage(const QString& ch) {
    return ch == QLatin1String("?") || cp936::encode(ch) != "?";
}

void checkDecoding(const QByteArray& bytes) {
    const QString text = cp936::decode(bytes);
    FUZZ_CHECK(cp936::decode(cp936::encode(text)) == text, "decode(encode(decode(b))) == decode(b)");
    for (const qsizetype n :
         {qsizetype(0), qsizetype(1), bytes.size() / 2, bytes.size() - 1, qsizetype(255)}) {
        if (n < 0)
            continue;
        const QByteArray left = cp936::leftBytes(bytes, n);
        FUZZ_CHECK(bytes.startsWith(left), "leftBytes is a prefix");
        FUZZ_CHECK(left.size() <= n && left.size() >= qMin(n, bytes.size()) - 1,
                   "leftBytes leaves out one character at most");
        FUZZ_CHECK(text.startsWith(cp936::decode(left)), "leftBytes splits no character");
    }
}

void checkCodes(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString ch = text.mid(i, 1);
        const int code = cp936::Asc(ch);
        FUZZ_CHECK(code >= -32768 && code <= 255, "Asc gives a byte or a signed double-byte code");
        if (!ch.front().isSurrogate() && inCodePage(ch))
            FUZZ_CHECK(cp936::Chr(code) == ch, "Chr(Asc(c)) == c");
    }
}

void checkMima(const QString& text) {
    const QString encoded = Set_Mima(text);
    FUZZ_CHECK(Set_Mima(text) == encoded, "Set_Mima is deterministic");
    qsizetype digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        digits += 1 + 2 * QString::number(cp936::Asc(text.mid(i, 1))).size();
    FUZZ_CHECK(encoded.size() == (digits + 1) / 2, "one character per pair of digits");
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int code = cp936::Asc(encoded.mid(i, 1));
        FUZZ_CHECK((code >= 1 && code <= 96) || code == 128, "codes 1 to 96 and 128 only");
    }
    FUZZ_CHECK(encoded.toUpper() == encoded, "no small letters");
    FUZZ_CHECK(!encoded.contains(QLatin1String("TRUE")) && !encoded.contains(QLatin1String("FALSE")),
               "neither TRUE nor FALSE");
    FUZZ_CHECK(
        encoded.isEmpty() || (encoded.front() != QLatin1Char(' ') && encoded.back() != QLatin1Char(' ')),
        "no blank at either end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::failOnMessages();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkDecoding(bytes);
    for (const QString& text : {cp936::decode(bytes), QString::fromUtf8(bytes), fuzz::utf16Of(bytes)}) {
        checkCodes(text);
        checkMima(text);
    }
    return 0;
}
