#include "ado/JetStatement.h"

#include <sqlite3.h>

#include "ado/JetError.h"
#include "ado/JetValue.h"

namespace ado {

JetStatement::JetStatement(sqlite3* db, const QString& sql, const QString& file)
    : m_db(db), m_sql(sql), m_file(file) {
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw JetError::fromEngine(sqlite3_extended_errcode(db), message, sql, file);
    }
    if (tail)
        m_rest = QString::fromUtf8(tail);
}

JetStatement::~JetStatement() {
    sqlite3_finalize(m_stmt);
}

void JetStatement::run(sqlite3* db, const QString& sql, const QString& file) {
    JetStatement st(db, sql, file);
    while (st.step()) {
    }
}

bool JetStatement::readOnly() const {
    return !m_stmt || sqlite3_stmt_readonly(m_stmt) != 0;
}

bool JetStatement::step() {
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    const int code = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_stmt);
    throw JetError::fromEngine(code, message, m_sql, m_file);
}

int JetStatement::columnCount() const {
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString JetStatement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QString JetStatement::declaredType(int i) const {
    return QString::fromUtf8(sqlite3_column_decltype(m_stmt, i));
}

QVariant JetStatement::value(int i) const {
    return JetValue::read(sqlite3_column_value(m_stmt, i));
}

}  // namespace ado
