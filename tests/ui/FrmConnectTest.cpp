#include "ui/FrmConnect.h"

#include <QFile>

#include "UiFixture.h"

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
    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    const QByteArray kBefore = "[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=10.0.0.1\r\nPORT=\r\n";
    TempProgramFolder folder;
    RecordingUiPort port;
    F form;
    std::unique_ptr<FrmConnect> dialog;
};

TEST_F(FrmConnectTest, LooksAsDesigned) {
    EXPECT_EQ(dialog->Shape1()->fillColour(), QColor(Qt::white));
    EXPECT_EQ(dialog->Text4()->text(), "10.0.0.1");
    EXPECT_EQ(dialog->Text5()->text(), "2001");
    expectDialogLook(dialog.get(), "frm_connect", "连接设置", dialog->Shape1(), dialog->command1(1),
                     dialog->command1(0), {dialog->Text4(), dialog->Text5()}, {"主机地址：", "远程端口："});
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
    EXPECT_EQ(fileBytes(), "[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP= 192.168.1.20 \r\nPORT=abc\r\n");
}

// The close button (taking back an earlier OK) and Esc store nothing.
TEST_F(FrmConnectTest, CloseAndEscStoreNothing) {
    retype(dialog->Text4(), "10.9.9.9");
    form.IsOK = true;
    QTest::mouseClick(dialog->command1(0), Qt::LeftButton);
    F other;
    FrmConnect second(other);
    activate(&second);
    QTest::keyClick(&second, Qt::Key_Escape);
    for (const auto& [window, settings] : {std::pair{dialog.get(), &form}, {&second, &other}}) {
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(settings->IsOK);
    }
    EXPECT_EQ(fileBytes(), kBefore);
}

}  // namespace
}  // namespace ztgl::test
