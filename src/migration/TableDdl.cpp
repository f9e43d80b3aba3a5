#include "migration/TableDdl.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

#include "ado/DataType.h"
#include "ado/JetDate.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

using namespace ado;

QString bracketed(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString bracketedList(const QStringList& names) {
    QStringList out;
    for (const QString& n : names)
        out << bracketed(n);
    return QLatin1Char('(') + out.join(QStringLiteral(", ")) + QLatin1Char(')');
}

bool isCounter(const CatalogColumn& c) {
    return c.property(QStringLiteral("Autoincrement")).toBool();
}

QString typeName(const CatalogColumn& c) {
    switch (c.type) {
        case adVarWChar:
            return QStringLiteral("TEXT(%1)").arg(c.definedSize);
        case adWChar:
            return QStringLiteral("CHAR(%1)").arg(c.definedSize);
        case adLongVarWChar:
            return QStringLiteral("MEMO");
        case adInteger:
            return isCounter(c) ? QStringLiteral("COUNTER") : QStringLiteral("LONG");
        case adSmallInt:
            return QStringLiteral("SHORT");
        case adUnsignedTinyInt:
            return QStringLiteral("BYTE");
        case adBigInt:
            return QStringLiteral("BIGINT");
        case adSingle:
            return QStringLiteral("SINGLE");
        case adDouble:
            return QStringLiteral("DOUBLE");
        case adCurrency:
            return QStringLiteral("CURRENCY");
        case adDate:
            return QStringLiteral("DATETIME");
        case adBoolean:
            return QStringLiteral("BIT");
        case adGUID:
            return QStringLiteral("GUID");
        case adNumeric:
        case adDecimal:
            return QStringLiteral("DECIMAL");
        case adBinary:
            return QStringLiteral("BINARY(%1)").arg(c.definedSize);
        case adVarBinary:
            return QStringLiteral("VARBINARY(%1)").arg(c.definedSize);
        case adLongVarBinary:
            return QStringLiteral("LONGBINARY");
        default:
            throw RuntimeError(RuntimeError::TypeMismatch,
                               QStringLiteral("字段“%1”的类型（%2）无法转换。").arg(c.name).arg(c.type));
    }
}

QString defaultOf(const CatalogColumn& c) {
    return TableDdl::engineDefault(c.property(QStringLiteral("Default")).toString());
}

}  // namespace

QString TableDdl::engineDefault(const QString& jetDefault) {
    QString d = jetDefault.trimmed();
    if (d.startsWith(QLatin1Char('=')))
        d = d.mid(1).trimmed();
    for (const char* yes : {"Yes", "On", "True"})
        if (d.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
            return QStringLiteral("True");
    for (const char* no : {"No", "Off", "False"})
        if (d.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
            return QStringLiteral("False");
    return d;
}

QString TableDdl::create(const CatalogTable& t) {
    QStringList items;
    for (const CatalogColumn& c : t.columns) {
        QString item = bracketed(c.name) + QLatin1Char(' ') + typeName(c);
        if (!c.property(QStringLiteral("Nullable")).toBool() && c.hasProperty(QStringLiteral("Nullable")) &&
            !isCounter(c))
            item += QStringLiteral(" NOT NULL");
        const QString d = defaultOf(c);
        if (!d.isEmpty())
            item += QStringLiteral(" DEFAULT ") + d;
        items << item;
    }
    for (const CatalogKey& k : t.keys) {
        QString item = QStringLiteral("CONSTRAINT ") + bracketed(k.name);
        switch (k.type) {
            case adKeyPrimary:
                item += QStringLiteral(" PRIMARY KEY ") + bracketedList(k.columns);
                break;
            case adKeyUnique:
                item += QStringLiteral(" UNIQUE ") + bracketedList(k.columns);
                break;
            case adKeyForeign:
                item += QStringLiteral(" FOREIGN KEY ") + bracketedList(k.columns) +
                        QStringLiteral(" REFERENCES ") + bracketed(k.relatedTable);
                if (!k.relatedColumns.join(QString()).isEmpty())
                    item += QLatin1Char(' ') + bracketedList(k.relatedColumns);
                if (k.cascadeUpdate)
                    item += QStringLiteral(" ON UPDATE CASCADE");
                if (k.cascadeDelete)
                    item += QStringLiteral(" ON DELETE CASCADE");
                break;
            default:
                continue;
        }
        items << item;
    }
    return QStringLiteral("CREATE TABLE ") + bracketed(t.name) + QStringLiteral(" (") +
           items.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString TableDdl::insert(const CatalogTable& t, const QVector<QVariant>& row) {
    QStringList names, values;
    for (int i = 0; i < t.columns.size(); ++i) {
        names << bracketed(t.columns[i].name);
        values << literal(row.value(i));
    }
    return QStringLiteral("INSERT INTO ") + bracketed(t.name) + QStringLiteral(" (") +
           names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString TableDdl::literal(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    switch (v.typeId()) {
        case QMetaType::Bool:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return v.toString();
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d))
                throw RuntimeError(RuntimeError::Overflow, QStringLiteral("数值“%1”不是有限的数。").arg(d));
            return QString::number(d, 'g', QLocale::FloatingPointShortest);
        }
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            QString stored = JetDate::toStorage(dt);
            if (dt.time().msec() != 0)
                stored += dt.toString(QStringLiteral(".zzz"));
            return QLatin1Char('\'') + stored + QLatin1Char('\'');
        }
        case QMetaType::QByteArray:
            return QStringLiteral("X'") + QString::fromLatin1(v.toByteArray().toHex()) + QLatin1Char('\'');
        default: {
            QString s = v.toString();
            s.replace(QLatin1Char('\''), QStringLiteral("''"));
            return QLatin1Char('\'') + s + QLatin1Char('\'');
        }
    }
}

QStringList TableDdl::describe(const CatalogTable& t) {
    QStringList out;
    for (const CatalogColumn& c : t.columns)
        out << QStringLiteral("字段 %1：类型 %2，长度 %3，%4%5，默认值 %6")
                   .arg(c.name)
                   .arg(c.type)
                   .arg(c.definedSize)
                   .arg(c.property(QStringLiteral("Nullable")).toBool() ? QStringLiteral("可为空")
                                                                        : QStringLiteral("不可为空"))
                   .arg(isCounter(c) ? QStringLiteral("，自动编号") : QString())
                   .arg(defaultOf(c));
    for (const CatalogKey& k : t.keys)
        out << QStringLiteral("键 %1（类型 %2）：%3 → %4 %5 %6%7")
                   .arg(k.name)
                   .arg(k.type)
                   .arg(k.columns.join(QLatin1Char(',')), k.relatedTable,
                        k.relatedColumns.join(QLatin1Char(',')))
                   .arg(k.cascadeUpdate ? QStringLiteral("级联更新") : QString())
                   .arg(k.cascadeDelete ? QStringLiteral("级联删除") : QString());
    return out;
}

}  // namespace ztgl
