// The Qt side of the program's services: message boxes exactly as asked, modal windows by form
// name, the main window switch, Chinese texts and font, web addresses to the desktop.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/GuiSetup.h"
#include "ui/QtShellOpener.h"
#include "ui/QtUiPort.h"
#include "ui/Style.h"

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

QApplication& app() {
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The translation may add the access key, e.g. "是(&Y)". A second call installs no second
// translator.
TEST(GuiSetupTest, BoxesReadShiFouQueDingQuXiao) {
    ASSERT_TRUE(gui::InstallChineseUi(app()));
    ASSERT_TRUE(gui::InstallChineseUi(app()));
    EXPECT_EQ(app().findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    gui::QtUiPort port;
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(port.message(QStringLiteral("是否停用帐套？"), QStringLiteral("提示信息"), MsgIcon::Information,
                           MsgButtons::YesNo),
              MsgAnswer::No);
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    texts << box.button(QMessageBox::Ok)->text() << box.button(QMessageBox::Cancel)->text();
    ASSERT_EQ(texts.size(), 4);
    const char* expected[] = {"是", "否", "确定", "取消"};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(texts[i].startsWith(QString::fromUtf8(expected[i]))) << texts[i].toStdString();
}

// The font is really there (not a silent substitute); styled password boxes still mask with stars.
TEST(GuiSetupTest, SimplifiedChineseFontAndStars) {
    gui::InstallChineseUi(app());
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Noto Sans CJK SC"));
    QWidget form;
    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("txtPwd"));
    edit->setEchoMode(QLineEdit::Password);
    gui::Set_FlatControls(&form);
    EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), int(u'*'));
    edit->setText(QStringLiteral("ab c"));
    EXPECT_EQ(edit->displayText(), QStringLiteral("****"));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void handle(const QUrl& url) { urls << url; }
};

// A full address is opened as given, one typed as people type it becomes a web address, an empty
// one opens nothing.
TEST(QtShellOpenerTest, AddressesOpenAsWebAddresses) {
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "handle");
    ztgl::gui::QtShellOpener opener;
    EXPECT_TRUE(opener.open(QStringLiteral("https://www.example.com/ztgl?id=1")));
    EXPECT_TRUE(opener.open(QStringLiteral(" www.example.com ")));
    EXPECT_FALSE(opener.open(QString()));
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("https://www.example.com/ztgl?id=1")),
                                         QUrl(QStringLiteral("http://www.example.com"))}));
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

}  // namespace

#include "QtUiPortTest.moc"
