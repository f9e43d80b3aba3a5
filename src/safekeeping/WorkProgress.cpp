#include "safekeeping/WorkProgress.h"

#include <algorithm>

#include "process/UiPort.h"

namespace ztgl {

using PW = ProgressWindow;

void WorkProgress::step(const QString& text) {
    m_window.setCaption(PW::Label1, text);
    m_window.setValue(PW::ProgressBar1, 0);
    m_window.setVisible(PW::ProgressBar1, true);
    m_percent = 0;
    ui().doEvents();
}

void WorkProgress::progress(qint64 done, qint64 total) {
    const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : 100;
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_window.setValue(PW::ProgressBar1, percent);
    ui().doEvents();
}

}  // namespace ztgl
