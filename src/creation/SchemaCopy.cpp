#include "creation/SchemaCopy.h"

#include "ado/Recordset.h"
#include "creation/ProgressWindow.h"
#include "creation/RowCopy.h"
#include "creation/SqlTypeName.h"
#include "platform/RuntimeError.h"
#include "process/UiPort.h"

namespace ztgl {

namespace {
using PW = ProgressWindow;

// ADOX's answer for a table or column that is not in the catalogue.
RuntimeError itemNotFound() {
    return RuntimeError(3265, QStringLiteral("在对应所需名称或序数的集合中，未找到项目。"));
}
}  // namespace

SchemaCopy::SchemaCopy(const QString& templateConnectString, Execute execute, ProgressWindow& progress)
    : m_templateConnectString(templateConnectString), m_execute(std::move(execute)), m_progress(progress) {}

SchemaCopy::~SchemaCopy() = default;

void SchemaCopy::openTemplate() {
    if (m_template.State() == ado::adStateOpen)
        return;
    m_template.setConnectionString(m_templateConnectString);
    m_template.Open();
    m_tables = m_template.readCatalog().tables;
    m_tableIndex.clear();
    for (int i = 0; i < m_tables.size(); ++i)
        m_tableIndex.insert(m_tables[i].name.toUpper(), i);
}

const ado::CatalogTable& SchemaCopy::table(const QString& name) const {
    const auto it = m_tableIndex.constFind(name.toUpper());
    if (it == m_tableIndex.constEnd())
        throw itemNotFound();
    return m_tables[*it];
}

bool SchemaCopy::XZBJG() {
    QStringList names;
    try {
        openTemplate();
        const int n = m_tables.size();
        names.resize(n);
        for (int i = 0; i < n; ++i) {
            ui().doEvents();
            const QString& name = m_tables[i].name;
            if (name.left(4).toUpper() != QLatin1String("MSYS") && !name.startsWith(QLatin1Char('~')))
                names[i] = name;
        }
        m_progress.setMax(PW::ProgressBar1, n);
        m_progress.setMin(PW::ProgressBar1, 0);
        m_progress.setValue(PW::ProgressBar1, 0);
        for (int i = 0; i < n; ++i) {
            m_progress.setValue(PW::ProgressBar1, m_progress.value(PW::ProgressBar1) + 1);
            ui().doEvents();
            if (names[i].trimmed().isEmpty())
                continue;
            m_progress.setCaption(PW::Label1,
                                  QStringLiteral("正在创建") + names[i] + QStringLiteral("表，请稍后……"));
            CreatTable(names[i]);
        }
        m_template.Close();
        return true;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("XZBJG::"), e);
        try {
            m_template.Close();
        } catch (...) {
        }
        return false;
    }
}

void SchemaCopy::CreatTable(const QString& t) {
    try {
        openTemplate();
        m_progress.setVisible(PW::ProgressBar2, true);
        m_progress.setVisible(PW::Label2, true);

        ado::Recordset rs;
        rs.Open(QStringLiteral("Select * From ") + t, m_template);
        const auto fields = rs.rows().fields;
        const int last = fields.size() - 1;
        m_progress.setMax(PW::ProgressBar2, fields.size());
        m_progress.setMin(PW::ProgressBar2, 0);
        m_progress.setValue(PW::ProgressBar2, 0);
        m_progress.setCaption(PW::Label2, QStringLiteral("正在创建") + t + QStringLiteral("表结构"));

        QString sql = QStringLiteral("CREATE TABLE ") + t + QLatin1Char('(');
        QString keyColumns;
        QString columns;
        for (int i = 0; i <= last; ++i) {
            ui().doEvents();
            m_progress.setValue(PW::ProgressBar2, m_progress.value(PW::ProgressBar2) + 1);
            const ado::FieldInfo& f = fields[i];
            QString defaultText;
            const QString notNull = GetFieldIndex(t, f.name, defaultText);
            sql += f.name + QLatin1Char(' ') + GetSqlTypeName(f.type) + QLatin1Char(' ');
            if (f.type == ado::adVarWChar)
                sql += QLatin1Char('(') + QString::number(f.definedSize) + QStringLiteral(") ");
            if (notNull == QLatin1String("True"))
                sql += QStringLiteral("not null ");
            if (!defaultText.isEmpty())
                sql += QStringLiteral("DEFAULT ") + defaultText + QLatin1Char(' ');
            int keyType = 0;
            if (CheckKeys(t, f.name, keyType)) {
                if (keyType == ado::adKeyPrimary || keyType == ado::adKeyForeign)
                    keyColumns += f.name + QLatin1Char(',');
                else if (keyType == ado::adKeyUnique)
                    sql += QStringLiteral("UNIQUE ");
            }
            if (i != last)
                sql += QLatin1Char(',');
            columns += f.name + QLatin1Char(',');
        }
        if (!keyColumns.isEmpty()) {
            keyColumns.chop(1);
            if (keyColumns.contains(QLatin1Char(',')))
                sql += QStringLiteral(",constraint ") + t + QStringLiteral("_Key_Kx primary  key(") +
                       keyColumns + QLatin1Char(')');
            else
                sql += QStringLiteral(",constraint ") + t + QLatin1Char('_') + keyColumns +
                       QStringLiteral(" primary  key(") + keyColumns + QLatin1Char(')');
        }
        sql += QLatin1Char(')');
        // Jet keeps text defaults in double quotes; the server wants single ones.
        sql.replace(QLatin1Char('"'), QLatin1Char('\''));
        m_execute(sql);

        columns.chop(1);
        columns = QLatin1Char('(') + columns + QLatin1Char(')');
        if (rs.RecordCount() > 0)
            CopyRows(t, rs, columns, m_execute, m_progress);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("CreatTable::"), e);
    }
}

QString SchemaCopy::GetFieldIndex(const QString& tableName, const QString& fieldName, QString& defaultText) {
    QString result;
    defaultText.clear();
    try {
        openTemplate();
        const ado::CatalogColumn* column = nullptr;
        for (const auto& c : table(tableName).columns)
            if (c.name.compare(fieldName, Qt::CaseInsensitive) == 0) {
                column = &c;
                break;
            }
        if (!column)
            throw itemNotFound();
        for (const auto& p : column->properties) {
            if (p.first == QLatin1String("Nullable"))
                result = p.second.toBool() ? QStringLiteral("False") : QStringLiteral("True");
            else if (p.first == QLatin1String("Default"))
                defaultText = p.second.toString();
        }
    } catch (...) {
        result = QStringLiteral("False");
    }
    return result;
}

bool SchemaCopy::CheckKeys(const QString& tableName, const QString& fieldName, int& keyType) {
    openTemplate();
    const QString wanted = fieldName.toUpper();
    for (const auto& key : table(tableName).keys)
        for (const auto& column : key.columns)
            if (column.toUpper() == wanted) {
                keyType = key.type;
                return true;
            }
    return false;
}

}  // namespace ztgl
