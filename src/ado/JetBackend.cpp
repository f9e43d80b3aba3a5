// The embedded engine behind the Jet and ACE providers: Qt's SQLite driver on the file named by
// "Data Source". Notes for the connection string:
// - "Jet OLEDB:Database Password" is accepted and ignored: the engine's files carry no password; the file
//   system's permissions protect them.
// - "Mode=Read" opens the file read-only; any other mode (Read|Write, Share …) reads and writes. A file
//   that may not be written is opened read-only too, and writing then fails with 3027.
// - The connection time-out does not apply: opening a file does not wait. A database that another
//   connection holds locked is waited for briefly (kBusyTimeoutMs), then reported.
// - Relationships are enforced (PRAGMA foreign_keys on every open), as Jet enforces them: a row whose
//   parent is missing cannot be added, a parent that still has rows cannot be deleted.
#include <sqlite3.h>

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <algorithm>

#include "ado/Backend.h"
#include "ado/DataType.h"
#include "ado/DatabaseFormat.h"
#include "ado/JetCatalog.h"
#include "ado/JetDdl.h"
#include "ado/JetError.h"
#include "ado/JetFunctions.h"
#include "ado/JetLexer.h"
#include "ado/JetSql.h"
#include "ado/JetStatement.h"
#include "ado/JetTypes.h"

namespace ado {
namespace {

using ztgl::RuntimeError;

constexpr int kBusyTimeoutMs = 1000;

// Refuses what is not a database of this engine before the engine sees it: the engine would take an
// empty file for a new database, and would only fail later on anything else. (Files in Jet's own format go
// to the engine that reads them; Connection chooses it.)
void checkFile(const QString& file) {
    switch (DatabaseFormat::of(file)) {
        case DatabaseFormat::Embedded:
            return;
        case DatabaseFormat::Missing:
            if (!QFileInfo(file).absoluteDir().exists())
                throw JetError::invalidPath(file);
            throw JetError::fileNotFound(file);
        case DatabaseFormat::Unreadable:
            throw JetError::cannotOpen(file);
        case DatabaseFormat::Jet3:
        case DatabaseFormat::Jet4:
            throw JetError::jetFileReadOnly(file);
        case DatabaseFormat::Ace:
            throw JetError::aceFormat(file);
        case DatabaseFormat::Unknown:
            break;
    }
    throw JetError::unrecognisedFormat(file);
}

bool onlySeparators(const QString& rest) {
    const QVector<JetToken> tokens = JetLexer::tokenize(rest);
    return std::all_of(tokens.begin(), tokens.end(), [](const JetToken& t) { return t.isSymbol(';'); });
}

bool changesRows(const QString& sql) {
    const QVector<JetToken> t = JetLexer::tokenize(sql.left(64));
    return !t.isEmpty() &&
           (t[0].is("INSERT") || t[0].is("UPDATE") || t[0].is("DELETE") || t[0].is("REPLACE"));
}

// Jet names an expression column without an alias Expr1000, Expr1001, … The engine names such a column by
// the expression's text, which is no plain name; a plain name is taken for an alias.
bool isPlainName(const QString& name) {
    static const QRegularExpression re(QStringLiteral(R"(^[\p{L}_][\p{L}\p{N}_$]*$)"));
    return re.match(name).hasMatch();
}

class JetBackend final : public Backend {
public:
    ~JetBackend() override { close(); }

