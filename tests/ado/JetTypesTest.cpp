#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDateTime>

#include "ado/DataType.h"
#include "ado/JetTypes.h"

using ado::JetTypes;

TEST(JetTypes, DeclaredJetTypesGiveAdoCodes) {
    const struct {
        const char* declared;
        int type;
        qint64 size;
        bool autoIncrement;
    } cases[] = {
        {"TEXT(10)", ado::adVarWChar, 10, false},
        {"text (50)", ado::adVarWChar, 50, false},
        {"VARCHAR(255)", ado::adVarWChar, 255, false},
        {"TEXT", ado::adVarWChar, 255, false},
        {"CHAR(4)", ado::adWChar, 4, false},
        {"MEMO", ado::adLongVarWChar, 536870910, false},
        {"MEMO TEXT", ado::adLongVarWChar, 536870910, false},
        {"LONGTEXT", ado::adLongVarWChar, 536870910, false},
        {"LONG", ado::adInteger, 4, false},
        {"INTEGER", ado::adInteger, 4, false},
        {"SHORT", ado::adSmallInt, 2, false},
        {"SMALLINT", ado::adSmallInt, 2, false},
        {"BYTE", ado::adUnsignedTinyInt, 1, false},
        {"SINGLE", ado::adSingle, 4, false},
        {"REAL", ado::adSingle, 4, false},
        {"DOUBLE", ado::adDouble, 8, false},
        {"FLOAT", ado::adDouble, 8, false},
        {"CURRENCY", ado::adCurrency, 8, false},
        {"MONEY", ado::adCurrency, 8, false},
        {"DATETIME", ado::adDate, 8, false},
        {"DATE", ado::adDate, 8, false},
        {"BIT", ado::adBoolean, 2, false},
        {"YESNO", ado::adBoolean, 2, false},
        {"GUID", ado::adGUID, 16, false},
        {"DECIMAL(18,4)", ado::adNumeric, 16, false},
        {"NUMERIC", ado::adNumeric, 16, false},
        {"LONGBINARY", ado::adLongVarBinary, 1073741823, false},
        {"OLEOBJECT", ado::adLongVarBinary, 1073741823, false},
        {"COUNTER", ado::adInteger, 4, true},
        {"AUTOINCREMENT", ado::adInteger, 4, true},
        {"AUTOINCREMENT(100, 5)", ado::adInteger, 4, true},
        // Names Jet does not know follow the engine's affinity rules.
        {"MEDIUMINT", ado::adInteger, 4, false},
        {"NATIVE CHARACTER(70)", ado::adVarWChar, 255, false},
        {"CLOB", ado::adVarWChar, 255, false},
        {"WHATEVER", ado::adDouble, 8, false},
        {"", 0, 0, false},
    };
    for (const auto& c : cases) {
        const ado::JetColumnType t = JetTypes::fromDeclared(QString::fromUtf8(c.declared));
        EXPECT_EQ(t.type, c.type) << c.declared;
        EXPECT_EQ(t.definedSize, c.size) << c.declared;
        EXPECT_EQ(t.autoIncrement, c.autoIncrement) << c.declared;
    }
}

TEST(JetTypes, ExpressionColumnsAreTypedByTheirValue) {
    EXPECT_EQ(JetTypes::fromValue(qlonglong(10)).type, ado::adInteger);
    EXPECT_EQ(JetTypes::fromValue(qlonglong(1) << 40).type, ado::adBigInt);
    EXPECT_EQ(JetTypes::fromValue(1.5).type, ado::adDouble);
    EXPECT_EQ(JetTypes::fromValue(QStringLiteral("2024-03-05 14:07:09")).type, ado::adDate);
    // Only the full stored form counts as a date: a plain text that looks like a day stays text.
    EXPECT_EQ(JetTypes::fromValue(QStringLiteral("2024-03-05")).type, ado::adVarWChar);
    EXPECT_EQ(JetTypes::fromValue(QStringLiteral("2024-13-45 99:00:00")).type, ado::adVarWChar);
    EXPECT_EQ(JetTypes::fromValue(QStringLiteral("abc")).definedSize, 255);
    EXPECT_EQ(JetTypes::fromValue(QByteArray("x")).type, ado::adLongVarBinary);
    EXPECT_EQ(JetTypes::fromValue(QVariant()).type, ado::adVarWChar);
}

TEST(JetTypes, StoredValuesComeBackTyped) {
    const QDateTime dt(QDate(2024, 3, 5), QTime(14, 7, 9));
    const struct {
        int type;
        QVariant stored;
        QVariant field;
    } cases[] = {
        {ado::adInteger, qlonglong(5), 5},
        {ado::adInteger, QStringLiteral(" 12"), 12},
        {ado::adBigInt, qlonglong(1) << 40, qlonglong(1) << 40},
        {ado::adInteger, 3.0, 3},
        {ado::adInteger, QStringLiteral("abc"), QStringLiteral("abc")},  // kept as stored
        {ado::adSmallInt, qlonglong(-2), -2},
        {ado::adDouble, qlonglong(2), 2.0},
        {ado::adCurrency, QStringLiteral("1.25"), 1.25},
        {ado::adDate, QStringLiteral("2024-03-05 14:07:09"), dt},
        {ado::adDate, QStringLiteral("2024-03-05"), QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {ado::adDate, QStringLiteral("2024-03-05T14:07:09"), dt},
        {ado::adDate, QStringLiteral("14:07:09"), QDateTime(QDate(1899, 12, 30), QTime(14, 7, 9))},
        {ado::adDate, 45356.5, QDateTime(QDate(2024, 3, 5), QTime(12, 0))},
        {ado::adDate, -1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
        {ado::adDate, QStringLiteral("not a date"), QStringLiteral("not a date")},
        {ado::adBoolean, qlonglong(1), true},
        {ado::adBoolean, qlonglong(-1), true},
        {ado::adBoolean, qlonglong(0), false},
        {ado::adBoolean, QStringLiteral("True"), true},
        {ado::adBoolean, QStringLiteral("0"), false},
        {ado::adVarWChar, qlonglong(7), QStringLiteral("7")},
        {ado::adVarWChar, QStringLiteral("中文"), QStringLiteral("中文")},
        {ado::adLongVarWChar, 1.5, QStringLiteral("1.5")},
        {ado::adLongVarBinary, QByteArray("\x01\x02"), QByteArray("\x01\x02")},
    };
    for (const auto& c : cases) {
        const QVariant v = JetTypes::toFieldValue(c.type, c.stored);
        EXPECT_EQ(v.typeId(), c.field.typeId()) << c.type << " " << c.stored.toString().toStdString();
        EXPECT_EQ(v, c.field) << c.type << " " << c.stored.toString().toStdString();
    }
    EXPECT_FALSE(JetTypes::toFieldValue(ado::adInteger, QVariant()).isValid());
    EXPECT_FALSE(JetTypes::toFieldValue(ado::adDate, QVariant()).isValid());
}
