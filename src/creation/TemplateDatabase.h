#pragma once

#include <QString>

namespace ztgl {

// The empty template database beside the program, from which every new account set is made.
inline const QString kTemplateFileName = QStringLiteral("MWMSD_NULL.mdb");

// Connection string of the template; set by every CreateDataBase before anything else is
// decided, read by the schema copy. Keeps its value after the call.
extern QString gTemplateConnectString;

// The Jet connection string of `appPath` + "MWMSD_NULL.mdb", with an empty database password.
QString TemplateConnectString(const QString& appPath);

}  // namespace ztgl
