#include "startup/ConnectSettingsForm.h"

#include <gtest/gtest.h>

#include "JetFiles.h"
#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "platform/Codepage936.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

using F = ConnectSettingsForm;

class RecordingView final : public F::View {
public:
    void setFocusTo(F::Control box) override { focus << box; }
    void unload() override { ++unloads; }
    QVector<F::Control> focus;
    int unloads = 0;
};

class ConnectSettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gIniFile = folder.iniFile();
        folder.writeConfigBytes(kBefore);
        form.setView(&view);
    }
    void TearDown() override { ResetGlobals(); }

    QByteArray fileBytes() const { return JetFiles::bytes(folder.iniFile()); }

    const QByteArray kBefore = cp936::encode(
        "; "
        "服务器\r\n[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=10.0.0.1\r\nPORT=2001\r\n[DBCONNECT]"
        "\r\nDBTYPE=x\r\n");
    TempProgramFolder folder;
    RecordingUiPort port;
    RecordingView view;
    F form;
};

// An empty address or port keeps the dialog open with the focus on it; only the address message
// when both are empty.
TEST_F(ConnectSettingsFormTest, MissingInput) {
    const QString noAddress = "请输入远程服务器地址!", noPort = "请输入远程端口!";
    // clang-format off
    const struct { QString ip, port, message; F::Control focus; } cases[] = {
        {"", "", noAddress, F::Text4}, {"   ", "2001", noAddress, F::Text4},
        {"10.0.0.2", "", noPort, F::Text5}, {"10.0.0.2", "  ", noPort, F::Text5},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ip.toStdString() + "/" + c.port.toStdString());
        port.messages.clear();
        view.focus.clear();
        form.Text4Text = c.ip;
        form.Text5Text = c.port;
        form.command1_Click(1);
        EXPECT_EQ(shownLines(port), QStringList{msgLine(c.message, MsgIcon::Critical, "错误")});
        EXPECT_EQ(view.focus, QVector<F::Control>({c.focus}));
        EXPECT_FALSE(form.IsOK);
        EXPECT_EQ(view.unloads, 0);
        EXPECT_EQ(form.Text4Text, c.ip);  // left as typed
    }
    EXPECT_EQ(fileBytes(), kBefore);
}

// OK stores what was typed: untrimmed and uncut in the file, in the fixed widths in the process.
TEST_F(ConnectSettingsFormTest, OkStoresTheValues) {
    const QString address = " abcdefghijklmnopqrst.uvw";  // 25 characters
    form.Text4Text = address;
    form.Text5Text = "abc";  // not checked
    form.command1_Click(1);
    EXPECT_TRUE(form.IsOK);
    EXPECT_EQ(view.unloads, 1);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(gServerIP, " abcdefghijklmnopqrs");
    EXPECT_EQ(gServerPort, "abc  ");
    EXPECT_EQ(fileBytes(), cp936::encode("; 服务器\r\n[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=" +
                                         address + "\r\nPORT=abc\r\n[DBCONNECT]\r\nDBTYPE=x\r\n"));
}

}  // namespace
}  // namespace ztgl::test
