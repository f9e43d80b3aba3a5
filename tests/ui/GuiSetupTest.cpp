// Chinese buttons in Qt's own boxes, the Simplified Chinese font, stars in password boxes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
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

}  // namespace
