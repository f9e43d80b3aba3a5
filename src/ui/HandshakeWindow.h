#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <QVector>

#include "session/HandshakeForm.h"

class QLabel;

namespace ztgl::gui {

class ShapeWidget;

// The two handshake windows, w_PreLogin and w_CheckUser, over their rules: the white frame,
// bitmap 103, the title line, the status text and the animation on the 100 ms timer. The window
// receives its keys itself (it has no input fields), its mouse buttons and its close button, and
// hands them to the rules. Esc does nothing (the window passes every key to the rules): only the
// close button closes it.
class HandshakeWindow : public QDialog, private HandshakeForm::View {
    Q_OBJECT
public:
    HandshakeWindow(HandshakeForm& form, QWidget* parent = nullptr);
    ~HandshakeWindow() override;

    // Bitmap 103 and the animation frames 1 to 11 (0: none), as shipped with the program.
    static QPixmap bitmap103();
    static QPixmap frame(int number);

    QLabel* Label1() const { return m_status; }
    QLabel* Label2() const { return m_title; }
    QLabel* Image1() const { return m_animation; }
    QLabel* Image2() const { return m_picture; }
    ShapeWidget* Shape1() const { return m_frame; }
    QTimer* Timer1() { return &m_timer; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void activated();

    // HandshakeForm::View
    void showFrame(int frame) override;
    void unload() override;

    HandshakeForm& m_form;
    ShapeWidget* m_frame;
    QLabel* m_picture;
    QLabel* m_title;
    QLabel* m_status;
    QLabel* m_animation;
    QTimer m_timer;
    bool m_activating = false;
};

}  // namespace ztgl::gui
