#pragma once

#include <QWidget>

#include "creation/ProgressWindow.h"

class QLabel;
class QProgressBar;

namespace ztgl::gui {

// frmProgressBar: the borderless window in the centre of the screen that shows a
// ProgressWindow while a new account set is made. It only displays; it never takes input.
class FrmProgressBar : public QWidget, public ProgressWindow::View {
    Q_OBJECT
public:
    explicit FrmProgressBar(ProgressWindow& window);
    ~FrmProgressBar() override;

    void progressChanged(const ProgressWindow& window) override;
    void repaintNow() override;

    // The factory that ProgressWindow::setViewFactory takes: a new window for every load.
    static ProgressWindow::ViewFactory factory();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_label[3];
    QProgressBar* m_bar[2];
};

}  // namespace ztgl::gui
