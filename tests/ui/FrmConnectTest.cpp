#include "ui/FrmConnect.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "WidgetInput.h"
#include "process/Globals.h"
#include "ui/ShapeWidget.h"

namespace ztgl::test {
namespace {

using F = ConnectSettingsForm;
using gui::FrmConnect;

class FrmConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gIniFile = folder.iniFile();
        folder.writeConfigBytes(kBefore);
        gServerIP = FixedText("10.0.0.1", 20);
        dialog = std::make_unique<FrmConnect>(form);
        ASSERT_TRUE(activate(dialog.get()));
    }
    void TearDown() override {
        dialog.reset();
        ResetGlobals();
    }
    QByteArray fileBytes() const {
        QFile file(folder.iniFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    const QByteArray kBefore =
        QByteArray("[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=10.0.0.1\r\nPORT=\r\n");
    TempProgramFolder folder;
    RecordingUiPort port;
    F form;
    std::unique_ptr<FrmConnect> dialog;
};

TEST_F(FrmConnectTest, LooksAsDesigned) {
    EXPECT_EQ(dialog->objectName(), "frm_connect");
    EXPECT_EQ(dialog->windowTitle(), "连接设置");
    auto* title = dialog->findChild<QLabel*>("LblTitle");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), "【连接设置】");
    EXPECT_EQ(dialog->Shape1()->fillColour(), QColor(Qt::white));
    EXPECT_EQ(dialog->Text4()->text(), "10.0.0.1");
    EXPECT_EQ(dialog->Text5()->text(), "2001");
    EXPECT_EQ(dialog->command1(1)->text(), "确定(&Y)");
    EXPECT_EQ(dialog->command1(0)->text(), "关闭(&Q)");
    EXPECT_LT(dialog->command1(1)->x(), dialog->command1(0)->x());
    EXPECT_LT(dialog->command1(0)->geometry().bottom(), dialog->Shape1()->y());
    for (QLineEdit* box : {dialog->Text4(), dialog->Text5()})
        EXPECT_TRUE(dialog->Shape1()->geometry().contains(box->geometry()));
    QStringList labels;
    for (QLabel* l : dialog->findChildren<QLabel*>()) {
        labels << l->text();
        if (!l->text().isEmpty())
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text();  // nothing cut
    }
    EXPECT_TRUE(labels.contains("主机地址：") && labels.contains("远程端口："));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Text4());
    dialog->grab().save(QDir::temp().filePath("ztgl-frm_connect.png"));
}

// An empty address keeps the dialog with the focus on it; OK then stores what was typed, untrimmed.
TEST_F(FrmConnectTest, OkStoresWhatWasTyped) {
    retype(dialog->Text4(), "   ");
    dialog->Text5()->setFocus();
    QTest::mouseClick(dialog->command1(1), Qt::LeftButton);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, "请输入远程服务器地址!");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->Text4());
    EXPECT_FALSE(form.IsOK);
    EXPECT_EQ(fileBytes(), kBefore);

    retype(dialog->Text4(), " 192.168.1.20 ");
    retype(dialog->Text5(), "abc");
    QTest::mouseClick(dialog->command1(1), Qt::LeftButton);
    EXPECT_TRUE(form.IsOK);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(port.messages.size(), 1);
    EXPECT_EQ(fileBytes(),
              QByteArray("[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP= 192.168.1.20 \r\nPORT=abc\r\n"));
}

TEST_F(FrmConnectTest, CloseAndEscStoreNothing) {
    retype(dialog->Text4(), "10.9.9.9");
    form.IsOK = true;  // from an earlier OK
    QTest::mouseClick(dialog->command1(0), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(form.IsOK);
    EXPECT_EQ(fileBytes(), kBefore);

    F other;
    FrmConnect second(other);
    activate(&second);
    QTest::keyClick(&second, Qt::Key_Escape);
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(other.IsOK);
    EXPECT_EQ(fileBytes(), kBefore);
}

}  // namespace
}  // namespace ztgl::test
