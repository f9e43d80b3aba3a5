#pragma once

#include <QDateTime>
#include <QString>

namespace ztgl {

// One row of the record of changes (table CZRZ), as read back.
struct ChangeEntry {
    qint64 id = 0;         // Id: the order of writing
    QDateTime time;        // CZSJ: the database server's clock when the row was written
    QString operatorName;  // CZY: operator code, or "[account]" for a run without login
    QString workstation;   // GZZ: the computer the change was made from
    QString action;        // CZLX: "新增帐套", "停用帐套", …
    QString setId;         // ZTID: the set's Id, "" for changes that concern no one set
    QString setName;       // ZTMC: the set's name at the time
    QString outcome;       // CZJG: "成功" or "失败"
    QString detail;        // CZSM: what was done, or why it failed
};

}  // namespace ztgl
