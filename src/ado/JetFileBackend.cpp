// The read-only engine for files in Jet's own format (Access 97 to 2003), behind the Jet and ACE providers
// when the file named by "Data Source" is such a file. It serves what is asked of a template and of a file
// to import: the catalogue (JetFileCatalog) and "select * from T" with typed values. Nothing is ever written:
// the reader of Jet files opens the file read-only, and every statement but reading a whole table is
// refused with a message that names the file and the way out (ztgl-admin import).
//
// One reader of Jet files works for the connection while it is open. The catalogue is read once, when the
// connection opens. "Jet OLEDB:Database Password" must match the file's own password when it has one.
// Transactions have nothing to guard and are accepted as they are asked for.
#include <QFileInfo>
#include <algorithm>

#include "ado/Backend.h"
#include "ado/DatabaseFormat.h"
#include "ado/JetError.h"
#include "ado/JetFileCatalog.h"
#include "ado/JetFileReader.h"
#include "ado/JetFileValue.h"
#include "ado/JetLexer.h"
#include "ado/JetTypes.h"

namespace ado {
namespace {

// The table of "select * from T" (T bare or in brackets, a final ";" allowed); "" for any other statement.
QString wholeTable(const QString& sql) {
    const QVector<JetToken> t = JetLexer::tokenize(sql);
    int n = t.size();
    while (n > 0 && t[n - 1].isSymbol(';'))
        --n;
    if (n != 4 || !t[0].is("SELECT") || !t[1].isSymbol('*') || !t[2].is("FROM") || !t[3].isName())
        return QString();
    return t[3].text;
}

class JetFileBackend final : public Backend {
public:
    void open(const ConnectionString& cs, int) override {
        const QString file = cs.value(QStringLiteral("Data Source")).trimmed();
        const DatabaseFormat::Kind kind = DatabaseFormat::of(file);
        if (!DatabaseFormat::isJet(kind))
            throw JetError::unrecognisedFormat(file);
        const qint64 size = QFileInfo(file).size();
        const int page = DatabaseFormat::pageSize(kind);
        // A Jet file is whole pages, and at least its header, its page map and the catalogue's table.
        if (size % page != 0 || size < 3 * page)
            throw JetError::jetFileDamaged(file, QStringLiteral("文件不完整，可能在复制时被截断"));
        m_file = file;
        m_reader = std::make_unique<JetFileReader>(file);
        m_header = m_reader->header();
        m_tables = m_reader->catalog();
        const QString password = JetFileValue::password(m_header);
        if (!password.isEmpty() && password != cs.value(QStringLiteral("Jet OLEDB:Database Password")))
            throw JetError::badPassword(file);
        RowSet relationships;
        const JetFileTable* rel = table(QStringLiteral("MSysRelationships"));
        if (rel)
            relationships = rows(*rel);
        m_catalog = JetFileCatalog::build(m_tables, m_header, rel ? rel->columns : QVector<JetFileColumn>(),
                                          relationships.rows);
    }

    void close() override {
        m_reader.reset();
        m_tables.clear();
        m_catalog = CatalogData();
    }

    qint64 execute(const QString& sql) override {
        query(sql);
        return -1;
    }

    RowSet query(const QString& sql) override {
        const QString name = wholeTable(sql);
        if (name.isEmpty())
            throw JetError::jetFileReadOnly(m_file);
        const JetFileTable* t = table(name);
        if (!t)
            throw JetError::tableNotFound(name);
        return rows(*t);
    }

    CatalogData readCatalog() override { return m_catalog; }
    void beginTrans() override {}
    void commitTrans() override {}
    void rollbackTrans() override {}
    bool isJetFile() const override { return true; }

private:
    // Without regard to case, as Jet finds its tables.
    const JetFileTable* table(const QString& name) const {
        for (const auto& t : m_tables)
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return &t;
        return nullptr;
    }

    RowSet rows(const JetFileTable& t) {
        RowSet out;
        for (const JetFileColumn& c : t.columns) {
            const JetColumnType type = JetTypes::fromDeclared(JetFileCatalog::jetTypeName(c, m_header));
            out.fields.append({c.name, type.type, type.definedSize});
        }
        // The count of rows a table's definition keeps is only a hint: a damaged one must not ask for
        // gigabytes.
        out.rows.reserve(int(std::min<quint32>(t.rowCount, 1 << 16)));
        JetFileTable head;
        m_reader->rows(t.name, [&](JetFileFrame& f) {
            if (f.tag == JetFileFrame::Table)
                head = f.table;
            if (f.tag != JetFileFrame::Row)
                return;
            if (f.values.size() != head.columns.size() || head.columns.size() != out.fields.size())
                throw JetError::jetFileDamaged(m_file,
                                               QStringLiteral("表“%1”的结构在读取时改变了").arg(t.name));
            QVector<QVariant> row;
            row.reserve(f.values.size());
            for (int i = 0; i < f.values.size(); ++i)
                row.append(JetFileValue::decode(head.columns[i], f.values[i], m_header, m_file));
            out.rows.append(row);
        });
        return out;
    }

    QString m_file;
    std::unique_ptr<JetFileReader> m_reader;
    JetFileHeader m_header;
    QVector<JetFileTable> m_tables;
    CatalogData m_catalog;
};

}  // namespace

std::unique_ptr<Backend> createJetFileBackend() {
    return std::make_unique<JetFileBackend>();
}

}  // namespace ado
