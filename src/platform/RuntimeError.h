#pragma once

#include <QString>
#include <stdexcept>

namespace ztgl {

// A run-time error as the procedures trap it: a number and the standard text for it.
// Every "label + standard error text" message is built from description().
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description);
    explicit RuntimeError(int number);  // description = standardText(number)

    int number() const { return m_number; }
    const QString& description() const { return m_description; }

    // Standard Chinese texts of the common run-time error numbers.
    static QString standardText(int number);

    // Numbers used across the program.
    enum : int {
        InvalidProcedureCall = 5,   // 无效的过程调用或参数
        Overflow = 6,
        TypeMismatch = 13,
        FileNotFound = 53,
        PermissionDenied = 70,
        PathFileAccess = 75,
        PathNotFound = 76,
        ObjectNotSet = 91,
        // ADO / OLE DB failures (E_FAIL as a signed 32-bit number).
        DatabaseError = -2147467259,
    };

private:
    int m_number;
    QString m_description;
};

// Text of any exception for an error message: the description of a RuntimeError, what() otherwise.
QString errorText(const std::exception& e);

}  // namespace ztgl
