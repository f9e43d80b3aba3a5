#include "creation/TemplateDatabase.h"

namespace ztgl {

QString gTemplateConnectString;

QString TemplateConnectString(const QString& appPath) {
    QString cs = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=MWMSD_NULL.mdb;"
        "Mode=Read|Write;Jet OLEDB:Database Password=;");
    return cs.replace(kTemplateFileName, appPath + kTemplateFileName);
}

}  // namespace ztgl
