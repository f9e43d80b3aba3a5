// The Qt side of the program's services: message boxes exactly as asked, modal windows by form
// name, the main window switch, Chinese texts and font, web addresses to the desktop.

#include <QDesktopServices>
#include <QFontInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTranslator>
#include <QUrl>

#include "UiFixture.h"
#include "ui/GuiSetup.h"
#include "ui/QtShellOpener.h"
#include "ui/QtUiPort.h"

using namespace ztgl;
using ztgl::gui::QtUiPort;

namespace {

// Every kind of box: text, title, icon, buttons and default as asked, the pressed one answered;
// closing the box with its close box (or Esc, no button here) gives the answer that gives up,
// never Yes or Retry.
TEST(QtUiPortTest, ShowsTextTitleIconButtonsAndReturnsThePressedOne) {
    using B = QMessageBox;
    using I = MsgIcon;
    using A = MsgAnswer;
    const MsgButtons ok = MsgButtons::Ok, yesNo = MsgButtons::YesNo, retry = MsgButtons::RetryCancel;
    // clang-format off
    const struct { MsgIcon icon; MsgButtons buttons; B::StandardButton press; B::Icon shownIcon;
                   B::StandardButtons shownButtons; B::StandardButton shownDefault; MsgAnswer answer; } cases[] = {
        {I::Information, ok, B::Ok, B::Information, B::Ok, B::Ok, A::Ok},
        {I::Question, ok, B::Ok, B::Question, B::Ok, B::Ok, A::Ok},
        {I::Exclamation, ok, B::Ok, B::Warning, B::Ok, B::Ok, A::Ok},
        {I::Critical, ok, B::Ok, B::Critical, B::Ok, B::Ok, A::Ok},
        {I::None, ok, B::Ok, B::NoIcon, B::Ok, B::Ok, A::Ok},
        {I::Information, yesNo, B::Yes, B::Information, B::Yes | B::No, B::Yes, A::Yes},
        {I::Information, yesNo, B::No, B::Information, B::Yes | B::No, B::Yes, A::No},
        {I::Exclamation, retry, B::Retry, B::Warning, B::Retry | B::Cancel, B::Retry, A::Retry},
        {I::Exclamation, retry, B::Cancel, B::Warning, B::Retry | B::Cancel, B::Retry, A::Cancel},
        {I::Information, ok, B::NoButton, B::Information, B::Ok, B::Ok, A::Ok},
        {I::Information, yesNo, B::NoButton, B::Information, B::Yes | B::No, B::Yes, A::No},
        {I::Exclamation, retry, B::NoButton, B::Warning, B::Retry | B::Cancel, B::Retry, A::Cancel},
    };
    // clang-format on
    QtUiPort port;
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.press));
        test::whenModal("QMessageBox", [&c](QWidget* w) {
            auto& box = *static_cast<QMessageBox*>(w);
            EXPECT_EQ(box.text(), "已经成功创建新帐套！");
            EXPECT_EQ(box.windowTitle(), "提示信息");
            EXPECT_EQ(box.icon(), c.shownIcon);
            EXPECT_EQ(box.standardButtons(), c.shownButtons);
            EXPECT_EQ(box.standardButton(box.defaultButton()), c.shownDefault);
            if (c.press == B::NoButton)
                box.close();
            else
                box.button(c.press)->click();
        });
        EXPECT_EQ(port.message("已经成功创建新帐套！", "提示信息", c.icon, c.buttons), c.answer);
    }
}

struct NamedForm final : ModalForm {
    explicit NamedForm(const char* name) : name(QString::fromLatin1(name)) {}
    QString formName() const override { return name; }
    ModalForm& as() { return *this; }
    QString name;
};

// Modal windows run by their exact form name over the active window; an unknown name runs nothing.
TEST(QtUiPortTest, ShowModalRunsTheWindowRegisteredForTheFormName) {
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);
    QtUiPort port;
    QStringList runs;
    QWidget* parentSeen = nullptr;
    port.registerModal("frmCyXgmm", [&](ModalForm& form, QWidget* parent) {
        runs << form.formName();
        parentSeen = parent;
    });
    port.registerModal("frmZTGLXZ", [&](ModalForm& form, QWidget*) { runs << form.formName() + "!"; });
    for (const char* name : {"frmZTGLXZ", "frmCyXgmm", "FRMCYXGMM"})
        port.showModal(NamedForm(name).as());
    EXPECT_EQ(runs, (QStringList{"frmZTGLXZ!", "frmCyXgmm"}));
    EXPECT_EQ(parentSeen, &owner);
}

// Pending work runs on doEvents; the main window switch touches only the window of that name.
TEST(QtUiPortTest, DoEventsAndTheMainWindowSwitch) {
    QtUiPort port;
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    EXPECT_FALSE(ran);
    port.doEvents();
    EXPECT_TRUE(ran);

    port.setMainWindowEnabled(false);  // no main window: nothing to do, nothing breaks
    QWidget main, other;
    main.setObjectName("MDIfrmZTGL");
    other.setObjectName("frmZTLogin");
    port.setMainWindowEnabled(false);
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(other.isEnabled());
    port.setMainWindowEnabled(true);
    EXPECT_TRUE(main.isEnabled());
}

// The translation may add the access key, e.g. "是(&Y)"; a second call installs no second
// translator. The Simplified Chinese font is really there (not a silent substitute); styled password
// boxes still mask with stars.
TEST(GuiSetupTest, ChineseBoxTextsFontAndStars) {
    auto& app = *qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_TRUE(gui::InstallChineseUi(app));
    ASSERT_TRUE(gui::InstallChineseUi(app));
    EXPECT_EQ(app.findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Noto Sans CJK SC");
    QWidget form;
    auto* edit = new QLineEdit("ab c", &form);
    edit->setEchoMode(QLineEdit::Password);
    gui::Set_FlatControls(&form);
    EXPECT_EQ(edit->displayText(), "****");

    gui::QtUiPort port;
    QStringList texts;
    test::whenModal("QMessageBox", [&texts](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(port.message("是否停用帐套？", "提示信息", MsgIcon::Information, MsgButtons::YesNo),
              MsgAnswer::No);
    QMessageBox box(QMessageBox::Information, "提示", "x", QMessageBox::Ok | QMessageBox::Cancel);
    texts << box.button(QMessageBox::Ok)->text() << box.button(QMessageBox::Cancel)->text();
    EXPECT_EQ(texts.replaceInStrings(QRegularExpression("\\(&.\\)$"), ""),
              (QStringList{"是", "否", "确定", "取消"}));
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
    EXPECT_TRUE(opener.open("https://www.example.com/ztgl?id=1"));
    EXPECT_TRUE(opener.open(" www.example.com "));
    EXPECT_FALSE(opener.open(QString()));
    EXPECT_EQ(catcher.urls,
              (QList<QUrl>{QUrl("https://www.example.com/ztgl?id=1"), QUrl("http://www.example.com")}));
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

}  // namespace

#include "QtUiPortTest.moc"
