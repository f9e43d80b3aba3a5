#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "process/Globals.h"
#include "process/ProductSettings.h"

using namespace Qt::StringLiterals;

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

TEST_F(ProductSettingsTest, BuiltInTextsUnlessConfigured) {
    // clang-format off
    const QStringList configs[] = {{u"[BASESETUP]"_s, u"ISWLB=0"_s}, {u"[BASESETUP]"_s, u"TITLE="_s, u"WEBSITE=   "_s, u"LOGINPIC="_s}};
    // clang-format on
    for (const QStringList& lines : configs) {
        folder.writeConfig(lines);
        EXPECT_EQ(ProductTitle(), u"商业进销存"_s);
        EXPECT_EQ(MakerWebSite(), u"http://www.zavrin.com"_s);
        EXPECT_EQ(LoginPictureKey(), u"201"_s);
    }
    folder.writeConfig(
        {u"[basesetup]"_s, u"Title=五金建材"_s, u"WEBSITE=https://example.com/帮助"_s, u"LOGINPIC= 305 "_s});
    EXPECT_EQ(ProductTitle(), u"五金建材"_s);
    EXPECT_EQ(MakerWebSite(), u"https://example.com/帮助"_s);
    EXPECT_EQ(LoginPictureKey(), u"305"_s);
    folder.writeConfig({u"[BASESETUP]"_s, u"TITLE="_s + QString(60, u'标')});  // cut for the title bars
    EXPECT_EQ(ProductTitle(), QString(40, u'标'));
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl
