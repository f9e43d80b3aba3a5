#include "creation/AccountSetEditor.h"

#include <QDateTime>
#include <QFileInfo>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "creation/AccountSetRows.h"
#include "creation/DatabaseCreation.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "platform/ProgramFolder.h"
#include "platform/KillPoint.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl {

namespace {
using PW = ProgressWindow;

const QString kTitle = QStringLiteral("提示信息");

void inform(const QString& text) {
    MsgBox(text, MsgButtons::Ok, MsgIcon::Information, kTitle);
}

// The date part of the database server's clock, "yyyy-MM-dd".
QString serverDate() {
    return Get_ServerTime().left(10);
}

// A stored date shown as "yyyy-MM-dd": date values and texts that read as a
// date are formatted, any other text is shown as it is.
QString formatDate(const ado::Field& field) {
    const QVariant& v = field.Value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd"));
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString text = field.text();
    for (const char* form : {"yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss", "yyyy/M/d", "yyyy/M/d H:mm:ss"}) {
        const QDateTime dt = QDateTime::fromString(text.trimmed(), QString::fromLatin1(form));
        if (dt.isValid())
            return dt.toString(QStringLiteral("yyyy-MM-dd"));
    }
    return text;
}

// The record's row of a save: the set, its database and default user; never a password.
ChangeLog::Entry changeEntry(const AccountSetEditor& editor, const QString& databaseName) {
    using E = AccountSetEditor;
    QString detail = QStringLiteral("数据库 ") + databaseName + QStringLiteral("，默认用户 ") +
                     TrimBlanks(editor.TxtDB[E::BoxUser]);
    if (!editor.IsNew && !editor.TxtDB[E::BoxPassword].isEmpty())
        detail += QStringLiteral("，密码已改");
    return {editor.IsNew ? ChangeLog::Create : ChangeLog::Modify, editor.EditId,
            TrimBlanks(editor.TxtDB[E::BoxName]), detail};
}
}  // namespace

AccountSetEditor::AccountSetEditor(AccountSetRows* list) : m_list(list) {
    TxtDB[BoxUser] = QStringLiteral("管理员");
}

AccountSetEditor::~AccountSetEditor() = default;

QString AccountSetEditor::caption() const {
    return IsNew ? QStringLiteral("新增帐套") : QStringLiteral("修改帐套");
}

QString AccountSetEditor::FormatSetCode(const QString& id) {
    switch (id.size()) {
        case 1:
            return QStringLiteral("BK00") + id;
        case 2:
            return QStringLiteral("BK0") + id;
        case 3:
            return QStringLiteral("BK") + id;
        default:
            return QString();
    }
}

QString AccountSetEditor::DatabaseNameFor(const QString& id) {
    return gManagerDBName + QLatin1Char('_') + FormatSetCode(id);
}

void AccountSetEditor::Form_Load() {
    m_focus = BoxName;
    if (IsNew) {
        TxtDB[BoxName].clear();
        TxtDB[BoxPassword].clear();
        TxtDB[BoxConfirm].clear();
        lblCreateTime = serverDate();
    } else {
        LoadSetInfo();
    }
    changed();
    if (!m_unloaded && m_view)
        m_view->focusBox(m_focus);
}

void AccountSetEditor::LoadSetInfo() {
    try {
        ado::Recordset rs;
        rs.Open(QStringLiteral("select * from ZTML where Id=") + GetSqlVal(EditId), SharedConn());
        if (rs.Eof()) {
            Close_Recordset(rs);
            inform(QStringLiteral("没有找到要修改的帐套信息，请重新选择！"));
            Unload();
            return;
        }
        TxtDB[BoxName] = rs.Fields(QStringLiteral("ZTMC")).text();
        const ado::Field created = rs.Fields(QStringLiteral("CreateTime"));
        lblCreateTime = created.isNull() ? serverDate() : formatDate(created);
        m_setDatabaseName = rs.Fields(QStringLiteral("ZTLJ")).text();
        Close_Recordset(rs);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("LoadSetInfo():"), e);
        Unload();
        return;
    }
    try {
        LoadDefaultUser(m_setDatabaseName);
    } catch (const std::exception& e) {
        // Without the set's own database the default user cannot be shown or
        // changed.
        try {
            m_target.Close();
        } catch (...) {
        }
        ReportError(QStringLiteral("LoadDefaultUser():"), e);
        Unload();
    }
}

