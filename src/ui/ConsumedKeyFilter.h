#pragma once

#include <QObject>
#include <QSet>

namespace ztgl::gui {

// Keeps the keys a message box consumed from the window behind it. While the box is up it notes
// every key pressed; once the box has closed it swallows the releases of the keys still held, so
// that the Esc which dismissed the box never arrives as a release at the window behind (which
// would close a dialog that acts on the release). It removes itself when the last such key is
// up, or when one is pressed again (its release was then lost elsewhere).
class ConsumedKeyFilter : public QObject {
    Q_OBJECT
public:
    // Watches the application's keys from now on.
    ConsumedKeyFilter();
    ~ConsumedKeyFilter() override;

    // The box has closed: from now on the releases of the held keys are swallowed. The filter
    // deletes itself once nothing is held.
    void boxClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishWhenNothingHeld();

    QSet<int> m_held;
    bool m_boxClosed = false;
};

}  // namespace ztgl::gui
