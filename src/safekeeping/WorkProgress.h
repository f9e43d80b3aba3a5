#pragma once

#include <QString>

#include "creation/ProgressWindow.h"

namespace ztgl {

// The progress window during a backup, restore or retirement: the step in Label1, its progress in
// ProgressBar1 as a percentage. Pending window messages run at every change, so the window
// repaints (the main window is unavailable meanwhile).
class WorkProgress {
public:
    explicit WorkProgress(ProgressWindow& window) : m_window(window) {}

    ProgressWindow& window() { return m_window; }
    // A new step: its text, the bar at 0.
    void step(const QString& text);
    // How far the step is.
    void progress(qint64 done, qint64 total);

private:
    ProgressWindow& m_window;
    int m_percent = -1;
};

}  // namespace ztgl
