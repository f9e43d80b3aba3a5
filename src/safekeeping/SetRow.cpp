#include "safekeeping/SetRow.h"

#include "ado/Recordset.h"
#include "catalogue/AccountSetList.h"
#include "creation/AccountSetEditor.h"
#include "db/PubSql.h"

namespace ztgl {
namespace {

QVector<SetRow> rows(const QString& sql) {
    ado::Recordset rs;
    Open_Recordset(rs, sql);
    QVector<SetRow> out;
    for (; !rs.Eof(); rs.MoveNext())
        out.append({rs.Fields(QStringLiteral("Id")).text(), rs.Fields(QStringLiteral("ZTMC")).text(),
                    rs.Fields(QStringLiteral("ZTLJ")).text(), rs.Fields(QStringLiteral("CreateTime")).text(),
                    rs.Fields(QStringLiteral("UserFlag")).Value()});
    Close_Recordset(rs);
    return out;
}

}  // namespace

bool SetRow::disabled() const {
    return AccountSetList::statusText(userFlag) == AccountSetList::kDisabled;
}

QString SetRow::code() const {
    const QString code = AccountSetEditor::FormatSetCode(id);
    return code.isEmpty() ? QStringLiteral("BK") + id : code;
}

std::optional<SetRow> SetRow::Find(const QString& id) {
    const QVector<SetRow> found =
        rows(QStringLiteral("select * from ZTML where Id=") + GetSqlVal(id.trimmed()));
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QVector<SetRow> SetRow::All() {
    return rows(QStringLiteral("select * from ZTML Order By Id"));
}

}  // namespace ztgl
