#pragma once

#include <QString>

namespace ztgl {

// SQL Server type name for an ADO DataTypeEnum code, as the schema copy writes it into
// CREATE TABLE; an empty text for a code it does not know. Double becomes "Decimal" and
// Currency "Numeric" without precision or scale: the server applies its own defaults.
QString GetSqlTypeName(int adoType);

}  // namespace ztgl
