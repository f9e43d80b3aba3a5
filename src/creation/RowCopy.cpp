#include "creation/RowCopy.h"

#include "ado/Recordset.h"
#include "creation/ProgressWindow.h"
#include "db/PubSql.h"

namespace ztgl {

void CopyRows(const QString& table, ado::Recordset& rows, const QString& columnList,
              const std::function<void(const QString&)>& execute, ProgressWindow& progress) {
    progress.setMax(ProgressWindow::ProgressBar2, rows.RecordCount() + 1);
    progress.setMin(ProgressWindow::ProgressBar2, 0);
    progress.setValue(ProgressWindow::ProgressBar2, 0);
    progress.setCaption(ProgressWindow::Label2,
                        QStringLiteral("正在插入表") + table + QStringLiteral("的初始数据"));

    const QString head = QStringLiteral("Insert into ") + table + columnList + QStringLiteral(" values(");
    const int fieldCount = rows.FieldCount();
    while (!rows.Eof()) {
        progress.setValue(ProgressWindow::ProgressBar2, progress.value(ProgressWindow::ProgressBar2) + 1);
        QString sql = head;
        for (int i = 0; i < fieldCount; ++i)
            sql += GetSqlVal(rows.Fields(i).Value()) + QLatin1Char(',');
        sql.chop(1);
        sql += QLatin1Char(')');
        execute(sql);
        rows.MoveNext();
    }
}

}  // namespace ztgl
