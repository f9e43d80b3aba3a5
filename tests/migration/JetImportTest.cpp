// ztgl-admin import on program folders laid out as an Access installation leaves them: real Jet files (the
// public test databases and patched copies), the manager's database of the embedded engine, missing,
// damaged, foreign and protected files.
#include <gtest/gtest.h>

#include <QDir>
#include <QMap>

#include "AdminProcess.h"
#include "JetFiles.h"
#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "RuntimeErrorOf.h"
#include "ado/Backend.h"
#include "ado/Connection.h"
#include "ado/DatabaseFormat.h"
#include "ado/JetDatabase.h"
#include "creation/ProgressWindow.h"
#include "creation/SchemaCopy.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "migration/DatabaseConverter.h"
#include "migration/TableChecksum.h"
#include "operators/LoginForm.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

using namespace Qt::StringLiterals;

namespace ztgl {
namespace {

using test::JetFiles;

QString ztmlRow(const char* id, const char* name) {
    return u"insert into ZTML (Id, ZTMC, ZTLJ, CreateTime, UserFlag) values ('%1', '%2', 'KXPUB_BK00%1', '2024-01-15', 1)"_s
        .arg(QLatin1String(id), QString::fromUtf8(name));
}

QString converted(const QString& file, int tables, int rows) {
    return u"%1：已转换为本程序的格式（%2 个表，%3 行，逐表核对了结构、行数和全部数据）；原文件保存为 %1.access-original。"_s
        .arg(file)
        .arg(tables)
        .arg(rows);
}

QString ours(const QString& file) {
    return file + u"：已是本程序的格式，无需转换。"_s;
}

QStringList lines(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class ImportFolder : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    QString file(const QString& name) const { return m_folder->filePath(name); }
    test::AdminRun import() const { return test::runAdmin({u"--dir"_s, m_folder->path(), u"import"_s}); }
    // Every file of the folder with its bytes.
    QMap<QString, QByteArray> snapshot() const {
        QMap<QString, QByteArray> out;
        for (const QString& name : QDir(m_folder->path()).entryList(QDir::Files))
            out.insert(name, JetFiles::bytes(file(name)));
        return out;
    }
    // The statements a new set on SQL Server would be built with from this template.
    static QStringList serverStatements(const QString& templateFile) {
        test::RecordingUiPort port;
        gDBType = kSqlServer;
        QStringList out;
        ProgressWindow progress;
        SchemaCopy copy(
            JetFiles::connectionString(templateFile), [&](const QString& sql) { out << sql; }, progress);
        EXPECT_TRUE(copy.XZBJG());
        EXPECT_TRUE(port.messages.isEmpty());
        return out;
    }
    // Manager's database of the embedded engine whose ZTML lists three sets.
    void managerListingThreeSets(const QString& password = QString()) {
        m_folder->makeManagerDatabase({ztmlRow("1", "华东"), ztmlRow("2", "华南"), ztmlRow("3", "华北")});
        QStringList config = m_folder->accessConfig();
        config.replaceInStrings(u"PASSWORD="_s, u"PASSWORD="_s + password);
        m_folder->writeConfig(config);
    }

    test::TempProgramFolder folder;
    test::TempProgramFolder* m_folder = &folder;  // the folder the helpers work on
};

TEST_F(ImportFolder, JetFilesComeOverTheOriginalsStayBesideThemAndASecondRunChangesNothing) {
    managerListingThreeSets();
    JetFiles::copy(u"indexTestV2003.mdb"_s, file(kTemplateFileName));
    JetFiles::patchedTestV2000(file(u"kxpub_bk001.mdb"_s));  // copied from Windows in small letters
    ado::CreateJetDatabase(file(u"KXPUB_BK003.MDB"_s));      // already the engine's own
    // The real Jet template's statements: the foreign key columns join the primary key, as the copy does with
    // every key of type 2.
    const QStringList jetStatements = serverStatements(file(kTemplateFileName));
    // clang-format off
    EXPECT_EQ(jetStatements, QStringList({
        u"CREATE TABLE Table1(id Integer not null DEFAULT 0 ,otherfk1 Integer DEFAULT 0 ,otherfk2 Integer DEFAULT 0 ,data nvarchar (50) ,otherfk3 Integer DEFAULT 0 ,constraint Table1_Key_Kx primary  key(id,otherfk1,otherfk2))"_s,
        u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(0,0,10,'baz0',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(1,1,11,'baz11',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(2,1,11,'baz11-2',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(3,2,13,'baz13',0)"_s,
        u"CREATE TABLE Table2(id Integer not null DEFAULT 0 ,data nvarchar (50) ,constraint Table2_id primary  key(id))"_s,
        u"Insert into Table2(id,data) values(0,'foo0')"_s, u"Insert into Table2(id,data) values(1,'foo1')"_s, u"Insert into Table2(id,data) values(2,'foo2')"_s,
        u"CREATE TABLE Table3(id Integer not null DEFAULT 0 ,data nvarchar (50) ,constraint Table3_id primary  key(id))"_s,
        u"Insert into Table3(id,data) values(10,'bar10')"_s, u"Insert into Table3(id,data) values(11,'bar11')"_s, u"Insert into Table3(id,data) values(12,'bar12')"_s, u"Insert into Table3(id,data) values(13,'bar13')"_s,
    }));
    // clang-format on
    const auto before = snapshot();

    test::AdminRun r = import();
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(
        lines(r.out),
        (QStringList{u"帐套数据库 KXPUB_BK002.MDB 不在程序文件夹中，跳过。"_s, ours(u"KXPUB.MDB"_s),
                     u"正在转换 MWMSD_NULL.mdb ……"_s, converted(u"MWMSD_NULL.mdb"_s, 3, 11),
                     u"正在转换 kxpub_bk001.mdb ……"_s, converted(u"kxpub_bk001.mdb"_s, 4, 2),
                     ours(u"KXPUB_BK003.MDB"_s), u"完成：转换了 2 个数据库，2 个原已是本程序的格式。"_s}));
    for (const char* name : {"MWMSD_NULL.mdb", "kxpub_bk001.mdb"}) {
        SCOPED_TRACE(name);
        const QString n = QString::fromLatin1(name);
        EXPECT_EQ(ado::DatabaseFormat::of(file(n)), ado::DatabaseFormat::Embedded);
        EXPECT_EQ(JetFiles::bytes(file(n + u".access-original"_s)), before.value(n));
    }
    // The record of changes in the manager's database names each file converted, and the set of each set
    // database.
    const test::AdminRun log = test::runAdmin({u"--dir"_s, m_folder->path(), u"log"_s});
    QStringList recorded;
    for (const QString& line : lines(log.out))
        recorded << line.section(QLatin1Char('\t'), 3);
    EXPECT_EQ(recorded,
              (QStringList{u"导入帐套\t\t\t成功\t"_s + converted(u"MWMSD_NULL.mdb"_s, 3, 11),
                           u"导入帐套\t1\t华东\t成功\t"_s + converted(u"kxpub_bk001.mdb"_s, 4, 2)}));

    // The values, Chinese text and an operator's encoded password included, character for character.
    ado::Connection set;
    set.setConnectionString(JetFiles::connectionString(file(u"kxpub_bk001.mdb"_s)));
    set.Open();
    const ado::RowSet rows = set.query(u"select * from Table1"_s);
    set.Close();
    ASSERT_EQ(rows.rows.size(), 2);
    EXPECT_EQ(rows.rows[0].mid(0, 2),
              (QVector<QVariant>{JetFiles::chineseText(), JetFiles::encodedPassword()}));
    // Types, defaults, keys and rows came over as the template's schema copy reads them.
    EXPECT_EQ(serverStatements(file(kTemplateFileName)), jetStatements);

    const auto after = snapshot();
    r = import();
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(lines(r.out),
              (QStringList{u"帐套数据库 KXPUB_BK002.MDB 不在程序文件夹中，跳过。"_s, ours(u"KXPUB.MDB"_s),
                           ours(u"MWMSD_NULL.mdb"_s), ours(u"kxpub_bk001.mdb"_s), ours(u"KXPUB_BK003.MDB"_s),
                           u"完成：转换了 0 个数据库，4 个原已是本程序的格式。"_s}));
    EXPECT_EQ(snapshot(), after);
}

TEST_F(ImportFolder, TheManagersOwnJetFileComesOverAndAKeptNameIsNeverReused) {
    JetFiles::copy(u"testV1997.mdb"_s, folder.managerFile());
    const QByteArray original = JetFiles::bytes(folder.managerFile());
    JetFiles::write(file(u"KXPUB.MDB.access-original"_s), "an earlier original");
    folder.writeConfig(folder.accessConfig());
    gIniFile = folder.iniFile();

    const test::AdminRun r = import();
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(
        lines(r.out),
        (QStringList{
            u"KXPUB.MDB 中没有帐套目录（表 ZTML），没有帐套数据库要转换。"_s, u"正在转换 KXPUB.MDB ……"_s,
            converted(u"KXPUB.MDB"_s, 4, 2).replace(u".access-original。"_s, u".access-original-2。"_s),
            u"完成：转换了 1 个数据库，0 个原已是本程序的格式。"_s}));
    EXPECT_EQ(JetFiles::bytes(file(u"KXPUB.MDB.access-original"_s)), QByteArray("an earlier original"));
    EXPECT_EQ(JetFiles::bytes(file(u"KXPUB.MDB.access-original-2"_s)), original);
}

// A fault stops the run at that file: it and the files after it stay exactly as they were, files before it
// are done, nothing half-made is left behind.
TEST_F(ImportFolder, AFaultStopsTheRunAndLeavesTheOriginalsAsTheyWere) {
    const QString failed = u"\n原文件没有任何改动，其后的数据库也没有转换。"_s;
    // password: in kxconfig.ini; set2: KXPUB_BK002.MDB, a good, truncated or protected copy; converted: files
    // converted before the fault; error: %1 the failing file's path.
    // clang-format off
    const struct { const char *what, *password; bool aceTemplate; const char* set2; int converted; QString error; } cases[] = {
        {"a truncated set", "", false, "truncated", 1, u"KXPUB_BK002.MDB：无法转换。无法读取数据库“%1”，文件已经损坏（文件不完整，可能在复制时被截断）。"
                                                       "请先在 Microsoft Access 中用“压缩和修复数据库”修复它。"_s},
        {"an Access 2007 template", "", true, "good", 0, u"MWMSD_NULL.mdb：无法转换。“%1”是 Access 2007 或更新版本（ACE，.accdb）格式的数据库文件，"
                                                         "本程序读不了这种格式。请在 Microsoft Access 中把它另存为“Access 2002-2003 数据库（.mdb）”后再试。"_s},
        {"a protected set without the password", "", false, "protected", 1, u"KXPUB_BK002.MDB：无法转换。不是有效的密码。数据库“%1”设有密码，所给的密码与它不符。"_s},
        {"a protected set with the manager's password", "secret", false, "protected", 3, QString()},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempProgramFolder fresh;
        m_folder = &fresh;
        managerListingThreeSets(QString::fromLatin1(c.password));
        const QByteArray good = JetFiles::bytes(JetFiles::path(u"testV2000.mdb"_s));
        JetFiles::write(file(u"KXPUB_BK001.MDB"_s), good);
        QByteArray set2 = good;
        if (qstrcmp(c.set2, "truncated") == 0) {
            set2.chop(5000);
        } else if (qstrcmp(c.set2, "protected") == 0) {
            const QByteArray secret("s\0e\0c\0r\0e\0t\0", 12);
            for (int i = 0; i < secret.size(); ++i)
                set2[0x42 + i] = char(set2[0x42 + i] ^ secret[i]);
        }
        JetFiles::write(file(u"KXPUB_BK002.MDB"_s), set2);
        JetFiles::copy(u"testV1997.mdb"_s, file(u"KXPUB_BK003.MDB"_s));
        if (c.aceTemplate) {
            QByteArray ace = good;
            ace.replace(4, 15, "Standard ACE DB");
            ace[0x14] = 3;
            JetFiles::write(file(kTemplateFileName), ace);
        }
        const auto before = snapshot();
        const test::AdminRun r = import();
        const auto after = snapshot();
        const QStringList out = lines(r.out);
        EXPECT_EQ(out.filter(u"已转换为本程序的格式"_s).size(), c.converted) << r.out.toStdString();
        if (c.error.isEmpty()) {
            EXPECT_EQ(r.code, 0);
            EXPECT_EQ(r.err, QString());
            continue;
        }
        EXPECT_EQ(r.code, 1);
        const QString failing = c.error.section(u"："_s, 0, 0);
        EXPECT_EQ(r.err, c.error.arg(file(failing)) + failed + QLatin1Char('\n'));
        // The failing file and those after it: untouched; no new file but the converted ones and their
        // originals.
        EXPECT_EQ(after.value(failing), before.value(failing));
        EXPECT_EQ(after.value(u"KXPUB_BK003.MDB"_s), before.value(u"KXPUB_BK003.MDB"_s));
        EXPECT_EQ(after.size(), before.size() + c.converted);
    }
    m_folder = &folder;
}

// The operators' encoded passwords (control codes, quotes, the euro sign standing for code 128) come over
// character for character, as the login reads them (the login itself: LoginFormTest).
TEST_F(ImportFolder, OperatorsPasswordsComeOverCharacterForCharacter) {
    // clang-format off
    const struct { QString id, code, password; } operators[] = {{u"7"_s, u"x"_s, u"ag"_s}, {u"8"_s, u"张三"_s, u"密码123"_s}, {u"9"_s, u"o'brien"_s, u" p'w \"x\" "_s}};
    // clang-format on
    QStringList statements;
    for (const auto& o : operators)
        statements << u"insert into ZTUsers (Id, UserName, UserPwds) values (%1, %2, '%3')"_s.arg(
            GetSqlVal(o.id), GetSqlVal(o.code),
            LoginForm::EncodedPassword(o.code, o.password).replace(QLatin1Char('\''), u"''"_s));
    folder.makeManagerDatabase(statements);
    const QString made = file(u"NEW.MDB"_s);
    const DatabaseConverter::Summary s = DatabaseConverter::convert(folder.managerConnectString(), made);
    EXPECT_EQ(s.tables, 2);
    EXPECT_EQ(s.rows, 4);
    test::RecordingUiPort port;
    gDBType = kAccess;
    gConnectString = JetFiles::connectionString(made);
    ASSERT_EQ(Open_Connect(), 1);
    for (const auto& o : operators)
        EXPECT_EQ(LoginForm::GetUserInformation(o.code).UserPwds,
                  LoginForm::EncodedPassword(o.code, o.password))
            << o.code.toStdString();
    Close_Connect();
    EXPECT_TRUE(port.messages.isEmpty());
}

// The comparison after a conversion: an engine that hands over a value its own file cannot hold as given (a
// date without its time) is caught, and the new file is removed again.
class DateOnlyEngine final : public ado::Backend {
public:
    void open(const ado::ConnectionString&, int) override {}
    void close() override {}
    qint64 execute(const QString&) override { return -1; }
    ado::RowSet query(const QString&) override {
        ado::RowSet r;
        r.fields = {{u"A"_s, ado::adVarWChar, 10}, {u"D"_s, ado::adDate, 8}};
        r.rows = {{u"x"_s, QDate(2024, 3, 5)}};
        return r;
    }
    ado::CatalogData readCatalog() override {
        const QVector<QPair<QString, QVariant>> p = {{u"Autoincrement"_s, false}, {u"Nullable"_s, true}};
        return {{{u"T"_s, u"TABLE"_s, {{u"A"_s, ado::adVarWChar, 10, p}, {u"D"_s, ado::adDate, 8, p}}, {}}}};
    }
    void beginTrans() override {}
    void commitTrans() override {}
    void rollbackTrans() override {}
};

TEST_F(ImportFolder, ADifferenceAfterTheCopyIsNamedAndTheNewFileRemoved) {
    const QString source = JetFiles::copy(u"testV1997.mdb"_s, file(u"SRC.MDB"_s));
    const QString made = file(u"NEW.MDB"_s);
    ado::setBackendFactory(ado::EngineKind::JetFile, [] { return std::make_unique<DateOnlyEngine>(); });
    EXPECT_EQ(test::errorOf([&] {
                  DatabaseConverter::convert(JetFiles::connectionString(source), made);
              }).description(),
              u"表“T”转换后核对不符：行数相同，但数据的校验和不同"_s);
    ado::setBackendFactory(ado::EngineKind::JetFile, nullptr);
    EXPECT_FALSE(QFileInfo::exists(made));
}

TEST(TableChecksum, SameRowsInAnyOrderAndNothingElse) {
    const QVector<QVector<QVariant>> rows = {
        {u"a"_s, 1, 2.5, true, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), QByteArray("\x01\x02")},
        {u"b"_s, QVariant(), 0.0, false, QVariant(), QByteArray()},
    };
    const auto sum = [](const QVector<QVector<QVariant>>& rs) {
        TableChecksum c;
        for (const auto& r : rs)
            c.add(r);
        return c.result();
    };
    EXPECT_EQ(sum(rows), sum({rows[1], rows[0]}));
    EXPECT_EQ(sum({{-0.0}}), sum({{0.0}}));
    // clang-format off
    const struct { QVariant a, b; } differ[] = {
        {u"a"_s, u"a "_s}, {u""_s, QVariant()}, {1, u"1"_s}, {1, 2}, {0.1, 0.1f}, {QByteArray("\x01"), QByteArray("\x01\x00", 2)}, {true, 1},
        {QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 1))},
    };
    // clang-format on
    for (const auto& d : differ)
        EXPECT_NE(sum({{d.a}}), sum({{d.b}}))
            << d.a.toString().toStdString() << " / " << d.b.toString().toStdString();
    EXPECT_NE(sum(rows), sum({rows[0], rows[0]}));
    EXPECT_NE(sum({{u"ab"_s, u"c"_s}}), sum({{u"a"_s, u"bc"_s}}));
}

}  // namespace
}  // namespace ztgl
