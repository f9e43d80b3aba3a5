#include "ado/Recordset.h"

#include "ado/Connection.h"
#include "platform/RuntimeError.h"

namespace ado {

using ztgl::RuntimeError;

void Recordset::Open(const QString& sql, Connection& conn) {
    m_rows = conn.query(sql);
    m_pos = 0;
    m_open = true;
}

void Recordset::Close() {
    m_rows = RowSet();
    m_pos = 0;
    m_open = false;
}

bool Recordset::Eof() const { return !m_open || m_pos >= m_rows.rows.size(); }

void Recordset::MoveNext() {
    if (Eof()) throw RuntimeError(3021, QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除，所需的操作要求一个当前的记录。"));
    ++m_pos;
}

Field Recordset::Fields(const QString& name) const {
    for (int i = 0; i < m_rows.fields.size(); ++i)
        if (m_rows.fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return Fields(i);
    throw RuntimeError(3265, QStringLiteral("在对应所需名称或序数的集合中，未找到项目。"));
}

Field Recordset::Fields(int index) const {
    if (index < 0 || index >= m_rows.fields.size())
        throw RuntimeError(3265, QStringLiteral("在对应所需名称或序数的集合中，未找到项目。"));
    if (Eof())
        throw RuntimeError(3021, QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除，所需的操作要求一个当前的记录。"));
    const FieldInfo& f = m_rows.fields[index];
    return Field(f.name, f.type, f.definedSize, m_rows.rows[m_pos].value(index));
}

}  // namespace ado
