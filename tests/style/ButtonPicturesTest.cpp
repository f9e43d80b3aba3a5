// Pictures of the command buttons by their exact captions.
#include <gtest/gtest.h>

#include <QStringList>

#include "style/ButtonPictures.h"

using ztgl::style::ButtonPictures;

namespace {

TEST(ButtonPicturesTest, EveryCaptionOfTheTable) {
    const struct {
        int number;
        QStringList captions;
    } table[] = {
        {1, {"上一条", "上一单"}},
        {2, {"下一条", "下一单", "下一步(&N)"}},
        {3, {"新增", "新增(&A)", "新增计划", "新增帐套"}},
        {4, {"保存", "保存(&S)", "拷贝帐套数据"}},
        {5, {"放弃", "放弃(&C)", "停用帐套"}},
        {6, {"修改", "编辑(&M)", "修改(&M)", "重新安排计划", "修改帐套"}},
        {7, {"删除", "删除(&D)"}},
        {8, {"查询", "查询(&S)", "查询(&F)", "查询[F4]"}},
        {9, {"打印", "打印(&P)", "打印收据(&P)"}},
        {10, {"关闭", "关闭(&Q)", "关闭[ESC]"}},
        {11, {"结案"}},
        {12, {"确定", "确定(&Y)", "盘盈盘亏(&Y)", "注销(&L)", "注销卡(&Y)", "设置分类(&F)", "启用帐套"}},
        {13, {"收款", "立即收款"}},
        {14, {"借出"}},
        {15, {"作废"}},
        {16, {"高级", "高级(&F)"}},
        {17, {"统计", "统计(&S)"}},
        {18, {"存为草稿"}},
    };
    int count = 0;
    for (const auto& row : table) {
        for (const QString& caption : row.captions) {
            EXPECT_EQ(ButtonPictures::pictureNumber(caption), row.number) << caption.toStdString();
            ++count;
        }
    }
    EXPECT_EQ(count, 49);
}

TEST(ButtonPicturesTest, CaptionsAreComparedExactly) {
    for (const char* caption : {"关闭(&X)", "关闭(&q)", "关闭(Q)", "关闭 ", " 关闭", "关闭（&Q）", "确定(&N)",
                                "查询[f4]", "关闭[Esc]", "保存(&s)", "", "升级数据库"}) {
        EXPECT_EQ(ButtonPictures::pictureNumber(QString::fromUtf8(caption)), std::nullopt) << caption;
    }
}

}  // namespace
