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

struct SeenBox {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows one box through the port, notes what it looked like and presses `press`.
MsgAnswer showAndPress(QtUiPort& port, MsgIcon icon, MsgButtons buttons, QMessageBox::StandardButton press,
                       SeenBox& seen) {
    whenBoxShows([&seen, press](QMessageBox& box) {
        seen.text = box.text();
        seen.title = box.windowTitle();
        seen.icon = box.icon();
        seen.buttons = box.standardButtons();
        seen.defaultButton = box.standardButton(box.defaultButton());
        box.button(press)->click();
    });
    return port.message(QStringLiteral("已经成功创建新帐套！"), QStringLiteral("提示信息"), icon, buttons);
}

struct BoxCase {
    MsgIcon icon;
    MsgButtons buttons;
    QMessageBox::StandardButton press;
    QMessageBox::Icon expectedIcon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::StandardButton expectedDefault;
    MsgAnswer expectedAnswer;
};

class QtUiPortBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtUiPortBoxTest, ShowsTextTitleIconButtonsAndReturnsThePressedOne) {
    const BoxCase& c = GetParam();
    QtUiPort port;
    SeenBox seen;
    EXPECT_EQ(showAndPress(port, c.icon, c.buttons, c.press, seen), c.expectedAnswer);
    EXPECT_EQ(seen.text, QStringLiteral("已经成功创建新帐套！"));
    EXPECT_EQ(seen.title, QStringLiteral("提示信息"));
    EXPECT_EQ(seen.icon, c.expectedIcon);
    EXPECT_EQ(seen.buttons, c.expectedButtons);
    EXPECT_EQ(seen.defaultButton, c.expectedDefault);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, QtUiPortBoxTest,
    ::testing::Values(
        BoxCase{MsgIcon::Information, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Information,
                QMessageBox::Ok, QMessageBox::Ok, MsgAnswer::Ok},
        BoxCase{MsgIcon::Question, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Question, QMessageBox::Ok,
                QMessageBox::Ok, MsgAnswer::Ok},
        BoxCase{MsgIcon::Exclamation, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok,
                QMessageBox::Ok, MsgAnswer::Ok},
        BoxCase{MsgIcon::Critical, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok,
                QMessageBox::Ok, MsgAnswer::Ok},
        BoxCase{MsgIcon::None, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
                QMessageBox::Ok, MsgAnswer::Ok},
        BoxCase{MsgIcon::Information, MsgButtons::YesNo, QMessageBox::Yes, QMessageBox::Information,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, MsgAnswer::Yes},
        BoxCase{MsgIcon::Information, MsgButtons::YesNo, QMessageBox::No, QMessageBox::Information,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, MsgAnswer::No},
        BoxCase{MsgIcon::Exclamation, MsgButtons::RetryCancel, QMessageBox::Retry, QMessageBox::Warning,
                QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, MsgAnswer::Retry},
        BoxCase{MsgIcon::Exclamation, MsgButtons::RetryCancel, QMessageBox::Cancel, QMessageBox::Warning,
                QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, MsgAnswer::Cancel}));

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

TEST(QtUiPortTest, ShowModalRunsTheWindowRegisteredForTheFormNameOverTheActiveWindow) {
    QWidget owner;
    owner.setObjectName(QStringLiteral("owner"));
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

    NamedForm password(QStringLiteral("frmCyXgmm"));
    NamedForm editor(QStringLiteral("frmZTGLXZ"));
    port.showModal(editor);
    port.showModal(password);
    EXPECT_EQ(runs, (QStringList{QStringLiteral("frmZTGLXZ!"), QStringLiteral("frmCyXgmm")}));
    EXPECT_EQ(parentSeen, QApplication::activeWindow());
    EXPECT_EQ(parentSeen, &owner);
}

QStringList* g_warnings = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && g_warnings)
        *g_warnings << text;
}

TEST(QtUiPortTest, UnknownFormNameIsWarnedAboutAndRunsNothing) {
    QtUiPort port;
    int runs = 0;
    port.registerModal(QStringLiteral("frmCyXgmm"), [&](ModalForm&, QWidget*) { ++runs; });

    QStringList warnings;
    g_warnings = &warnings;
    const auto previous = qInstallMessageHandler(&collectWarnings);
    // Names are exact: a name in other letters is a different form.
    NamedForm unknown(QStringLiteral("FRMCYXGMM"));
    port.showModal(unknown);
    qInstallMessageHandler(previous);
    g_warnings = nullptr;

    EXPECT_EQ(runs, 0);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.front().contains(QStringLiteral("FRMCYXGMM")));
}

TEST(QtUiPortTest, DoEventsLetsPendingWorkRun) {
    QtUiPort port;
    QObject receiver;
    bool ran = false;
    QMetaObject::invokeMethod(
        &receiver, [&ran] { ran = true; }, Qt::QueuedConnection);
    EXPECT_FALSE(ran);
    port.doEvents();
    EXPECT_TRUE(ran);
}

TEST(QtUiPortTest, MainWindowSwitchTouchesOnlyTheMainWindow) {
    QtUiPort port;
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
