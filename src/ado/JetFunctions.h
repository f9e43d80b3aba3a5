#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;

namespace ado {

// The Jet functions a statement of the program may use, as functions of the embedded engine:
// clng, cint, cdbl, cstr, now, date, ucase, lcase, len, iif, nz, and LIKE (see JetLike). The engine's
// own trim already trims blanks as Jet's does. Functions belong to one open connection: register them
// after every open.
//
// The rules are plain functions on stored values (null, qlonglong, double, QString, QByteArray) so that
// they can be tested without a database; they throw ztgl::RuntimeError as Jet fails: 3464 for a value
// that is not a number, 6 for an overflow.
class JetFunctions {
public:
    static void registerAll(sqlite3* db);  // throws ztgl::RuntimeError when the engine refuses

    // VB rounding: halves go to the even neighbour (2.5 → 2, 3.5 → 4, -2.5 → -2).
    static double roundHalfEven(double value);
    // A stored value as a number; text is read as VB reads it ("  12 ", "1,234.5", "1e3", "&H1F",
    // "True"). Throws 3464 for anything else, text that is empty included.
    static double toNumber(const QVariant& value);

    static QVariant clng(const QVariant& value);  // Null stays Null; range of a 32-bit integer
    static QVariant cint(const QVariant& value);  // range of a 16-bit integer
    static QVariant cdbl(const QVariant& value);
    static QVariant cstr(const QVariant& value);
    static QVariant ucase(const QVariant& value);
    static QVariant lcase(const QVariant& value);
    static QVariant len(const QVariant& value);  // characters of the text form
    // The condition is true when it is a number other than 0; Null counts as false.
    static QVariant iif(const QVariant& condition, const QVariant& whenTrue, const QVariant& whenFalse);
    static QVariant nz(const QVariant& value, const QVariant& whenNull);
    // The local clock as stored dates: "yyyy-MM-dd HH:mm:ss"; date() at midnight.
    static QString now();
    static QString date();
};

}  // namespace ado
