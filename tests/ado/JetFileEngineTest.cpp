// The engine for files in Jet's own format, on the public test databases of tests/data/jet and on damaged,
// patched and password-protected copies of them.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "JetFiles.h"
#include "RecordingUiPort.h"
#include "RuntimeErrorOf.h"
#include "ScopedEnvironment.h"
#include "ado/Connection.h"
#include "ado/JetFileReader.h"
#include "ado/JetFileValue.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

using namespace Qt::StringLiterals;

namespace ztgl {
namespace {

using test::errorOf;
using test::JetFiles;

ado::RowSet readTable(const QString& file, const QString& table, const QString& password = QString()) {
    ado::Connection c;
    c.setConnectionString(JetFiles::connectionString(file, password));
    c.Open();
    return c.query(u"select * from "_s + table);
}

QDateTime at(int y, int m, int d, int h = 0, int min = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min));
}

TEST(JetFileValues, EveryKindOfValueComesTyped) {
    const QVector<QVector<QVariant>> table1 = {
        {u"abcdefg"_s, u"hijklmnop"_s, 2, 222, 333333333, 444.555, at(1974, 9, 21), 3.5, true},
        {u"a"_s, u"b"_s, 0, 0, 0, 0.0, at(1981, 12, 12), 0.0, false},
    };
    for (const char* file : {"testV2000.mdb", "testV1997.mdb"}) {
        SCOPED_TRACE(file);
        ado::RowSet rows = readTable(JetFiles::path(QString::fromLatin1(file)), u"Table1"_s);
        ASSERT_EQ(rows.rows.size(), 2);
        if (rows.rows[0][0] == u"a"_s)  // Jet 3 keeps them the other way round
            std::swap(rows.rows[0], rows.rows[1]);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 9; ++c) {
                EXPECT_EQ(rows.rows[r][c], table1[r][c]) << r << "," << c;
                EXPECT_EQ(rows.rows[r][c].typeId(), table1[r][c].typeId()) << r << "," << c;
            }
    }

    // A memo, an OLE object on a chain of pages, Unicode text, dates with a time, yes/no.
    const ado::RowSet msp = readTable(JetFiles::path(u"test2V2000.mdb"_s), u"MSP_PROJECTS"_s);
    ASSERT_EQ(msp.rows.size(), 1);
    ASSERT_EQ(msp.fields.size(), 74);
    const auto value = [&](const char* name) {
        for (int i = 0; i < msp.fields.size(); ++i)
            if (msp.fields[i].name == QLatin1String(name))
                return msp.rows[0][i];
        return QVariant();
    };
    const QString author = value("PROJ_PROP_AUTHOR").toString();
    EXPECT_EQ(author.size(), 348);
    EXPECT_TRUE(author.startsWith(u"Jon Iles this is a a vawesraso"_s));
    EXPECT_TRUE(author.endsWith(u"fj lkasj dlkfslkd jflksjadf as"_s));
    const QByteArray ole = value("RESERVED_BINARY_DATA").toByteArray();
    EXPECT_EQ(ole.size(), 22970);
    EXPECT_EQ(QCryptographicHash::hash(ole, QCryptographicHash::Sha1).toHex(),
              QByteArray("e5b3682c5115b9e8722cd1cfbba68dea0c1330a9"));  // as mdb-export -b hex gives it
    // clang-format off
    const struct { const char* name; QVariant value; } values[] = {
        {"PROJ_OPT_CURRENCY_SYMBOL", u"£"_s}, {"PROJ_LAST_SAVED", at(2006, 2, 3, 22, 11)}, {"PROJ_OPT_CALC_ACT_COSTS", true},
        {"PROJ_OPT_MINUTES_PER_WEEK", 2400}, {"PROJ_INFO_CAL_NAME", u"Standard"_s}};
    // clang-format on
    for (const auto& v : values)
        EXPECT_EQ(value(v.name), v.value) << v.name;
    EXPECT_TRUE(value("PROJ_PROJECT").isNull());
}

