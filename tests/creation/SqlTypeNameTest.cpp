#include <gtest/gtest.h>

#include "creation/SqlTypeName.h"

namespace ztgl {
namespace {

// Every ADO type code the copy knows, and codes it does not (an empty name).
TEST(GetSqlTypeName, EveryCode) {
    const std::pair<int, const char*> cases[] = {
        // clang-format off
        {0, "Empty"}, {2, "SmallInt"}, {3, "Integer"}, {4, "Real"}, {5, "Decimal"}, {6, "Numeric"},
        {7, "Datetime"}, {8, "BSTR"}, {9, "IDispatch"}, {10, "Error"}, {11, "tinyint"}, {12, "Variant"},
        {13, "adIUnknown"}, {14, "Decimal"}, {16, "TinyInt"}, {17, "tinyint"}, {18, "UnsignedSmallInt"},
        {19, "UnsignedInt"}, {20, "BigInt"}, {21, "UnsignedBigInt"}, {72, "GUID"}, {128, "Binary"}, {129, "Char"},
        {130, "WChar"}, {131, "Numeric"}, {132, "UserDefined"}, {133, "DBDate"}, {134, "DBTime"},
        {135, "DBTimeStamp"}, {200, "VarChar"}, {201, "LongVarChar"}, {202, "nvarchar"}, {203, "ntext"},
        {204, "VarBinary"}, {205, "LongVarBinary"}, {8192, "Array"},
        {-1, ""}, {1, ""}, {15, ""}, {22, ""}, {64, ""}, {136, ""}, {206, ""}, {8193, ""}, {0x2000 | 202, ""},
        // clang-format on
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(GetSqlTypeName(code), QString::fromLatin1(name)) << code;
}

}  // namespace
}  // namespace ztgl
