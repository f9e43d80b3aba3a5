#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ScopedEnvironment.h"
#include "ado/OdbcDriverChoice.h"
#include "platform/RuntimeError.h"

using ado::OdbcDriverChoice;
using ztgl::test::ScopedEnvironment;

namespace {

class OdbcDriverChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.set("ODBCSYSINI", dir.path().toLocal8Bit());
        env.unset("ODBCINSTINI");
        env.unset("ZTGL_ODBC_DRIVER");
    }
    void registerDrivers(const QByteArray& text) {
        QFile f(dir.filePath(QStringLiteral("odbcinst.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    ScopedEnvironment env;
};

const QByteArray kAll =
    "[ODBC]\nTrace=No\n\n"
    "[FreeTDS]\nDriver=libtdsodbc.so\n\n"
    "[ODBC Driver 17 for SQL Server]\nDriver=/opt/microsoft/msodbcsql17/lib64/libmsodbcsql-17.so\n\n"
    "[ODBC Driver 18 for SQL Server]\nDriver=/opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.so\n";

}  // namespace

TEST_F(OdbcDriverChoiceTest, ReadsTheDriverList) {
    registerDrivers(kAll);
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), dir.filePath(QStringLiteral("odbcinst.ini")));
    EXPECT_EQ(OdbcDriverChoice::installedDrivers(OdbcDriverChoice::odbcinstPath()),
              QStringList({QStringLiteral("FreeTDS"), QStringLiteral("ODBC Driver 17 for SQL Server"),
                           QStringLiteral("ODBC Driver 18 for SQL Server")}));
    EXPECT_TRUE(OdbcDriverChoice::installedDrivers(dir.filePath(QStringLiteral("missing.ini"))).isEmpty());
}

TEST_F(OdbcDriverChoiceTest, FirstInstalledOfThePreferredDrivers) {
    struct Case {
        QByteArray ini;
        const char* chosen;
    } cases[] = {
        {kAll, "ODBC Driver 18 for SQL Server"},
        {"[FreeTDS]\n[ODBC Driver 17 for SQL Server]\n", "ODBC Driver 17 for SQL Server"},
        {"[SQLite3]\n[FreeTDS]\n", "FreeTDS"},
        {"[freetds]\n", "FreeTDS"},
    };
    for (const auto& c : cases) {
        registerDrivers(c.ini);
        EXPECT_EQ(OdbcDriverChoice::current(), QString::fromUtf8(c.chosen)) << c.ini.constData();
    }
}

TEST_F(OdbcDriverChoiceTest, EnvironmentVariableNamesAnother) {
    registerDrivers(kAll);
    env.set("ZTGL_ODBC_DRIVER", "SQLite3");
    EXPECT_EQ(OdbcDriverChoice::current(), QStringLiteral("SQLite3"));
    env.set("ZTGL_ODBC_DRIVER", "  ");
    EXPECT_EQ(OdbcDriverChoice::current(), QStringLiteral("ODBC Driver 18 for SQL Server"));
}

TEST_F(OdbcDriverChoiceTest, OdbcInstIniNamesTheFile) {
    QFile f(dir.filePath(QStringLiteral("drivers.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[FreeTDS]\n");
    f.close();
    env.set("ODBCINSTINI", "drivers.ini");
    EXPECT_EQ(OdbcDriverChoice::current(), QStringLiteral("FreeTDS"));
    env.set("ODBCINSTINI", dir.filePath(QStringLiteral("drivers.ini")).toLocal8Bit());
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), dir.filePath(QStringLiteral("drivers.ini")));
}

TEST_F(OdbcDriverChoiceTest, NoDriverIsAClearError) {
    registerDrivers("[ODBC]\n[SQLite3]\nDriver=libsqlite3odbc.so\n");
    try {
        OdbcDriverChoice::current();
        FAIL() << "no error";
    } catch (const ztgl::RuntimeError& e) {
        EXPECT_EQ(e.number(), 3706);
        EXPECT_EQ(
            e.description(),
            QStringLiteral("未找到 SQL Server 的 ODBC 驱动程序：%1 中没有登记 ODBC Driver 18 for SQL Server、"
                           "ODBC Driver 17 for SQL Server、FreeTDS。请安装其中之一，或用环境变量 "
                           "ZTGL_ODBC_DRIVER 指定驱动程序。")
                .arg(dir.filePath(QStringLiteral("odbcinst.ini"))));
    }
}
