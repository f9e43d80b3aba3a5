// ztgl-admin list / disable / enable, run as the real program on a program folder.
#include <gtest/gtest.h>

#include "AdminProcess.h"
#include "ProgramFolder.h"

namespace ztgl::test {
namespace {

using SetDb = CatalogueFolder::SetDb;

class AdminListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()); }

    AdminRun expect(const QStringList& args, int code, const QString& errPart = {}) {
        return expectAdmin(folder.path(), args, code, errPart);
    }
    QStringList ztml() const {
        return folder.query(folder.managerFile(), "select Id,UserFlag from ZTML order by Id");
    }

    CatalogueFolder folder;
};

TEST_F(AdminListTest, ListPrintsOneTabSeparatedLinePerSetInIdOrder) {
    EXPECT_EQ(expect({"list"}, 0).out, "") << "an empty catalogue lists nothing";
    folder.addSet("2", "  O'Neil \"华东\" 分公司 ", "MAIN_BK002", 0);
    folder.addSet("1", "总公司", "MAIN_BK001", QVariant());
    folder.addSet("10", "第十\t公司", "MAIN_BK010", 5, SetDb::Missing, "2023-12-31");
    EXPECT_EQ(expect({"list"}, 0).out,
              "1\t总公司\t现启用\tMAIN_BK001\t2024-01-15\n"
              "10\t第十 公司\t现启用\tMAIN_BK010\t2023-12-31\n"
              "2\t  O'Neil \"华东\" 分公司 \t已停用\tMAIN_BK002\t2024-01-15\n")
        << "the engine's order of the text key";
}

TEST_F(AdminListTest, DisableAndEnableAskAndNeedYesWithoutATerminal) {
    folder.addSet("1", "甲", "MAIN_BK001", 1);
    folder.addSet("2", "乙", "MAIN_BK002", 1);
    EXPECT_EQ(expect({"disable", "2"}, 1, "确定要停用当前帐套吗？").out, "");
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|1"}));
    EXPECT_EQ(expect({"disable", "2", "--yes"}, 0).out, "2\t乙\t已停用\tMAIN_BK002\t2024-01-15\n");
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|0"}));
    EXPECT_EQ(expect({"--yes", "enable", "2"}, 0, "确定要启用当前帐套吗？").out,
              "2\t乙\t现启用\tMAIN_BK002\t2024-01-15\n");
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|1"}));

    folder.addSet("x1", "坏编号", "MAIN_BKx1", 1);
    expect({"disable", "99", "--yes"}, 1, "没有编号为“99”的帐套。");
    expect({"disable", "x1", "--yes"}, 1, "帐套编号“x1”不是数字");
    EXPECT_EQ(ztml(), QStringList({"1|1", "2|1", "x1|1"})) << "nothing was written";
}

}  // namespace
}  // namespace ztgl::test
