#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

namespace ztgl {

// One account set as ZTML lists it.
struct SetRow {
    QString id;
    QString name;          // ZTMC
    QString databaseName;  // ZTLJ
    QString createTime;
    QVariant userFlag;

    // UserFlag 0, as the list shows it ("已停用").
    bool disabled() const;
    // "BK" + the Id padded to three digits ("BK" + the Id itself when it is longer): the start of
    // its backups' names.
    QString code() const;

    // The row whose Id is `id` (compared as text, blanks around ignored); none when there is none.
    // Throws on database errors.
    static std::optional<SetRow> Find(const QString& id);
    // Every row, in the order of Id.
    static QVector<SetRow> All();
};

}  // namespace ztgl
