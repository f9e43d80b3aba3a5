#include "creation/ProgressWindow.h"

#include <algorithm>

namespace ztgl {

ProgressWindow::ProgressWindow() = default;

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::Show() {
    // Form_Load: every run starts from the same state, whatever the last one left.
    m_bars[0] = Bar();
    m_bars[1] = Bar();
    for (auto& c : m_caption)
        c.clear();
    m_label2Visible = false;
    m_loaded = true;
    m_view.reset();
    if (m_factory)
        m_view = m_factory(*this);
    changed();
}

void ProgressWindow::Refresh() {
    if (m_view)
        m_view->repaintNow();
}

void ProgressWindow::Unload() {
    m_loaded = false;
    m_view.reset();
}

void ProgressWindow::setCaption(Part label, const QString& text) {
    if (label > Label3)
        return;
    m_caption[label] = text;
    changed();
}

QString ProgressWindow::caption(Part label) const {
    return label <= Label3 ? m_caption[label] : QString();
}

void ProgressWindow::setVisible(Part part, bool visible) {
    if (part == Label2)
        m_label2Visible = visible;
    else if (part == ProgressBar1 || part == ProgressBar2)
        bar(part).visible = visible;
    else
        return;
    changed();
}

bool ProgressWindow::isVisible(Part part) const {
    if (!m_loaded)
        return false;
    if (part == Label2)
        return m_label2Visible;
    if (part == ProgressBar1 || part == ProgressBar2)
        return bar(part).visible;
    return true;
}

void ProgressWindow::setMax(Part part, int max) {
    bar(part).max = max;
    changed();
}

void ProgressWindow::setMin(Part part, int min) {
    bar(part).min = min;
    changed();
}

void ProgressWindow::setValue(Part part, int value) {
    bar(part).value = value;
    changed();
}

int ProgressWindow::max(Part part) const {
    return bar(part).max;
}

int ProgressWindow::min(Part part) const {
    return bar(part).min;
}

int ProgressWindow::value(Part part) const {
    const Bar& b = bar(part);
    return std::max(b.min, std::min(b.value, b.max));
}

ProgressWindow::Bar& ProgressWindow::bar(Part part) {
    return m_bars[part == ProgressBar2 ? 1 : 0];
}

const ProgressWindow::Bar& ProgressWindow::bar(Part part) const {
    return m_bars[part == ProgressBar2 ? 1 : 0];
}

void ProgressWindow::changed() {
    if (m_view)
        m_view->progressChanged(*this);
}

}  // namespace ztgl
