#include <gtest/gtest.h>

#include "RecordingUiPort.h"
#include "TempProgramFolder.h"
#include "process/Globals.h"
#include "process/ProductSettings.h"

namespace ztgl {
namespace {

class ProductSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gIniFile = folder.iniFile();
    }
    void TearDown() override { ResetGlobals(); }

    test::TempProgramFolder folder;
    test::RecordingUiPort port;
};

TEST_F(ProductSettingsTest, BuiltInTextsWhenTheKeysAreAbsentOrEmpty) {
    const QStringList configs[] = {{QStringLiteral("[BASESETUP]"), QStringLiteral("ISWLB=0")},
                                   {QStringLiteral("[BASESETUP]"), QStringLiteral("TITLE="),
                                    QStringLiteral("WEBSITE=   "), QStringLiteral("LOGINPIC=")}};
    for (const QStringList& lines : configs) {
        folder.writeConfig(lines);
        EXPECT_EQ(ProductTitle(), QStringLiteral("商业进销存"));
        EXPECT_EQ(ProductTitle(), DefaultProductTitle());
        EXPECT_EQ(MakerWebSite(), QStringLiteral("http://www.zavrin.com"));
        EXPECT_EQ(LoginPictureKey(), QStringLiteral("201"));
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(ProductSettingsTest, ConfiguredTexts) {
    folder.writeConfig({QStringLiteral("[basesetup]"), QStringLiteral("Title=五金建材"),
                        QStringLiteral("WEBSITE=https://example.com/帮助"),
                        QStringLiteral("LOGINPIC= 305 ")});
    EXPECT_EQ(ProductTitle(), QStringLiteral("五金建材"));
    EXPECT_EQ(MakerWebSite(), QStringLiteral("https://example.com/帮助"));
    EXPECT_EQ(LoginPictureKey(), QStringLiteral("305"));
}

TEST_F(ProductSettingsTest, LongTitleIsCut) {
    const QString longTitle = QStringLiteral("进销存") + QString(60, QLatin1Char('Z'));
    folder.writeConfig({QStringLiteral("[BASESETUP]"), QStringLiteral("TITLE=") + longTitle});
    EXPECT_EQ(ProductTitle(), longTitle.left(kProductTitleMaxLength));
}

TEST_F(ProductSettingsTest, ProgramTitle) {
    EXPECT_EQ(ProgramTitle(QStringLiteral("商业进销存")),
              QStringLiteral("Zavrin行业管理软件之商业进销存-帐套管理"));
    EXPECT_EQ(ProgramTitle(QString()), QStringLiteral("Zavrin行业管理软件之-帐套管理"));
}

}  // namespace
}  // namespace ztgl
