#pragma once

#include <QString>

namespace ztgl {

// The program's copy of one row of ZTUsers.
struct OperatorInfo {
    QString Id = QStringLiteral("-1");  // "-1" when no row was found
    QString UserName;
    QString UserPwds;  // encoded password; "" when the column is Null
};

}  // namespace ztgl
