#pragma once

#include <QString>

namespace ztgl {

// The name of the system account the program runs under ("" when the system does not tell).
QString SystemAccountName();

}  // namespace ztgl