void AccountSetEditor::LoadDefaultUser(const QString& databaseName) {
    m_target.Open(Get_ZtConnectString(databaseName, gConnectString));
    ado::Recordset rs;
    rs.Open(QStringLiteral("select * from Users where Id='0'"), m_target.conn());
    if (!rs.Eof()) {
        TxtDB[BoxUser] = rs.Fields(QStringLiteral("Uname")).text();
        TxtDB[BoxPassword].clear();
        TxtDB[BoxConfirm].clear();
    }
    rs.Close();
    m_target.Close();
}

bool AccountSetEditor::UserNameExists(const QString& databaseName, const QString& userName) {
    m_target.Open(Get_ZtConnectString(databaseName, gConnectString));
    ado::Recordset rs;
    rs.Open(QStringLiteral("select * from Users where Id <> '0' and Uname=") + GetSqlVal(userName),
            m_target.conn());
    const bool exists = rs.RecordCount() >= 1;
    rs.Close();
    m_target.Close();
    return exists;
}

bool AccountSetEditor::fail(const QString& message, int box) {
    inform(message);
    setFocus(box);
    return false;
}

bool AccountSetEditor::CheckInput() {
    const QString name = TrimBlanks(TxtDB[BoxName]);
    if (name.isEmpty())
        return fail(QStringLiteral("请录入帐套的名称！"), BoxName);

    QString sql = QStringLiteral("select * from ZTML where ZTMC=") + GetSqlVal(name);
    if (!IsNew)
        sql += QStringLiteral(" AND ID<>") + GetSqlVal(EditId);
    ado::Recordset rs;
    rs.Open(sql, SharedConn());
    const bool taken = rs.RecordCount() >= 1;
    Close_Recordset(rs);
    if (taken)
        return fail(
            QStringLiteral("已经存在“") + TxtDB[BoxName] + QStringLiteral("”帐套，请重新录入帐套名称！"),
            BoxName);

    if (TrimBlanks(TxtDB[BoxUser]).isEmpty())
        return fail(QStringLiteral("请录入默认用户的名称！"), BoxUser);

    if (!IsNew) {
        if (UserNameExists(m_setDatabaseName, TrimBlanks(TxtDB[BoxUser])))
            return fail(
                QStringLiteral("已经存在“") + TxtDB[BoxUser] + QStringLiteral("”用户，请重新录入用户名称！"),
                BoxUser);
        if (TxtDB[BoxPassword].isEmpty() && TxtDB[BoxConfirm].isEmpty()) {
            if (MsgBox(QStringLiteral("确定不修改用户的密码？"), MsgButtons::YesNo, MsgIcon::Information,
                       kTitle) == MsgAnswer::Yes)
                return true;
            setFocus(BoxPassword);
            return false;
        }
    }
    if (TxtDB[BoxPassword].isEmpty())
        return fail(QStringLiteral("请录入用户密码，密码不能为空！"), BoxPassword);
    if (TxtDB[BoxPassword] != TxtDB[BoxConfirm])
        return fail(QStringLiteral("两次录入的密码不一致，请重新确认密码！"), BoxPassword);
    return true;
}

