#include "style/ButtonPictures.h"

#include <QHash>

namespace ztgl::style {
namespace {

QHash<QString, int> buildTable() {
    const struct {
        int number;
        QStringList captions;
    } rows[] = {
        {1, {QStringLiteral("上一条"), QStringLiteral("上一单")}},
        {2, {QStringLiteral("下一条"), QStringLiteral("下一单"), QStringLiteral("下一步(&N)")}},
        {3,
         {QStringLiteral("新增"), QStringLiteral("新增(&A)"), QStringLiteral("新增计划"),
          QStringLiteral("新增帐套")}},
        {4, {QStringLiteral("保存"), QStringLiteral("保存(&S)"), QStringLiteral("拷贝帐套数据")}},
        {5, {QStringLiteral("放弃"), QStringLiteral("放弃(&C)"), QStringLiteral("停用帐套")}},
        {6,
         {QStringLiteral("修改"), QStringLiteral("编辑(&M)"), QStringLiteral("修改(&M)"),
          QStringLiteral("重新安排计划"), QStringLiteral("修改帐套")}},
        {7, {QStringLiteral("删除"), QStringLiteral("删除(&D)")}},
        {8,
         {QStringLiteral("查询"), QStringLiteral("查询(&S)"), QStringLiteral("查询(&F)"),
          QStringLiteral("查询[F4]")}},
        {9, {QStringLiteral("打印"), QStringLiteral("打印(&P)"), QStringLiteral("打印收据(&P)")}},
        {10, {QStringLiteral("关闭"), QStringLiteral("关闭(&Q)"), QStringLiteral("关闭[ESC]")}},
        {11, {QStringLiteral("结案")}},
        {12,
         {QStringLiteral("确定"), QStringLiteral("确定(&Y)"), QStringLiteral("盘盈盘亏(&Y)"),
          QStringLiteral("注销(&L)"), QStringLiteral("注销卡(&Y)"), QStringLiteral("设置分类(&F)"),
          QStringLiteral("启用帐套")}},
        {13, {QStringLiteral("收款"), QStringLiteral("立即收款")}},
        {14, {QStringLiteral("借出")}},
        {15, {QStringLiteral("作废")}},
        {16, {QStringLiteral("高级"), QStringLiteral("高级(&F)")}},
        {17, {QStringLiteral("统计"), QStringLiteral("统计(&S)")}},
        {18, {QStringLiteral("存为草稿")}},
    };
    QHash<QString, int> table;
    for (const auto& row : rows) {
        for (const QString& caption : row.captions)
            table.insert(caption, row.number);
    }
    return table;
}

}  // namespace

std::optional<int> ButtonPictures::pictureNumber(const QString& caption) {
    static const QHash<QString, int> table = buildTable();
    const auto it = table.constFind(caption);
    if (it == table.constEnd())
        return std::nullopt;
    return *it;
}

}  // namespace ztgl::style
