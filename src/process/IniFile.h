#pragma once

#include <QString>

namespace ztgl {

// INI access as Windows' profile functions do it, in code page 936: section and key names
// without regard to case, first match wins, values trimmed, a value wrapped in matching quotes
// comes back without them, comments and unknown lines kept on write, CRLF kept.

// Value of key in section of file, "" when the file, section or key is missing; at most 255
// bytes of the value (a longer value is cut; a double-byte character that does not fit whole is
// left out); blanks trimmed and NULs removed. The file rules are IniDocument's. A file that
// exists but cannot be read (a folder, no permission) reads as missing: "" and no message.
// Other errors: message with the standard error text, title "提示", information icon; returns "".
QString Read_Ini(const QString& section, const QString& key, const QString& file);

// Writes the value unchanged, creating file, section or key when missing. The new file is
// written beside the old one and renamed over it, so a failed write leaves the old file whole.
// Errors, an unreadable file included: message as for Read_Ini; nothing written.
void Write_Ini(const QString& section, const QString& key, const QString& value, const QString& file);

}  // namespace ztgl
