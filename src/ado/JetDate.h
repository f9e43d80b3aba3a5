#pragma once

#include <QDateTime>
#include <QString>

namespace ado {

// Dates in the embedded engine. A date-time is stored as text "yyyy-MM-dd HH:mm:ss" so that text order is
// date order; a time of day alone lies on day zero (1899-12-30), as Jet counts it.
class JetDate {
public:
    static QString toStorage(const QDateTime& value);
    // Reads a stored date: "yyyy-MM-dd", "yyyy-MM-dd HH:mm[:ss[.zzz]]" (also with "T" or "/"), or a time
    // alone. Invalid when the text is not a date.
    static QDateTime fromStorage(const QString& text);
    // Reads the inside of a #…# literal as Jet does: the stored forms, "yyyy-MM" (first of the month),
    // the U.S. form "M/d/yyyy", and times with AM/PM. Invalid when the text is not a date.
    static QDateTime fromLiteral(const QString& text);
    // An OLE date number (days since day zero, the fraction being the time of day).
    static QDateTime fromOleDate(double days);
    static QDate dayZero() { return QDate(1899, 12, 30); }
};

}  // namespace ado
