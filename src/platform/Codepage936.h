#pragma once

#include <QByteArray>
#include <QString>

namespace ztgl::cp936 {

// Text in the Simplified Chinese ANSI code page 936 (GBK), as Windows converts it:
// byte 0x80 is "€"; a character the code page cannot hold becomes "?".
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// Character code of the first character as Windows' Asc gives it: one-byte characters their
// byte value, two-byte characters lead*256+trail read as a signed 16-bit number ("中" → -10544).
// An empty text is an error (RuntimeError 5).
int Asc(const QString& ch);

// The character for a single byte value 0..255 (Chr); 128 gives "€".
QString Chr(int code);

}  // namespace ztgl::cp936
