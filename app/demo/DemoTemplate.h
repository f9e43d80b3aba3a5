#pragma once

#include <QString>

namespace ztgl {

// Writes the demo template database MWMSD_NULL.mdb (embedded engine) at `file`, which must not
// exist yet. Returns false and sets `error` on failure.
bool WriteDemoTemplate(const QString& file, QString* error);

}  // namespace ztgl
