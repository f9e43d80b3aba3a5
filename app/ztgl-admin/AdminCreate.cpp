// ztgl-admin create, modify and script: the account-set editor without a screen, and the
// statements a new set on SQL Server would be built with, for a database administrator to read.
#include <QDir>
#include <QFileInfo>

#include "AdminCommand.h"
#include "ConsoleProgress.h"
#include "creation/ProgressWindow.h"
#include "creation/AccountSetEditor.h"
#include "creation/DatabaseCreation.h"
#include "creation/SchemaCopy.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "platform/ProgramFolder.h"
#include "process/Globals.h"

namespace ztgl::admin {
namespace {

// Without --password the stored password stays: the dialog's question "确定不修改用户的密码？"
// is answered Yes on the operator's behalf; every other message goes to the console as usual.
class KeepPasswordPort final : public UiPort {
public:
    explicit KeepPasswordPort(UiPort& inner) : m_inner(inner) {}
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override {
        if (text == QStringLiteral("确定不修改用户的密码？"))
            return MsgAnswer::Yes;
        return m_inner.message(text, title, icon, buttons);
    }
    void showModal(ModalForm& form) override { m_inner.showModal(form); }
    void doEvents() override { m_inner.doEvents(); }
    void setMainWindowEnabled(bool enabled) override { m_inner.setMainWindowEnabled(enabled); }

private:
    UiPort& m_inner;
};

// Counts the messages shown (the schema copy reports each failed table and goes on).
class CountingPort final : public UiPort {
public:
    explicit CountingPort(UiPort& inner) : m_inner(inner) {}
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override {
        ++count;
        return m_inner.message(text, title, icon, buttons);
    }
    void showModal(ModalForm& form) override { m_inner.showModal(form); }
    void doEvents() override { m_inner.doEvents(); }
    void setMainWindowEnabled(bool enabled) override { m_inner.setMainWindowEnabled(enabled); }
    int count = 0;

private:
    UiPort& m_inner;
};

// Runs the editor's confirmation and reports where the set is; closes the shared connection.
int confirm(AccountSetEditor& editor, AdminContext& ctx) {
    ConsoleProgress::showOnTerminal(editor.progress(), ctx.err);
    editor.Command_OK();
    const bool saved = editor.saved();
    if (saved)
        ctx.out << QStringLiteral("帐套编号：") << editor.EditId << QStringLiteral("  数据库：")
                << (editor.IsNew ? AccountSetEditor::DatabaseNameFor(editor.EditId)
                                 : editor.setDatabaseName())
                << Qt::endl;
    Close_Connect();
    return saved ? ExitOk : ExitFailed;
}

int runCreate(AdminContext& ctx) {
    QStringList args = ctx.args;
    QString name, user, password;
    bool bad = false;
    const bool hasName = takeOption(args, QStringLiteral("--name"), name, bad);
    const bool hasUser = takeOption(args, QStringLiteral("--user"), user, bad);
    const bool hasPassword = takeOption(args, QStringLiteral("--password"), password, bad);
    if (bad || !hasName || !hasUser || !hasPassword || !args.isEmpty())
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;

    AccountSetEditor editor(nullptr);
    const qint32 id = Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID"));
    if (id <= 0) {  // Get_UniqV has told why
        Close_Connect();
        return ExitFailed;
    }
    editor.EditId = QString::number(id);
    editor.IsNew = true;
    editor.Form_Load();
    editor.TxtDB = {name, user, password, password};
    return confirm(editor, ctx);
}

int runModify(AdminContext& ctx) {
    QStringList args = ctx.args;
    QString name, user, password;
    bool bad = false;
    const bool hasName = takeOption(args, QStringLiteral("--name"), name, bad);
    const bool hasUser = takeOption(args, QStringLiteral("--user"), user, bad);
    const bool hasPassword = takeOption(args, QStringLiteral("--password"), password, bad);
    if (bad || args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;

    AccountSetEditor editor(nullptr);
    editor.EditId = args.first();
    editor.IsNew = false;
    editor.Form_Load();
    if (editor.isUnloaded()) {  // the set is gone or unreadable; the reason was shown
        Close_Connect();
        return ExitFailed;
    }
    if (hasName)
        editor.TxtDB[AccountSetEditor::BoxName] = name;
    if (hasUser)
        editor.TxtDB[AccountSetEditor::BoxUser] = user;
    if (hasPassword) {
        editor.TxtDB[AccountSetEditor::BoxPassword] = password;
        editor.TxtDB[AccountSetEditor::BoxConfirm] = password;
        return confirm(editor, ctx);
    }
    UiPort& console = ui();
    KeepPasswordPort keep(console);
    setUi(&keep);
    const int rc = confirm(editor, ctx);
    setUi(&console);
    return rc;
}

// The statements a new set on SQL Server is built with, for the template of the program folder,
// in the order they would run. The database name and the data directory (which the server
// tells at creation) are sqlcmd variables; every statement is followed by GO.
int runScript(AdminContext& ctx) {
    if (!ctx.args.isEmpty())
        return ExitUsage;
    const QFileInfo folder(ctx.dir);
    gAppPath = WithTrailingSeparator(QDir::toNativeSeparators(folder.absoluteFilePath()));
    const QString templateFile = gAppPath + kTemplateFileName;
    if (!QFileInfo::exists(templateFile)) {
        ctx.err << QStringLiteral("找不到模板数据库：") << templateFile << Qt::endl;
        return ExitFailed;
    }
    // Literals as the server takes them (dates in single quotes).
    const QString kind = gDBType;
    gDBType = kSqlServer;

    const QString n = QStringLiteral("$(DBNAME)");
    QTextStream& out = ctx.out;
    out << QStringLiteral("-- 新建帐套（SQL Server）时依次执行的语句。模板：") << templateFile << '\n'
        << QStringLiteral(
               "-- DBNAME：新帐套的数据库名（管理库名_BK三位编号）；DATADIR：管理库数据文件所在目录，以 \\ "
               "结尾。")
        << '\n'
        << QStringLiteral("-- 例：:setvar DBNAME MAIN_BK001") << '\n'
        << QStringLiteral("--     :setvar DATADIR D:\\DATA\\") << '\n'
        << QStringLiteral("-- 在 master 上执行；数据库已存在且确认覆盖时，先执行 Drop DATABASE ") << n << '\n'
        << DatabaseCreation::CreateDatabaseStatement(n, QStringLiteral("$(DATADIR)")) << "\nGO\n"
        << QStringLiteral("-- 以下在新数据库的连接上执行") << '\n'
        << QStringLiteral("USE ") << n << "\nGO\n";

    UiPort& console = ui();
    CountingPort counting(console);
    setUi(&counting);
    ProgressWindow progress;
    SchemaCopy copy(
        TemplateConnectString(gAppPath), [&out](const QString& sql) { out << sql << "\nGO\n"; }, progress);
    const bool ok = copy.XZBJG();
    out.flush();
    setUi(&console);
    gDBType = kind;
    return ok && counting.count == 0 ? ExitOk : ExitFailed;
}

const AdminCommand regCreate("create", "create --name NAME --user USER --password PASSWORD [--yes]",
                             &runCreate);
const AdminCommand regModify("modify", "modify ID [--name NAME] [--user USER] [--password PASSWORD] [--yes]",
                             &runModify);
const AdminCommand regScript("script", "script", &runScript);

}  // namespace
}  // namespace ztgl::admin
