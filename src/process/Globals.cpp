#include "process/Globals.h"


namespace ztgl {

QString gAppPath;
QString gIniFile;
bool gIsNetwork = false;
QString gServerIP = FixedText(QString(), 20);
QString gServerPort = FixedText(QString(), 5);
bool gPreLoginOK = false;
QString gConnectString;
QString gDBType;
QString gManagerDBName;
QString gTitle;
QString gAppTitle;
OperatorInfo gOperator;

QString FixedText(const QString& value, int width) {
    return value.left(width).leftJustified(width, QLatin1Char(' '));
}

void ResetProcessValues() {
    gAppPath.clear();
    gIniFile.clear();
    gIsNetwork = false;
    gServerIP = FixedText(QString(), 20);
    gServerPort = FixedText(QString(), 5);
    gPreLoginOK = false;
    gConnectString.clear();
    gDBType.clear();
    gManagerDBName.clear();
    gTitle.clear();
    gAppTitle.clear();
    gOperator = OperatorInfo();
}

}  // namespace ztgl
