#pragma once

#include <QStringList>

#include "RecordingUiPort.h"

namespace ztgl::test {

// A message box as one comparable line, "text|title|icon|buttons", so that a test can compare
// every message it expects, in order, in one assertion.
inline QString msgLine(const QString& text, MsgIcon icon = MsgIcon::Information,
                       const QString& title = QStringLiteral("提示信息"),
                       MsgButtons buttons = MsgButtons::Ok) {
    static const char* const icons[] = {"None", "Information", "Question", "Exclamation", "Critical"};
    static const char* const buttonSets[] = {"Ok", "YesNo", "RetryCancel"};
    return QStringLiteral("%1|%2|%3|%4")
        .arg(text, title, QLatin1String(icons[int(icon)]), QLatin1String(buttonSets[int(buttons)]));
}

// Every message the port has shown, as lines.
inline QStringList shownLines(const RecordingUiPort& port) {
    QStringList lines;
    for (const ShownMessage& m : port.messages)
        lines << msgLine(m.text, m.icon, m.title, m.buttons);
    return lines;
}

}  // namespace ztgl::test