// New set: database (with its tables and rows), catalogue row, default user,
// list row. Modify: catalogue name, default user, list row. Each step is
// committed by itself.
void AccountSetEditor::Command_OK() {
    bool catalogueWritten = false;
    QString d;
    try {
        if (!CheckInput())
            return;
        setShown(false);
        d = DatabaseNameFor(EditId);
        if (IsNew) {
            setAvailable(false);
            m_progress.Show();
            m_progress.Refresh();
            m_progress.setCaption(PW::Label3,
                                  QStringLiteral("正在创建帐套“") + TxtDB[BoxName] + QStringLiteral("”"));
            m_progress.setCaption(PW::Label1, QString());

            DatabaseCreation creation(m_target, m_progress);
            if (!creation.CreateDataBase(d)) {
                const QString failure = creation.errorPending()
                                            ? QStringLiteral("CreateDataBase(): 数据库错误，无法创建数据库！")
                                            : QStringLiteral("创建数据库失败！");
                inform(failure);
                // An Access set is a copy of the template made in the program folder: when
                // that folder is closed to the operator, say so and name it.
                if (gDBType == kAccess && QFileInfo::exists(gAppPath + kTemplateFileName) &&
                    !FolderIsWritable(gAppPath))
                    inform(FolderNotWritableText(gAppPath));
                ChangeLog::Failed(changeEntry(*this, d), failure);
                m_progress.Unload();
                setAvailable(true);
                setShown(true);
                return;
            }
            m_progress.setCaption(PW::Label1, QStringLiteral("创建帐套信息，请稍后……"));
            ChangeLog::Recorded(changeEntry(*this, d), [&] {
                SharedConn().Execute(
                    QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values(") +
                    GetSqlVal(EditId) + QLatin1Char(',') + GetSqlVal(TrimBlanks(TxtDB[BoxName])) +
                    QLatin1Char(',') + GetSqlVal(d) + QLatin1Char(',') + GetSqlVal(serverDate()) +
                    QLatin1Char(',') + QStringLiteral("1)"));
            });
            catalogueWritten = true;
            KillPoint("catalogued");
            m_progress.setCaption(PW::Label1, QStringLiteral("新建帐套用户，请稍后……"));
        } else {
            d = m_setDatabaseName;
            ChangeLog::Recorded(changeEntry(*this, d), [&] {
                SharedConn().Execute(QStringLiteral("Update ZTML set ZTMC=") +
                                     GetSqlVal(TrimBlanks(TxtDB[BoxName])) + QStringLiteral(" where Id=") +
                                     GetSqlVal(EditId));
            });
            catalogueWritten = true;
        }

        m_target.Open(Get_ZtConnectString(d, gConnectString));
        QString sql = QStringLiteral("Update Users set Uname=") + GetSqlVal(TrimBlanks(TxtDB[BoxUser]));
        if (!TxtDB[BoxPassword].isEmpty() && !TxtDB[BoxConfirm].isEmpty())
            sql += QStringLiteral(",PWD=") +
                   GetSqlVal(Set_Mima(QLatin1Char('0') + TxtDB[BoxPassword] + QLatin1Char('0')));
        sql += QStringLiteral(" where Id='0'");
        m_target.conn().Execute(sql);
        m_target.Close();

        RefreshListRow(d);
        if (IsNew)
            m_progress.Unload();
        setAvailable(true);
        m_saved = true;
        Unload();
        inform(IsNew ? QStringLiteral("已经成功创建新帐套！") : QStringLiteral("已经成功修改帐套！"));
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Command_OK()::"), e);
        ChangeLog::Failed(changeEntry(*this, d), QStringLiteral("Command_OK()::") + errorText(e));
        windUp(catalogueWritten, d);
    }
}

// After a failure the operator always gets a usable window back. When the
// catalogue already holds the change, the list shows it too and the dialog
// closes (a retry would only trip over the set's own name); otherwise the
// dialog comes back with the entries kept, for a retry.
void AccountSetEditor::windUp(bool catalogueWritten, const QString& databaseName) {
    try {
        m_target.Close();
    } catch (...) {
    }
    m_progress.Unload();
    setAvailable(true);
    if (!catalogueWritten) {
        setShown(true);
        return;
    }
    try {
        RefreshListRow(databaseName);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Command_OK()::"), e);
    }
    Unload();
}

void AccountSetEditor::RefreshListRow(const QString& databaseName) {
    if (!m_list)
        return;
    if (IsNew)
        m_list->appendNewSet(EditId, TxtDB[BoxName], databaseName, lblCreateTime);
    else
        m_list->renameCurrentSet(TxtDB[BoxName]);
}

void AccountSetEditor::command1_Click(int index) {
    if (index == 0)
        Unload();
    else if (index == 1)
        Command_OK();
}

void AccountSetEditor::setFocus(int box) {
    m_focus = box;
    if (m_view)
        m_view->focusBox(box);
}

// The editor and the main window together: neither can be used while a set is
// being made.
void AccountSetEditor::setAvailable(bool available) {
    m_enabled = available;
    ui().setMainWindowEnabled(available);
    changed();
}

void AccountSetEditor::setShown(bool visible) {
    m_visible = visible;
    changed();
}

void AccountSetEditor::Unload() {
    m_unloaded = true;
    m_visible = false;
    changed();
}

void AccountSetEditor::changed() {
    if (m_view)
        m_view->editorChanged();
}

}  // namespace ztgl
