#pragma once

#include <QWidget>

namespace ztgl::gui {

// The account-set list window, a child of the main window.
class FrmZTGL : public QWidget {
    Q_OBJECT
public:
    explicit FrmZTGL(QWidget* parent = nullptr);
};

}  // namespace ztgl::gui
