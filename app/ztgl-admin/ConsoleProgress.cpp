#include "ConsoleProgress.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define ZTGL_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define ZTGL_ISATTY(fd) isatty(fd)
#endif

namespace ztgl::admin {

using PW = ProgressWindow;

ConsoleProgress::ConsoleProgress(QTextStream& err) : m_err(err) {
    m_clock.start();
}

ConsoleProgress::~ConsoleProgress() {
    if (m_width > 0)
        m_err << '\r' << QString(m_width, QLatin1Char(' ')) << '\r' << Qt::flush;
}

void ConsoleProgress::progressChanged(const PW& w) {
    const QString step = w.caption(PW::Label1);
    if (step == m_step && m_clock.elapsed() < 100)
        return;
    m_step = step;
    m_clock.restart();
    QString line = step;
    if (w.isVisible(PW::ProgressBar1))
        line += QStringLiteral(" [%1/%2]").arg(w.value(PW::ProgressBar1)).arg(w.max(PW::ProgressBar1));
    if (w.isVisible(PW::Label2))
        line += QStringLiteral(" ") + w.caption(PW::Label2);
    if (w.isVisible(PW::ProgressBar2))
        line += QStringLiteral(" [%1/%2]").arg(w.value(PW::ProgressBar2)).arg(w.max(PW::ProgressBar2));
    // Chinese characters take two columns on a terminal.
    int width = 0;
    for (const QChar c : line)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    m_err << '\r' << line;
    if (width < m_width)
        m_err << QString(m_width - width, QLatin1Char(' '));
    m_err << Qt::flush;
    m_width = std::max(width, m_width);
}

void ConsoleProgress::showOnTerminal(ProgressWindow& window, QTextStream& err) {
    if (!ZTGL_ISATTY(fileno(stderr)))
        return;
    window.setViewFactory(
        [&err](PW&) -> std::unique_ptr<PW::View> { return std::make_unique<ConsoleProgress>(err); });
}

}  // namespace ztgl::admin
