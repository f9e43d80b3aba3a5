#pragma once

#include <QString>

#include "platform/RuntimeError.h"

namespace ado {

// The errors of the embedded engine, with the numbers Jet gives them and texts in the program's language.
class JetError {
public:
    // The error for a failed call of the engine: its extended result code and message, the statement that
    // failed ("" when none) and the database file.
    static ztgl::RuntimeError fromEngine(int code, const QString& message, const QString& sql,
                                         const QString& file);
    // How a function of the engine hands its error through the engine's message, for fromEngine to read back.
    static QString encodeForEngine(const ztgl::RuntimeError& e);

    static ztgl::RuntimeError fileNotFound(const QString& file);        // 3024
    static ztgl::RuntimeError unrecognisedFormat(const QString& file);  // 3343
    static ztgl::RuntimeError aceFormat(const QString& file);           // 3343, Access 2007 and later
    // Files in Jet's own format, which the program only reads:
    static ztgl::RuntimeError jetFileReadOnly(
        const QString& file);  // 3027, any statement but reading a table
    static ztgl::RuntimeError jetFileAsManager(const QString& file);  // 3027, as the manager's database
    static ztgl::RuntimeError jetFileDamaged(const QString& file, const QString& detail);  // 3049
    static ztgl::RuntimeError badPassword(const QString& file);                            // 3031
    static ztgl::RuntimeError jetReaderMissing(const QString& program);                    // 3706
    static ztgl::RuntimeError tableNotFound(const QString& table);                         // 3078
    static ztgl::RuntimeError cannotOpen(const QString& file);          // 3051
    static ztgl::RuntimeError inUse(const QString& file);               // 3045
    static ztgl::RuntimeError locked(const QString& file);              // 3050
    static ztgl::RuntimeError invalidPath(const QString& file);         // 3044
    static ztgl::RuntimeError alreadyExists(const QString& file);       // 3204
    static ztgl::RuntimeError badDate(const QString& literal);          // 3075
    static ztgl::RuntimeError typeMismatch();                           // 3464
    static ztgl::RuntimeError overflow();                               // 6
    static ztgl::RuntimeError noTransaction();                          // 3034
    static ztgl::RuntimeError charactersAfterEnd();                     // 3142
    static ztgl::RuntimeError emptyStatement();                         // 3129
    static ztgl::RuntimeError syntax(const QString& detail);            // -2147217900

    enum : int { SyntaxError = -2147217900, ParameterMissing = -2147217904 };
};

}  // namespace ado
