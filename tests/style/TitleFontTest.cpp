#include "style/TitleFont.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace ztgl::style {
namespace {

TEST(TitleFontTest, HeiFaceFirstThenTheDebianStandIns) {
    const struct {
        QStringList installed;
        QString family;
        bool bold;
    } cases[] = {
        {{"黑体", "WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "黑体", false},
        {{"SimHei", "Noto Sans CJK SC"}, "SimHei", false},
        {{"WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "WenQuanYi Zen Hei", false},
        {{"Noto Sans CJK SC", "DejaVu Sans"}, "Noto Sans CJK SC", true},
        {{"DejaVu Sans"}, "黑体", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed.join(QLatin1Char(',')).toStdString());
        const TitleFont::Face face =
            TitleFont::choose([&](const QString& family) { return c.installed.contains(family); });
        EXPECT_EQ(face.family, c.family);
        EXPECT_EQ(face.bold, c.bold);
    }
    EXPECT_EQ(TitleFont::kPointSize, 14);
}

}  // namespace
}  // namespace ztgl::style
