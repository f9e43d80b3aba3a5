#pragma once

#include <QByteArray>
#include <QString>

namespace ztgl::cp936 {

// Text in the Simplified Chinese ANSI code page 936 (GBK), as Windows converts it:
// byte 0x80 is "€"; a character the code page cannot hold becomes "?", and so do bytes that
// form no character when decoding.
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// The first bytes of `bytes`, at most `size`, without cutting a double-byte character in two:
// one that does not fit whole is left out.
QByteArray leftBytes(const QByteArray& bytes, qsizetype size);

// Character code of the first character as Windows' Asc gives it: one-byte characters their
// byte value, two-byte characters lead*256+trail read as a signed 16-bit number ("中" → -10544).
// An empty text is an error (RuntimeError 5).
int Asc(const QString& ch);

// The character for a single byte value 0..255 (Chr); 128 gives "€". Other values from -32768
// to 65535 give the double-byte character of that code (Chr(-10544) is "中"); beyond that an
// error (RuntimeError 5).
QString Chr(int code);

}  // namespace ztgl::cp936