// The patched test file's Chinese text and encoded password come through the import (ImportFolder).
TEST(JetFileValues, TextsDecodeCharacterForCharacterAndRawValuesAsTyped) {
    // Jet 4 plain and compressed, Jet 3 in its code page.
    const auto text = [](const QByteArray& raw, int version, int codePage) {
        ado::JetFileHeader h;
        h.version = quint8(version);
        h.codePage = quint16(codePage);
        return ado::JetFileValue::text(raw, h);
    };
    EXPECT_EQ(text(QByteArray("\x2d\x4e\x87\x65", 4), 1, 1252), u"中文"_s);
    EXPECT_EQ(text(QByteArray::fromHex("fffe6162002d4e0063"), 1, 1252), u"ab中c"_s);
    EXPECT_EQ(text(QByteArray("\xd6\xd0\xce\xc4\x80"), 0, 936), u"中文€"_s);
    EXPECT_EQ(text(QByteArray("\xa3\x35"), 0, 1252), u"£5"_s);

    // Values the test files hold no rows of: a GUID, a negative amount, a date with its time.
    const auto value = [](quint8 type, const QByteArray& raw) {
        ado::JetFileColumn c;
        c.type = type;
        return ado::JetFileValue::decode(c, raw, ado::JetFileHeader(), QString());
    };
    EXPECT_EQ(value(ado::JetRepId, QByteArray::fromHex("33221100554477668899aabbccddeeff")),
              QVariant(u"{00112233-4455-6677-8899-AABBCCDDEEFF}"_s));
    EXPECT_EQ(value(ado::JetMoney, QByteArray::fromHex("b29e43ffffffffff")), QVariant(-1234.5678));
    EXPECT_EQ(value(ado::JetDateTime, QByteArray::fromHex("d2277dd29225e640")),
              QVariant(at(2024, 3, 5, 14, 7)));
    EXPECT_EQ(value(ado::JetInt, QByteArray::fromHex("feff")), QVariant(-2));
    EXPECT_EQ(value(ado::JetBinary, QByteArray("\0\1", 2)), QVariant(QByteArray("\0\1", 2)));
    EXPECT_EQ(errorOf([&] { value(ado::JetLong, QByteArray("\1\2", 2)); }).number(), 3049);
}

TEST(JetFileWrites, EveryStatementButReadingATableIsRefusedAndNothingIsWritten) {
    QTemporaryDir dir;
    const QString file = JetFiles::copy(u"indexTestV2003.mdb"_s, dir.filePath(u"T.mdb"_s));
    const QByteArray before = JetFiles::bytes(file);
    // Not even a file the program may not write stops it from reading.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    ado::Connection c;
    c.setConnectionString(JetFiles::connectionString(file));
    c.Open();
    EXPECT_TRUE(c.isJetFile());
    const QString refused =
        u"数据库“%1”是 Microsoft "
        u"Access（Jet）格式的文件：本程序只整表读取这种文件，从不在其中写入，也不执行别的语句。"
        "请先在程序文件夹中运行“ztgl-admin import”，把它转换为本程序的格式。"_s.arg(file);
    for (const char* sql : {"insert into Table2 (id, data) values (9, 'x')", "UPDATE Table2 SET data = 'y'",
                            "delete from Table2", "drop table Table2", "create table T (a long)",
                            "select * from Table2 where id = 1", "select count(*) from Table2"}) {
        SCOPED_TRACE(sql);
        const RuntimeError e = errorOf([&] { c.Execute(QString::fromLatin1(sql)); });
        EXPECT_EQ(e.number(), 3027);
        EXPECT_EQ(e.description(), refused);
    }
    c.BeginTrans();
    c.CommitTrans();
    EXPECT_EQ(c.query(u"SELECT * FROM [Table2];"_s).rows.size(), 3);
    EXPECT_EQ(errorOf([&] { c.query(u"select * from Nowhere"_s); }).number(), 3078);
    c.Close();
    EXPECT_EQ(JetFiles::bytes(file), before);

    // As the manager's database it cannot serve: the start-up names the way out.
    test::RecordingUiPort port;
    ResetGlobals();
    gConnectString = JetFiles::connectionString(file);
    EXPECT_EQ(Open_Connect(), 0);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text,
              u"Open_Connect():帐套管理的数据库“%1”是 Microsoft Access（Jet）格式的文件，本程序只能读取、"
              "不能修改这种文件。请先在程序文件夹中运行“ztgl-admin import”，把它和各帐套的数据库一起"
              "转换为本程序的格式，再启动本程序。"_s.arg(file));
    EXPECT_EQ(port.messages[0].title, u"提示信息"_s);
    ResetGlobals();
}

