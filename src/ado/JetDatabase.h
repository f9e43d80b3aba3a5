#pragma once

#include <QString>

namespace ado {

// Creates a new, empty database file for the embedded engine (what a new .MDB is on Windows), ready for
// Jet-dialect DDL through an ado::Connection. Throws ztgl::RuntimeError 3204 when the file exists, 3044
// when its folder does not, and the engine's error when it cannot be written.
void CreateJetDatabase(const QString& file);

}  // namespace ado
