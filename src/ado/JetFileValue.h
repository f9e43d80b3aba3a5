#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include "ado/JetFileWire.h"

namespace ado {

// The values of a Jet file, from the bytes the reader of Jet files hands over, typed as the engine types
// its fields: bool, int (byte, integer, long), double (single, double, currency, decimal), QDateTime,
// QString (text, memo, GUID) and QByteArray (binary, OLE object). Null stays an invalid QVariant.
class JetFileValue {
public:
    // Throws ztgl::RuntimeError 3049 (with `file`) when the bytes cannot be such a value.
    static QVariant decode(const JetFileColumn& column, const QByteArray& raw, const JetFileHeader& header,
                           const QString& file);
    // Text as Jet keeps it. Jet 4: UTF-16, or, after the mark FF FE, "compressed": one byte per character
    // below 256, a zero byte switching between one and two bytes per character. Jet 3: the database's code
    // page (936 read as Windows reads it; 0 counts as 1252).
    static QString text(const QByteArray& raw, const JetFileHeader& header);
    // The database password the header holds; "" when it has none.
    static QString password(const JetFileHeader& header);
};

}  // namespace ado
