#pragma once

#include <QString>
#include <functional>

namespace ado {
class Recordset;
}

namespace ztgl {

class ProgressWindow;

// Copies the template rows of `table` into the new database: one "Insert into" statement per
// row, run through `execute` in the order the template returns them, each value written by
// GetSqlVal. `rows` is the open template recordset on its first row, `columnList` the text
// "(A,B,...)". The first failing statement ends the copy (the error reaches the caller); the
// rows inserted before it stay. Moves ProgressBar2 and writes Label2.
void CopyRows(const QString& table, ado::Recordset& rows, const QString& columnList,
              const std::function<void(const QString&)>& execute, ProgressWindow& progress);

}  // namespace ztgl
