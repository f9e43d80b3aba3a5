#pragma once

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>

#include "audit/ChangeEntry.h"

namespace ztgl {

// The record of every change this program makes: one row per action in table CZRZ of the
// manager's database, with operator, the server's time, workstation, action, set and outcome.
// - Changes of the manager's database (the catalogue, the operators) and their row are written in
//   one transaction (Recorded): the change does not stand without its row.
// - Changes elsewhere (a set's own database, backup files) are followed by their row (Append).
// - A failed action is recorded as failed (Failed), after the failure has been reported.
// - The program has no command that edits or deletes rows: nothing here does.
// - A manager's database older than the record gets the table on first use (Ensure). On one that
//   cannot be written, changes of the manager's database fail with the engine's error, as they
//   would without the record; Append answers false and its caller says so.
class ChangeLog {
public:
    enum Action { Create, Modify, Disable, Enable, Upgrade, Password, Backup, Restore, Retire, Import };

    // What one row says besides who, where, when and the outcome.
    struct Entry {
        Action action;
        QString setId;
        QString setName;
        QString detail;
    };

    static const QString kTable;      // "CZRZ"
    static const QString kSucceeded;  // "成功"
    static const QString kFailed;     // "失败"

    // The text stored for an action: "新增帐套", "修改帐套", "停用帐套", "启用帐套", "升级权限",
    // "修改密码", "备份帐套", "恢复帐套", "注销帐套", "导入帐套".
    static QString actionText(Action action);

    // Runs `change` on the shared connection and appends its row in the same transaction: 成功, or
    // 失败 when `succeeded` is given and answers false afterwards (for a change that reports its own
    // failures and goes on). When `change` throws, or the row cannot be written, the transaction is
    // rolled back and the error goes on to the caller, whose trap reports it and calls Failed().
    static void Recorded(const Entry& entry, const std::function<void()>& change,
                         const std::function<bool()>& succeeded = {});
    // Appends one row by itself. False, with the reason in `error`, when it could not be written;
    // never throws.
    static bool Append(const Entry& entry, bool succeeded, QString* error = nullptr);
    // Records a failure that has been reported already; `reason` becomes the detail.
    static void Failed(const Entry& entry, const QString& reason);

    // Rows in the order written; of one set when `setId` is not empty; from the day `since` on
    // when it is valid. Throws when the table can neither be read nor made.
    static QVector<ChangeEntry> Read(const QString& setId = QString(), const QDate& since = QDate());

    // Makes the table on the shared connection when it is missing; throws when it can neither be
    // read nor made.
    static void Ensure();
    // The table's definition and a row's statement for the manager's database kind (gDBType). The
    // time is the server's (now() / getdate()), written by the statement itself.
    static QString CreateTableStatement();
    static QString InsertStatement(const Entry& entry, bool succeeded);

    // Who acts: the logged-in operator's code; without a login (ztgl-admin) the system account
    // that runs the program, in brackets ("[root]").
    static QString Actor();
    // The computer's name.
    static QString Workstation();
};

}  // namespace ztgl