// Bytes of a Jet 4 file changed in place: each case gets a clear error, when opening or when reading the
// table, and the file stays as it was.
TEST(JetFileBadInput, DamagedForeignAndProtectedFilesGetClearMessages) {
    QTemporaryDir dir;
    const QByteArray good = JetFiles::bytes(JetFiles::path(u"testV2000.mdb"_s));
    // The data page of Table1 (its definition is page 24).
    qsizetype table1Page = -1;
    for (qsizetype p = 0; p * 4096 < good.size() && table1Page < 0; ++p)
        if (good[p * 4096] == 1 && qFromLittleEndian<quint32>(good.constData() + p * 4096 + 4) == 24)
            table1Page = p;
    ASSERT_GT(table1Page, 0);
    QByteArray zeroPage = good, hangs = good, ace = good, password = good;
    zeroPage.replace(table1Page * 4096, 4096, QByteArray(4096, '\0'));
    hangs[0x2c2f8e] = char(0xbf);  // a byte that sends libmdb round in circles
    ace.replace(4, 15, "Standard ACE DB");
    ace[0x14] = 2;
    const QByteArray secret("s\0e\0c\0r\0e\0t\0", 12);  // the header is masked: XOR writes a password in
    for (int i = 0; i < secret.size(); ++i)
        password[0x42 + i] = char(password[0x42 + i] ^ secret[i]);
    QByteArray startsLikeJet = good.left(4096) + QByteArray(3 * 4096, '\x5a');

    ado::JetFileReader::setIdleTimeout(2000);
    const auto damaged = [](const QString& detail) {
        return u"无法读取数据库“%1”，文件已经损坏（"_s + detail +
               u"）。请先在 Microsoft Access 中用“压缩和修复数据库”修复它。"_s;
    };
    // clang-format off
    const struct { const char* name; QByteArray bytes; int number; QString text; } cases[] = {  // text: %1 the file; empty: only the number and the file name are certain
        {"truncated.mdb", good.left(good.size() / 2 + 100), 3049, damaged(u"文件不完整，可能在复制时被截断"_s)},
        {"cut at a page.mdb", good.left(40 * 4096), 3049, damaged(u"表“Table3”的定义无法读取"_s)},
        // The pages holding the properties of the columns (defaults, Required) are gone.
        {"cut before its properties.mdb", JetFiles::bytes(JetFiles::path(u"indexTestV2003.mdb"_s)).left(65 * 4096), 3049, damaged(u"表“MSysObjects”的字段“LvProp”的长值数据损坏"_s)},
        {"zero page.mdb", zeroPage, 3049, damaged(u"表“Table1”的定义记有 2 行，读到的却是 0 行"_s)},
        {"column count.mdb", JetFiles::bytes(JetFiles::path(u"testV1997.mdb"_s)).replace(3 * 2048 + 26, 1, "\x3a"), 3049, damaged(u"表“MSysACEs”的定义无法读取"_s)},
        {"column count jet4.mdb", QByteArray(good).replace(30 * 4096 + 46, 1, "\x40"), 3049, damaged(u"表“Table2”的定义无法读取"_s)},
        {"row count.mdb", good.left(24 * 4096 + 16) + QByteArray("\0\0\0\x70", 4) + good.mid(24 * 4096 + 20), 3049, damaged(u"表“Table1”的定义记有 1879048192 行，读到的却是 2 行"_s)},
        {"hangs.mdb", hangs, 3049, damaged(u"读取程序 2 秒内没有读出任何内容"_s)}, {"starts like jet.mdb", startsLikeJet, 3049, QString()},
        {"ace.accdb", ace, 3343, u"“%1”是 Access 2007 或更新版本（ACE，.accdb）格式的数据库文件，本程序读不了这种格式。请在 Microsoft Access 中把它另存为“Access 2002-2003 数据库（.mdb）”后再试。"_s},
        {"password.mdb", password, 3031, u"不是有效的密码。数据库“%1”设有密码，所给的密码与它不符。"_s},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QString::fromLatin1(c.name));
        JetFiles::write(file, c.bytes);
        const RuntimeError e = errorOf([&] { readTable(file, u"Table1"_s); });
        EXPECT_EQ(e.number(), c.number) << e.description().toStdString();
        EXPECT_TRUE(c.text.isEmpty() ? e.description().contains(file) : e.description() == c.text.arg(file))
            << e.description().toStdString();
        EXPECT_EQ(JetFiles::bytes(file), c.bytes);
    }
    // The right password opens the protected copy.
    EXPECT_EQ(readTable(dir.filePath(u"password.mdb"_s), u"Table1"_s, u"secret"_s).rows.size(), 2);

    // A reader that dies, and one that is not there.
    const QString crashing = dir.filePath(u"crashing-reader"_s);
    JetFiles::write(crashing, "#!/bin/sh\nkill -SEGV $$\n");
    QFile::setPermissions(crashing, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    test::ScopedEnvironment env;
    env.set("ZTGL_JETREAD", crashing.toLocal8Bit());
    const QString goodCopy = JetFiles::copy(u"testV2000.mdb"_s, dir.filePath(u"good.mdb"_s));
    RuntimeError e = errorOf([&] { readTable(goodCopy, u"Table1"_s); });
    EXPECT_EQ(e.description(), damaged(u"读取程序异常终止"_s).arg(goodCopy));
    env.set("ZTGL_JETREAD", dir.filePath(u"no-such-reader"_s).toLocal8Bit());
    e = errorOf([&] { readTable(goodCopy, u"Table1"_s); });
    EXPECT_EQ(e.number(), 3706);
    EXPECT_EQ(e.description(), u"找不到读取 Access 数据库文件的程序“%1”，请重新安装本程序。"_s.arg(
                                   dir.filePath(u"no-such-reader"_s)));
    ado::JetFileReader::setIdleTimeout(30000);
}

}  // namespace
}  // namespace ztgl
