#pragma once

#include <QString>

namespace ztgl {

// Folder of the running program with exactly one trailing native separator
// (a root folder already ends in one).
QString ProgramFolder();

// The same rule for any folder text.
QString WithTrailingSeparator(const QString& folder);

}  // namespace ztgl
