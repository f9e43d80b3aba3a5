// The program killed (SIGKILL) at each step of creating an Access set: during the copy of the
// template, after the copy, after the catalogue row. The kill comes from the program itself at a
// named step (ZTGL_KILL_AT, see platform/KillPoint.h), so it falls exactly where the test wants it.
#include <gtest/gtest.h>

#include <csignal>

#include "FaultFolder.h"
#include "operators/SetMima.h"

namespace ztgl::test {
namespace {

// After the kill: whether the new set's file exists, whether its catalogue row does.
struct KillCase {
    const char* step;
    bool fileMade, rowWritten;
};

class KillDuringCreation : public ::testing::TestWithParam<KillCase> {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << folder.error().toStdString(); }

    QStringList ztml() const {
        return folder.query("KXPUB.MDB", "select Id, ZTMC, ZTLJ, UserFlag from ZTML order by Id");
    }
    QString defaultUser(const QString& file) const {
        return folder.query(file, "select Uname, PWD from Users where Id='0'").value(0);
    }

    FaultFolder folder;
};

TEST_P(KillDuringCreation, LeavesCatalogueAndFilesAgreeingAndCreatingAgainCompletesTheSet) {
    const KillCase& c = GetParam();
    ASSERT_EQ(folder.create("老公司").code, 0);
    const QByteArray oldSet = folder.bytes("_BK001.MDB");
    const QStringList oldRow = ztml();

    const AdminRun killed = folder.create("新公司", [&](QProcess&, QProcessEnvironment& env) {
        env.insert("ZTGL_KILL_AT", QString::fromLatin1(c.step));
    });
    ASSERT_EQ(killed.signal, SIGKILL) << killed.err.toStdString();

    EXPECT_EQ(folder.inconsistencies(), QStringList());
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet) << "another set was touched";
    EXPECT_EQ(QFile::exists(folder.file("_BK002.MDB")), c.fileMade);
    // Killed in the middle of the copy, the partial copy is not named like a set.
    EXPECT_EQ(QFile::exists(folder.file("_BK002.MDB.part")), !c.fileMade);
    EXPECT_EQ(ztml().size(), c.rowWritten ? 2 : 1);
    EXPECT_EQ(ztml().first(), oldRow.first());

    if (!c.rowWritten) {
        // Creating again, with Yes to the overwrite question a file left behind may bring.
        const AdminRun again = folder.create("新公司", {}, true);
        EXPECT_EQ(again.code, 0) << again.err.toStdString();
        EXPECT_EQ(again.err.contains("将要创建的数据库已经存在"), c.fileMade) << again.err.toStdString();
    } else {
        // The set is catalogued with the template's default user, as a failed user update leaves
        // it: creating it again is refused by its name, modifying it completes it.
        EXPECT_NE(defaultUser("_BK002.MDB").section(QLatin1Char('|'), 0, 0), "王五");
        const AdminRun again = folder.create("新公司", {}, true);
        EXPECT_EQ(again.code, 1);
        EXPECT_TRUE(again.err.contains("已经存在“新公司”帐套，请重新录入帐套名称！"))
            << again.err.toStdString();
        const AdminRun modify = folder.admin({"modify", "2", "--user", "王五", "--password", "pw"});
        EXPECT_EQ(modify.code, 0) << modify.err.toStdString();
    }
    EXPECT_EQ(ztml().value(1), "2|新公司|_BK002|1");
    EXPECT_EQ(defaultUser("_BK002.MDB"), "王五|" + Set_Mima("0pw0"));
    EXPECT_FALSE(QFile::exists(folder.file("_BK002.MDB.part")));
    EXPECT_EQ(folder.inconsistencies(), QStringList());
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet);
}

INSTANTIATE_TEST_SUITE_P(Steps, KillDuringCreation,
                         ::testing::Values(KillCase{"copy", false, false}, KillCase{"copied", true, false},
                                           KillCase{"catalogued", true, true}),
                         [](const auto& info) { return std::string(info.param.step); });

}  // namespace
}  // namespace ztgl::test
