#pragma once

namespace ado {

// ADO DataTypeEnum codes used by the program.
enum DataTypeEnum : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

enum ObjectStateEnum : int { adStateClosed = 0, adStateOpen = 1 };

// ADOX KeyTypeEnum.
enum KeyTypeEnum : int { adKeyPrimary = 1, adKeyForeign = 2, adKeyUnique = 3 };

}  // namespace ado
