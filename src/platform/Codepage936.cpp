#include "platform/Codepage936.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/RuntimeError.h"

namespace ztgl::cp936 {

// Qt's "GBK" converter is ICU's Windows code page 936 table: 0x80 is "€", 0xFF is U+F8F5 and the
// user-defined areas map into the private use area, as on Windows. ("GB2312" lacks most of the
// table and "GB18030" maps 0x80 differently, so neither may stand in for it.)
namespace {

const char kCodec[] = "GBK";

bool isLeadByte(uchar b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isTrailByte(uchar b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

// Width in bytes of the character starting at i: 2 for a lead byte with a valid trail byte.
int charWidth(const QByteArray& bytes, qsizetype i) {
    return (isLeadByte(uchar(bytes[i])) && i + 1 < bytes.size() && isTrailByte(uchar(bytes[i + 1]))) ? 2 : 1;
}

// True when the bytes end in a lead byte that has no trail byte.
bool endsInLoneLeadByte(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() - 1)
        i += charWidth(bytes, i);
    return i == bytes.size() - 1 && isLeadByte(uchar(bytes.back()));
}

[[noreturn]] void converterMissing() {
    throw RuntimeError(RuntimeError::InvalidProcedureCall, QStringLiteral("代码页 936 (GBK) 的转换不可用"));
}

}  // namespace

// One character at a time: the converter silently drops the characters Unicode calls ignorable
// (variation selectors, zero-width joiners, the byte order mark) where Windows writes "?".
QByteArray encode(const QString& text) {
    // Opening the converter costs more than converting a line: one per thread is kept (stateless,
    // so no call sees what an earlier one converted).
    thread_local QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        converterMissing();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        const QByteArray bytes = encoder.encode(QStringView(text).mid(i, len));
        out += bytes.isEmpty() ? QByteArray("?") : bytes;
        i += len;
    }
    return out;
}

// Bytes that do not form a character (a lead byte without a valid trail byte, an unmapped pair)
// become "?", the code page's default character; the byte after a bad lead byte is read again
// on its own, so a broken character never swallows a line end, "=" or "]".
QString decode(const QByteArray& bytes) {
    thread_local QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        converterMissing();
    QString text = decoder.decode(bytes);
    text.replace(QChar::ReplacementCharacter, QLatin1Char('?'));
    // The converter silently drops a lead byte at the very end.
    if (endsInLoneLeadByte(bytes))
        text.append(QLatin1Char('?'));
    return text;
}

QByteArray leftBytes(const QByteArray& bytes, qsizetype size) {
    if (bytes.size() <= size)
        return bytes;
    qsizetype i = 0;
    while (i < size && i + charWidth(bytes, i) <= size)
        i += charWidth(bytes, i);
    return bytes.left(i);
}

int Asc(const QString& ch) {
    if (ch.isEmpty())
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    // A surrogate pair is one character outside the code page ("?"), as is a lone surrogate.
    const qsizetype len = (ch.size() > 1 && ch.at(0).isHighSurrogate() && ch.at(1).isLowSurrogate()) ? 2 : 1;
    const QByteArray bytes = encode(ch.left(len));
    if (bytes.size() == 1)
        return uchar(bytes[0]);
    if (bytes.size() == 2)
        return qint16((uchar(bytes[0]) << 8) | uchar(bytes[1]));
    return '?';
}

// Single byte values give their character; like Asc's inverse, values outside 0..255 (down to
// -32768 and up to 65535) give the double-byte character lead*256+trail. A lone lead byte
// (0x81..0xFE) is no character of its own and gives "?".
QString Chr(int code) {
    if (code < -32768 || code > 65535)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    if (code >= 0 && code <= 255)
        return decode(QByteArray(1, char(code)));
    const auto value = quint16(code);
    QByteArray bytes;
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
    return decode(bytes);
}

}  // namespace ztgl::cp936
