#pragma once

#include <QAbstractButton>
#include <QList>
#include <QObject>
#include <QPointer>

namespace ztgl::gui {

// Lays the head of a styled window out again whenever the window is resized or shown.
// One per window, a child of it; Set_Style installs it.
class HeadLayoutFilter : public QObject {
    Q_OBJECT
public:
    explicit HeadLayoutFilter(QWidget* form);
    void setButtons(const QList<QAbstractButton*>& buttons);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_form;
    QList<QPointer<QAbstractButton>> m_buttons;
};

}  // namespace ztgl::gui
