#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include "creation/ProgressWindow.h"

namespace ztgl::admin {

// The progress window as one line on a terminal, rewritten in place (at most ten times a
// second, and whenever the step of Label1 changes).
class ConsoleProgress final : public ProgressWindow::View {
public:
    explicit ConsoleProgress(QTextStream& err);
    ~ConsoleProgress() override;

    void progressChanged(const ProgressWindow& w) override;
    void repaintNow() override {}

    // Shows `window` this way whenever it is loaded, when stderr is a terminal.
    static void showOnTerminal(ProgressWindow& window, QTextStream& err);

private:
    QTextStream& m_err;
    QElapsedTimer m_clock;
    QString m_step;
    int m_width = 0;
};

}  // namespace ztgl::admin
