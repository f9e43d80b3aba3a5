#pragma once

#include <QString>

namespace ztgl {

// The stored form of a password text (ZTUsers.UserPwds, Users.PWD). Deterministic, never
// decoded: callers compare encoded values. Every character code is taken in code page 936, so
// existing databases keep matching. Callers pass lower(user) + password + lower(user).
// The character of code 128 is "€" (U+20AC), as code page 936 reads byte 0x80; it stands
// wherever a pair of digits gave 13. A run-time failure is reported ("Set_Mima():") and gives "".
QString Set_Mima(const QString& text);

}  // namespace ztgl
