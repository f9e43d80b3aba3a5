#include "operators/SetMima.h"

#include "platform/Codepage936.h"
#include "process/UiPort.h"

namespace ztgl {

namespace {

// Stage 1: for each character the length of its decimal code, then the two-digit ASCII code of
// every character of that code ("-" is 45); an odd count is padded with "1".
QString codeDigits(const QString& text) {
    QString digits;
    // One UTF-16 unit at a time: a character outside the basic plane is two units, each of which
    // the code page gives as "?".
    for (const QChar c : text) {
        const QString code = QString::number(cp936::Asc(QString(c)));
        digits += QString::number(code.size());
        for (const QChar t : code)
            digits += QString::number(t.unicode());
    }
    if (digits.size() % 2 != 0)
        digits += QLatin1Char('1');
    return digits;
}

}  // namespace

QString Set_Mima(const QString& text) {
    try {
        const QString digits = codeDigits(text);
        // Stage 2: every pair of digits is one character code 0..99; the carriage return (13)
        // is stored as the character of code 128 instead.
        QString result;
        for (qsizetype i = 0; i < digits.size(); i += 2) {
            const int code = digits.mid(i, 2).toInt();
            result += cp936::Chr(code == 13 ? 128 : code);
        }
        return result;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Set_Mima():"), e);
        return QString();
    }
}

}  // namespace ztgl
