// ztgl-admin list / disable / enable / upgrade, run as the real program on a program folder.
#include <gtest/gtest.h>

#include <QProcess>

#include "AdminProcess.h"
#include "CatalogueFolder.h"

namespace ztgl::test {
namespace {

using SetDb = CatalogueFolder::SetDb;

class AdminListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()); }

    // Runs ztgl-admin on the folder; standard input is a closed pipe (not a terminal).
    AdminRun admin(const QStringList& args) {
        return runAdmin(QStringList{QStringLiteral("--dir"), folder.dir()} + args);
    }
    QStringList ztml() const {
        return folder.query(folder.managerFile(), QStringLiteral("select Id,UserFlag from ZTML order by Id"));
    }
    int limitsCount(const QString& ztlj) const {
        return folder.query(folder.setFile(ztlj), QStringLiteral("select ID from BaseLimits")).size();
    }

    CatalogueFolder folder;
};

TEST_F(AdminListTest, ListPrintsOneTabSeparatedLinePerSetInIdOrder) {
    AdminRun r = admin({QStringLiteral("list")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString()) << "an empty catalogue lists nothing";

    folder.addSet("2", QStringLiteral("  O'Neil \"华东\" 分公司 "), "MAIN_BK002", 0);
    folder.addSet("1", QStringLiteral("总公司"), "MAIN_BK001", QVariant());
    folder.addSet("10", QStringLiteral("第十\t公司"), "MAIN_BK010", 5, SetDb::Missing, "2023-12-31");
    r = admin({QStringLiteral("list")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(QLatin1Char('\n')),
              QStringList({QStringLiteral("1\t总公司\t现启用\tMAIN_BK001\t2024-01-15"),
                           QStringLiteral("10\t第十 公司\t现启用\tMAIN_BK010\t2023-12-31"),
                           QStringLiteral("2\t  O'Neil \"华东\" 分公司 \t已停用\tMAIN_BK002\t2024-01-15"),
                           QString()}))
        << "the engine's order of the text key";
}

TEST_F(AdminListTest, DisableAndEnableAskAndNeedYesWithoutATerminal) {
    folder.addSet("1", QStringLiteral("甲"), "MAIN_BK001", 1);
    folder.addSet("2", QStringLiteral("乙"), "MAIN_BK002", 1);

    AdminRun r = admin({QStringLiteral("disable"), QStringLiteral("2")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("确定要停用当前帐套吗？"))) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|1"}));

    r = admin({QStringLiteral("disable"), QStringLiteral("2"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2\t乙\t已停用\tMAIN_BK002\t2024-01-15\n"));
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|0"}));

    r = admin({QStringLiteral("--yes"), QStringLiteral("enable"), QStringLiteral("2")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("确定要启用当前帐套吗？")));
    EXPECT_EQ(r.out, QStringLiteral("2\t乙\t现启用\tMAIN_BK002\t2024-01-15\n"));
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|1"}));
}

TEST_F(AdminListTest, BadKeysAreRefusedClearly) {
    folder.addSet("1", QStringLiteral("甲"), "MAIN_BK001", 1);
    folder.addSet("x1", QStringLiteral("坏编号"), "MAIN_BKx1", 1);

    AdminRun r = admin({QStringLiteral("disable"), QStringLiteral("99"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有编号为“99”的帐套。"))) << r.err.toStdString();

    r = admin({QStringLiteral("disable"), QStringLiteral("x1"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("帐套编号“x1”不是数字"))) << r.err.toStdString();

    for (const QStringList& args :
         {QStringList{QStringLiteral("disable")},
          QStringList{QStringLiteral("enable"), QStringLiteral("1"), QStringLiteral("2")},
          QStringList{QStringLiteral("list"), QStringLiteral("x")},
          QStringList{QStringLiteral("upgrade"), QStringLiteral("now")}}) {
        r = admin(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
    }
    EXPECT_EQ(ztml(), QStringList({"1|1", "x1|1"})) << "nothing was written";
}

TEST_F(AdminListTest, UpgradeConfirmsThenReportsAsTheWindowDoes) {
    folder.addSet("1", QStringLiteral("甲"), "MAIN_BK001", 1, SetDb::Upgraded);
    folder.addSet("2", QStringLiteral("乙"), "MAIN_BK002", 0);

    AdminRun r = admin({QStringLiteral("upgrade")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(limitsCount("MAIN_BK002"), 1) << "refused without --yes";

    r = admin({QStringLiteral("upgrade"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("已经成功升级数据库！"))) << r.err.toStdString();
    EXPECT_EQ(limitsCount("MAIN_BK001"), 2);
    EXPECT_EQ(limitsCount("MAIN_BK002"), 6);

    r = admin({QStringLiteral("upgrade"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("数据库已经被升级，无需再次升级！"))) << r.err.toStdString();

    folder.addSet("3", QStringLiteral("丙"), "MAIN_BK003", 1, SetDb::Missing);
    r = admin({QStringLiteral("upgrade"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。")))
        << r.err.toStdString();
}

TEST_F(AdminListTest, BrokenCatalogueIsReported) {
    folder.execute(folder.managerFile(), QStringLiteral("DROP TABLE ZTML"));
    const AdminRun r = admin({QStringLiteral("list")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("SetMSFlexGrid1Date():"))) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
}

}  // namespace
}  // namespace ztgl::test