    void open(const ConnectionString& cs, int) override {
        const QString file = cs.value(QStringLiteral("Data Source")).trimmed();
        if (file.isEmpty())
            throw JetError::fileNotFound(file);
        checkFile(file);
        const QFileInfo fi(file);
        const bool readOnly =
            cs.value(QStringLiteral("Mode")).trimmed().compare(QLatin1String("Read"), Qt::CaseInsensitive) ==
                0 ||
            !fi.isWritable();
        static QAtomicInt counter;
        m_name = QStringLiteral("ztgl_jet_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
        m_file = file;
        try {
            openEngine(fi.absoluteFilePath(), readOnly);
            sqlite3_extended_result_codes(m_db, 1);
            sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
            JetFunctions::registerAll(m_db);
            JetStatement::run(m_db, QStringLiteral("PRAGMA foreign_keys = ON"), m_file);
            try {
                JetStatement::run(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"), m_file);
            } catch (const RuntimeError& e) {
                if (e.number() == JetError::locked(file).number())
                    throw JetError::inUse(file);
                throw;
            }
        } catch (...) {
            close();
            throw;
        }
    }

    void close() override {
        if (m_name.isEmpty())
            return;
        if (m_db && !sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_db = nullptr;
        m_level = 0;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
    }

    qint64 execute(const QString& sql) override { return run(sql, nullptr); }

    RowSet query(const QString& sql) override {
        RowSet rows;
        run(sql, &rows);
        return rows;
    }

    CatalogData readCatalog() override { return JetCatalog::read(handle(), m_file); }
    sqlite3* sqliteHandle() override { return m_db; }

    void beginTrans() override {
        syncLevel();
        exec(m_level == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT ztgl_trans_%1").arg(m_level));
        ++m_level;
    }

    void commitTrans() override {
        syncLevel();
        if (m_level == 0)
            throw JetError::noTransaction();
        exec(m_level == 1 ? QStringLiteral("COMMIT")
                          : QStringLiteral("RELEASE ztgl_trans_%1").arg(m_level - 1));
        --m_level;
    }

    void rollbackTrans() override {
        syncLevel();
        if (m_level == 0)
            throw JetError::noTransaction();
        if (m_level == 1) {
            exec(QStringLiteral("ROLLBACK"));
        } else {
            exec(QStringLiteral("ROLLBACK TO ztgl_trans_%1").arg(m_level - 1));
            exec(QStringLiteral("RELEASE ztgl_trans_%1").arg(m_level - 1));
        }
        --m_level;
    }

private:
    void openEngine(const QString& path, bool readOnly) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // mode=rw never creates the file, should it vanish after the check above.
        QUrl url = QUrl::fromLocalFile(path);
        url.setQuery(readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY")
                                      : QStringLiteral("QSQLITE_OPEN_URI"));
        if (!db.open())
            throw JetError::cannotOpen(m_file);
        const QVariant h = db.driver()->handle();
        if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
            m_db = *static_cast<sqlite3* const*>(h.constData());
        if (!m_db)
            throw JetError::cannotOpen(m_file);
    }

    sqlite3* handle() const {
        if (!m_db)
            throw RuntimeError(3704, QStringLiteral("对象关闭时，不允许操作。"));
        return m_db;
    }

    void exec(const QString& sql) { JetStatement::run(handle(), sql, m_file); }

    // Statements sent as text (BEGIN, COMMIT) may have changed the transaction state behind our count.
    void syncLevel() {
        if (sqlite3_get_autocommit(handle()))
            m_level = 0;
    }

    // Runs one statement in Jet's dialect; fills `rows` when given. Returns the rows changed by an INSERT,
    // UPDATE or DELETE, -1 otherwise.
    qint64 run(const QString& sql, RowSet* rows) {
        sqlite3* db = handle();
        const JetDdl::Plan plan = JetDdl::rewrite(JetSql::rewrite(sql));
        if (!plan.after.isEmpty()) {
            runTogether(plan);
            return -1;
        }
        JetStatement st(db, plan.sql, m_file);
        if (st.isEmpty())
            throw JetError::emptyStatement();
        if (!onlySeparators(st.rest()))
            throw JetError::charactersAfterEnd();
        QVector<QVector<QVariant>> stored;
        while (st.step())
            if (rows) {
                QVector<QVariant> row;
                row.reserve(st.columnCount());
                for (int i = 0; i < st.columnCount(); ++i)
                    row.append(st.value(i));
                stored.append(row);
            }
        if (rows)
            *rows = typed(st, stored);
        return changesRows(plan.sql) ? qint64(sqlite3_changes64(db)) : -1;
    }

    // A definition and its companions (counter triggers) succeed or fail as one.
    void runTogether(const JetDdl::Plan& plan) {
        exec(QStringLiteral("SAVEPOINT ztgl_ddl"));
        try {
            exec(plan.sql);
            for (const QString& s : plan.after)
                exec(s);
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK TO ztgl_ddl; RELEASE ztgl_ddl", nullptr, nullptr, nullptr);
            throw;
        }
        exec(QStringLiteral("RELEASE ztgl_ddl"));
    }

    static RowSet typed(const JetStatement& st, const QVector<QVector<QVariant>>& stored) {
        RowSet out;
        int expr = 1000;
        for (int c = 0; c < st.columnCount(); ++c) {
            const QString declared = st.declaredType(c);
            JetColumnType type = JetTypes::fromDeclared(declared);
            if (type.type == 0) {
                QVariant first;
                for (const auto& row : stored)
                    if (row[c].isValid()) {
                        first = row[c];
                        break;
                    }
                type = JetTypes::fromValue(first);
            }
            // A column of a table (it has a declared type) keeps its name, blanks and signs included.
            QString name = st.columnName(c);
            if (declared.isEmpty() && !isPlainName(name))
                name = QStringLiteral("Expr%1").arg(expr++);
            out.fields.append({name, type.type, type.definedSize});
        }
        out.rows.reserve(stored.size());
        for (const auto& row : stored) {
            QVector<QVariant> values;
            values.reserve(row.size());
            for (int c = 0; c < row.size(); ++c)
                values.append(JetTypes::toFieldValue(out.fields[c].type, row[c]));
            out.rows.append(values);
        }
        return out;
    }

    QString m_name;  // the QSqlDatabase connection name; "" while closed
    QString m_file;
    sqlite3* m_db = nullptr;
    int m_level = 0;  // nesting of BeginTrans
};

}  // namespace

std::unique_ptr<Backend> createJetBackend() {
    return std::make_unique<JetBackend>();
}

}  // namespace ado
