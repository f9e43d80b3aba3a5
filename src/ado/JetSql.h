#pragma once

#include <QString>

namespace ado {

// The parts of Jet's SQL that the embedded engine reads differently, rewritten before it sees a statement.
class JetSql {
public:
    // - a date literal #…# becomes the stored text of that date, '2024-03-05 14:07:09' (a date alone gets
    //   the time 00:00:00, "yyyy-MM" the first of the month, a time alone day zero), so that it compares
    //   with stored dates;
    // - text in double quotes, which Jet reads as text, becomes text in single quotes;
    // - Jet's "&" joins texts: it becomes "||".
    // Nothing inside quotes or [names] changes. Throws ztgl::RuntimeError 3075 for a date literal that
    // is not a date or is not closed.
    static QString rewrite(const QString& sql);
};

}  // namespace ado
