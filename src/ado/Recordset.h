#pragma once

#include <QString>

#include "ado/Field.h"
#include "ado/RowSet.h"

namespace ado {

class Connection;

// Client-side recordset: every row is fetched when it opens.
class Recordset {
public:
    // Runs the query on the connection; throws ztgl::RuntimeError on failure.
    void Open(const QString& sql, Connection& conn);
    void Close();
    int State() const { return m_open ? 1 : 0; }

    bool Eof() const;  // ADO's EOF (a C macro name)
    bool Bof() const { return m_pos < 0; }
    void MoveNext();
    void MoveFirst() { m_pos = 0; }
    int RecordCount() const { return m_open ? m_rows.rows.size() : -1; }

    int FieldCount() const { return m_rows.fields.size(); }
    // Field of the current row by name without regard to case; throws error 3265 when absent.
    Field Fields(const QString& name) const;
    Field Fields(int index) const;
    const RowSet& rows() const { return m_rows; }

private:
    RowSet m_rows;
    int m_pos = 0;
    bool m_open = false;
};

}  // namespace ado
