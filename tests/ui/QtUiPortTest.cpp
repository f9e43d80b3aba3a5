// The Qt port: message boxes exactly as asked, modal windows by form name, the main window switch.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/QtUiPort.h"

using namespace ztgl;
using ztgl::gui::QtUiPort;

namespace {

// Runs `act` on the message box as soon as it is shown modally.
void whenBoxShows(std::function<void(QMessageBox&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        act(*box);
    });
    timer->start();
}

// Every kind of box: text, title, icon, buttons and default as asked, the pressed one answered.
TEST(QtUiPortTest, ShowsTextTitleIconButtonsAndReturnsThePressedOne) {
    using B = QMessageBox;
    const struct {
        MsgIcon icon;
        MsgButtons buttons;
        B::StandardButton press;
        B::Icon expectedIcon;
        B::StandardButtons expectedButtons;
        B::StandardButton expectedDefault;
        MsgAnswer expectedAnswer;
    } cases[] = {
        {MsgIcon::Information, MsgButtons::Ok, B::Ok, B::Information, B::Ok, B::Ok, MsgAnswer::Ok},
        {MsgIcon::Question, MsgButtons::Ok, B::Ok, B::Question, B::Ok, B::Ok, MsgAnswer::Ok},
        {MsgIcon::Exclamation, MsgButtons::Ok, B::Ok, B::Warning, B::Ok, B::Ok, MsgAnswer::Ok},
        {MsgIcon::Critical, MsgButtons::Ok, B::Ok, B::Critical, B::Ok, B::Ok, MsgAnswer::Ok},
        {MsgIcon::None, MsgButtons::Ok, B::Ok, B::NoIcon, B::Ok, B::Ok, MsgAnswer::Ok},
        {MsgIcon::Information, MsgButtons::YesNo, B::Yes, B::Information, B::Yes | B::No, B::Yes,
         MsgAnswer::Yes},
        {MsgIcon::Information, MsgButtons::YesNo, B::No, B::Information, B::Yes | B::No, B::Yes,
         MsgAnswer::No},
        {MsgIcon::Exclamation, MsgButtons::RetryCancel, B::Retry, B::Warning, B::Retry | B::Cancel, B::Retry,
         MsgAnswer::Retry},
        {MsgIcon::Exclamation, MsgButtons::RetryCancel, B::Cancel, B::Warning, B::Retry | B::Cancel, B::Retry,
         MsgAnswer::Cancel},
    };
    QtUiPort port;
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.press));
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        whenBoxShows([&, press = c.press](QMessageBox& box) {
            EXPECT_EQ(box.text(), QStringLiteral("已经成功创建新帐套！"));
            EXPECT_EQ(box.windowTitle(), QStringLiteral("提示信息"));
            icon = box.icon();
            buttons = box.standardButtons();
            defaultButton = box.standardButton(box.defaultButton());
            box.button(press)->click();
        });
        EXPECT_EQ(port.message(QStringLiteral("已经成功创建新帐套！"), QStringLiteral("提示信息"), c.icon,
                               c.buttons),
                  c.expectedAnswer);
        EXPECT_EQ(icon, c.expectedIcon);
        EXPECT_EQ(buttons, c.expectedButtons);
        EXPECT_EQ(defaultButton, c.expectedDefault);
    }
}

// Closing the box with its close box (or Esc) gives the answer that gives up, never Yes or Retry.
TEST(QtUiPortTest, ClosedBoxGivesUp) {
    QtUiPort port;
    const std::pair<MsgButtons, MsgAnswer> cases[] = {{MsgButtons::Ok, MsgAnswer::Ok},
                                                      {MsgButtons::YesNo, MsgAnswer::No},
                                                      {MsgButtons::RetryCancel, MsgAnswer::Cancel}};
    for (const auto& [buttons, expected] : cases) {
        whenBoxShows([](QMessageBox& box) { box.close(); });
        EXPECT_EQ(port.message(QStringLiteral("是否覆盖？"), QStringLiteral("提示信息"), MsgIcon::Information,
                               buttons),
                  expected);
    }
}

class NamedForm final : public ModalForm {
public:
    explicit NamedForm(QString name) : m_name(std::move(name)) {}
    QString formName() const override { return m_name; }

private:
    QString m_name;
};

QStringList* g_warnings = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && g_warnings)
        *g_warnings << text;
}

// Modal windows run by their exact form name over the active window; an unknown name is warned
// about and runs nothing.
TEST(QtUiPortTest, ShowModalRunsTheWindowRegisteredForTheFormName) {
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);
    QtUiPort port;
    QStringList runs;
    QWidget* parentSeen = nullptr;
    port.registerModal(QStringLiteral("frmCyXgmm"), [&](ModalForm& form, QWidget* parent) {
        runs << form.formName();
        parentSeen = parent;
    });
    port.registerModal(QStringLiteral("frmZTGLXZ"),
                       [&](ModalForm& form, QWidget*) { runs << form.formName() + "!"; });
    QStringList warnings;
    g_warnings = &warnings;
    const auto previous = qInstallMessageHandler(&collectWarnings);
    for (const char* name : {"frmZTGLXZ", "frmCyXgmm", "FRMCYXGMM"}) {
        NamedForm form{QString::fromLatin1(name)};
        port.showModal(form);
    }
    qInstallMessageHandler(previous);
    g_warnings = nullptr;
    EXPECT_EQ(runs, (QStringList{QStringLiteral("frmZTGLXZ!"), QStringLiteral("frmCyXgmm")}));
    EXPECT_EQ(parentSeen, &owner);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.front().contains(QStringLiteral("FRMCYXGMM")));
}

// Pending work runs on doEvents; the main window switch touches only the window of that name.
TEST(QtUiPortTest, DoEventsAndTheMainWindowSwitch) {
    QtUiPort port;
    bool ran = false;
    QObject receiver;
    QMetaObject::invokeMethod(
        &receiver, [&ran] { ran = true; }, Qt::QueuedConnection);
    EXPECT_FALSE(ran);
    port.doEvents();
    EXPECT_TRUE(ran);

    port.setMainWindowEnabled(false);  // no main window: nothing to do, nothing breaks
    auto main = std::make_unique<QWidget>();
    main->setObjectName(QStringLiteral("MDIfrmZTGL"));
    QWidget other;
    other.setObjectName(QStringLiteral("frmZTLogin"));
    port.setMainWindowEnabled(false);
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(other.isEnabled());
    port.setMainWindowEnabled(true);
    EXPECT_TRUE(main->isEnabled());
}

}  // namespace
