#include "creation/SqlTypeName.h"

namespace ztgl {

QString GetSqlTypeName(int adoType) {
    switch (adoType) {
        case 0:
            return QStringLiteral("Empty");
        case 2:
            return QStringLiteral("SmallInt");
        case 3:
            return QStringLiteral("Integer");
        case 4:
            return QStringLiteral("Real");
        case 5:
            return QStringLiteral("Decimal");
        case 6:
            return QStringLiteral("Numeric");
        case 7:
            return QStringLiteral("Datetime");
        case 8:
            return QStringLiteral("BSTR");
        case 9:
            return QStringLiteral("IDispatch");
        case 10:
            return QStringLiteral("Error");
        case 11:
            return QStringLiteral("tinyint");
        case 12:
            return QStringLiteral("Variant");
        case 13:
            return QStringLiteral("adIUnknown");
        case 14:
            return QStringLiteral("Decimal");
        case 16:
            return QStringLiteral("TinyInt");
        case 17:
            return QStringLiteral("tinyint");
        case 18:
            return QStringLiteral("UnsignedSmallInt");
        case 19:
            return QStringLiteral("UnsignedInt");
        case 20:
            return QStringLiteral("BigInt");
        case 21:
            return QStringLiteral("UnsignedBigInt");
        case 72:
            return QStringLiteral("GUID");
        case 128:
            return QStringLiteral("Binary");
        case 129:
            return QStringLiteral("Char");
        case 130:
            return QStringLiteral("WChar");
        case 131:
            return QStringLiteral("Numeric");
        case 132:
            return QStringLiteral("UserDefined");
        case 133:
            return QStringLiteral("DBDate");
        case 134:
            return QStringLiteral("DBTime");
        case 135:
            return QStringLiteral("DBTimeStamp");
        case 200:
            return QStringLiteral("VarChar");
        case 201:
            return QStringLiteral("LongVarChar");
        case 202:
            return QStringLiteral("nvarchar");
        case 203:
            return QStringLiteral("ntext");
        case 204:
            return QStringLiteral("VarBinary");
        case 205:
            return QStringLiteral("LongVarBinary");
        case 8192:
            return QStringLiteral("Array");
        default:
            return QString();
    }
}

}  // namespace ztgl
