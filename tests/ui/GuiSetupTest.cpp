// Chinese buttons in Qt's own boxes and the Simplified Chinese font.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QStyle>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include "ui/GuiSetup.h"
#include "ui/QtUiPort.h"
#include "ui/Style.h"

using namespace ztgl;

namespace {

QApplication& app() {
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

TEST(GuiSetupTest, YesNoBoxReadsShiAndFou) {
    ASSERT_TRUE(gui::InstallChineseUi(app()));
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
    ASSERT_EQ(texts.size(), 2);
    // The translation may add the access key, e.g. "是(&Y)".
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("是"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("否"))) << texts[1].toStdString();
}

TEST(GuiSetupTest, OkAndCancelReadQueDingAndQuXiao) {
    ASSERT_TRUE(gui::InstallChineseUi(app()));
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().startsWith(QStringLiteral("确定")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));
}

TEST(GuiSetupTest, SimplifiedChineseFontForTheWholeProgram) {
    gui::InstallChineseUi(app());
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("Noto Sans CJK SC"));
    // The font is really there (not a silent substitute).
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Noto Sans CJK SC"));
}

TEST(GuiSetupTest, SecondCallInstallsNoSecondTranslator) {
    gui::InstallChineseUi(app());
    gui::InstallChineseUi(app());
    EXPECT_EQ(app().findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
}

}  // namespace

TEST(GuiSetupTest, PasswordBoxesMaskWithStars) {
    ztgl::gui::InstallChineseUi(app());
    QWidget form;
    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("txtPwd"));
    edit->setEchoMode(QLineEdit::Password);
    // Styled boxes (flat look) still take the hint from the program style underneath.
    ztgl::gui::Set_FlatControls(&form);
    EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), int(u'*'));
    edit->setText(QStringLiteral("ab c"));
    EXPECT_EQ(edit->displayText(), QStringLiteral("****"));
}
