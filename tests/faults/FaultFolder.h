#pragma once

#include <gtest/gtest.h>

#include "ProgramFolder.h"

struct sqlite3;

namespace ztgl::test {

// A demo program folder (kxconfig.ini, KXPUB.MDB with the operator admin, the template) on which
// the fault tests run ztgl-admin, and what they check afterwards. The databases are only read (opened
// read-only), so that a check never changes what it checks.
class FaultFolder : public AdminFolder {
public:
    using AdminFolder::AdminFolder;

    // ztgl-admin create with the default user "王五" and password "pw".
    AdminRun create(const QString& name, const AdminSetup& setup = {}, bool yes = false) const;
    // Rows of a query on a database file of the folder, the values of a row joined by "|"; a
    // database that cannot be read gives its error as the only row, prefixed "error:".
    QStringList query(const QString& fileName, const QString& sql) const;
    // Every row of every table of a database file, table by table.
    QStringList dump(const QString& fileName) const;
    QByteArray bytes(const QString& fileName) const;

    // What contradicts "the catalogue and the files agree": a catalogued set whose file is missing
    // or no database with its default user; a file named like a set that no row names and that is
    // not a whole copy of the template (such a copy is what a failed creation may leave; creating
    // the set again replaces it after the overwrite question).
    QStringList inconsistencies() const;
};

// A connection of another program to a database file, holding it locked until it goes: a write
// transaction (others may still read) or an exclusive one (a writer in the middle of its commit).
class ForeignWriter {
public:
    enum class Lock { Write, Exclusive };
    ForeignWriter(const QString& file, Lock lock);
    ~ForeignWriter();
    ForeignWriter(const ForeignWriter&) = delete;
    ForeignWriter& operator=(const ForeignWriter&) = delete;
    bool holds() const { return m_holds; }

private:
    sqlite3* m_db = nullptr;
    bool m_holds = false;
};

// The fault tests' fixture: a demo folder each, with the sets "甲公司" and "乙公司" where asked.
template <class Case, bool kTwoSets = false>
class FaultTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error();
        for (const char* name : {"甲公司", "乙公司"})
            ASSERT_TRUE(!kTwoSets || folder.create(QString::fromUtf8(name)).code == 0) << name;
    }
    FaultFolder folder;
};

}  // namespace ztgl::test
