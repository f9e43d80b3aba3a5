#include "startup/ConnectSettingsForm.h"

#include <gtest/gtest.h>

#include <QFile>

#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "TempProgramFolder.h"
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

    QByteArray fileBytes() const {
        QFile file(folder.iniFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QByteArray kBefore =
        cp936::encode(QStringLiteral("; "
                                     "服务器\r\n[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=10.0.0."
                                     "1\r\nPORT=2001\r\n[DBCONNECT]\r\nDBTYPE=x\r\n"));
    TempProgramFolder folder;
    RecordingUiPort port;
    RecordingView view;
    F form;
};

TEST_F(ConnectSettingsFormTest, LoadShowsTheTrimmedValuesAndOffers2001) {
    struct Case {
        QString ip, port, text4, text5;
    };
    const Case cases[] = {
        {QStringLiteral("  10.0.0.5"), QStringLiteral(" 80  "), QStringLiteral("10.0.0.5"),
         QStringLiteral("80")},
        {QString(), QString(), QString(), QStringLiteral("2001")},
        {QStringLiteral("srv.local"), QStringLiteral("   "), QStringLiteral("srv.local"),
         QStringLiteral("2001")},
    };
    for (const Case& c : cases) {
        gServerIP = FixedText(c.ip, 20);
        gServerPort = FixedText(c.port, 5);
        F loaded;
        loaded.Form_Load();
        EXPECT_EQ(loaded.Text4Text, c.text4);
        EXPECT_EQ(loaded.Text5Text, c.text5);
    }
}

// An empty address or port keeps the dialog open with the focus on it; only the address message
// when both are empty.
TEST_F(ConnectSettingsFormTest, MissingInput) {
    struct Case {
        QString ip, port, message;
        F::Control focus;
    };
    const QString noAddress = QStringLiteral("请输入远程服务器地址!");
    const QString noPort = QStringLiteral("请输入远程端口!");
    const Case cases[] = {
        {QString(), QString(), noAddress, F::Text4},
        {QStringLiteral("   "), QStringLiteral("2001"), noAddress, F::Text4},
        {QStringLiteral("10.0.0.2"), QString(), noPort, F::Text5},
        {QStringLiteral("10.0.0.2"), QStringLiteral("  "), noPort, F::Text5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        port.messages.clear();
        view.focus.clear();
        form.Text4Text = c.ip;
        form.Text5Text = c.port;
        form.command1_Click(1);
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, c.message);
        EXPECT_EQ(port.messages[0].title, QStringLiteral("错误"));
        EXPECT_EQ(port.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(view.focus, QVector<F::Control>({c.focus}));
        EXPECT_FALSE(form.IsOK);
        EXPECT_EQ(view.unloads, 0);
        EXPECT_EQ(form.Text4Text, c.ip);  // left as typed
    }
    EXPECT_EQ(fileBytes(), kBefore);
}

// OK stores what was typed: untrimmed and uncut in the file, in the fixed widths in the process.
TEST_F(ConnectSettingsFormTest, OkStoresTheValues) {
    const QString address = QStringLiteral(" abcdefghijklmnopqrst.uvw");  // 25 characters
    form.Text4Text = address;
    form.Text5Text = QStringLiteral("abc");  // not checked
    form.command1_Click(1);
    EXPECT_TRUE(form.IsOK);
    EXPECT_EQ(view.unloads, 1);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(gServerIP, QStringLiteral(" abcdefghijklmnopqrs"));
    EXPECT_EQ(gServerPort, QStringLiteral("abc  "));
    EXPECT_EQ(fileBytes(),
              cp936::encode(QStringLiteral("; 服务器\r\n[BASESETUP]\r\nISWLB=1\r\n[SERVERINFO]\r\nIP=") +
                            address + QStringLiteral("\r\nPORT=abc\r\n[DBCONNECT]\r\nDBTYPE=x\r\n")));
}

}  // namespace
}  // namespace ztgl::test
