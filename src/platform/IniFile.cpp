// Placeholder until the INI access lands.
#include "platform/IniFile.h"
namespace ztgl {
QString Read_Ini(const QString&, const QString&, const QString&) { return QString(); }
void Write_Ini(const QString&, const QString&, const QString&, const QString&) {}
}  // namespace ztgl
