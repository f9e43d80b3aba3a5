#include "ado/JetError.h"

#include <sqlite3.h>

#include <QRegularExpression>

namespace ado {

using ztgl::RuntimeError;

namespace {

const QString kEnginePrefix = QStringLiteral("ztgl-error:");

// What follows "prefix: " in an engine message ("no such table: main.T" → "T").
QString nameAfter(const QString& message, const QString& prefix) {
    QString name = message.mid(prefix.size()).trimmed();
    if (name.startsWith(QLatin1String("main.")))
        name = name.mid(5);
    return name;
}

bool isDrop(const QString& sql) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*DROP\s)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

RuntimeError fromMessage(const QString& message, const QString& sql) {
    static const QString noTable = QStringLiteral("no such table:");
    static const QString noColumn = QStringLiteral("no such column:");
    static const QString noFunction = QStringLiteral("no such function:");
    if (message.startsWith(noTable)) {
        const QString name = nameAfter(message, noTable);
        if (isDrop(sql))
            return RuntimeError(3376, QStringLiteral("表“%1”不存在。").arg(name));
        return JetError::tableNotFound(name);
    }
    if (message.startsWith(noColumn))
        return RuntimeError(
            JetError::ParameterMissing,
            QStringLiteral("至少一个参数没有被指定值。（找不到字段“%1”）").arg(nameAfter(message, noColumn)));
    if (message.startsWith(noFunction))
        return RuntimeError(3085,
                            QStringLiteral("表达式中“%1”函数未定义。").arg(nameAfter(message, noFunction)));
    static const QRegularExpression exists(
        QStringLiteral(R"(^(table|index|view|trigger) (.+) already exists$)"));
    const QRegularExpressionMatch m = exists.match(message);
    if (m.hasMatch()) {
        const QString name = m.captured(2).remove(QLatin1Char('"'));
        if (m.captured(1) == QLatin1String("index"))
            return RuntimeError(3375, QStringLiteral("已经有一个名为“%1”的索引。").arg(name));
        return RuntimeError(3010, QStringLiteral("表“%1”已存在。").arg(name));
    }
    return JetError::syntax(message);
}

RuntimeError constraint(int code, const QString& message) {
    switch (code) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_ROWID:
            return RuntimeError(
                3022, QStringLiteral("由于将在索引、主关键字或关系中创建重复的值，对表的更改没有成功。"
                                     "请修改重复的数据后再试。（%1）")
                          .arg(message));
        case SQLITE_CONSTRAINT_NOTNULL:
            return RuntimeError(
                3314, QStringLiteral("字段“%1”不能包含 Null 值，因为该字段必须有值。请在此字段中输入一个值。")
                          .arg(nameAfter(message, QStringLiteral("NOT NULL constraint failed:"))));
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return RuntimeError(3201, QStringLiteral("不能添加、更改或删除记录：违反了表之间的关系规则"
                                                     "（需要相关表中的记录，或相关表中还有记录引用它）。"));
        case SQLITE_CONSTRAINT_CHECK:
            return RuntimeError(3317,
                                QStringLiteral("一个或多个值不符合表的有效性规则。（%1）").arg(message));
        default:
            return RuntimeError(3022, message);
    }
}

}  // namespace

QString JetError::encodeForEngine(const RuntimeError& e) {
    return kEnginePrefix + QString::number(e.number()) + QLatin1Char(':') + e.description();
}

RuntimeError JetError::fromEngine(int code, const QString& message, const QString& sql, const QString& file) {
    if (message.startsWith(kEnginePrefix)) {
        const int colon = message.indexOf(QLatin1Char(':'), kEnginePrefix.size());
        if (colon > 0)
            return RuntimeError(message.mid(kEnginePrefix.size(), colon - kEnginePrefix.size()).toInt(),
                                message.mid(colon + 1));
    }
    switch (code & 0xff) {
        case SQLITE_CONSTRAINT:
            return constraint(code, message);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return locked(file);
        case SQLITE_READONLY:
            return RuntimeError(3027, QStringLiteral("不能更新。数据库或对象为只读。"));
        case SQLITE_NOTADB:
            return unrecognisedFormat(file);
        case SQLITE_CORRUPT:
            return RuntimeError(3049, QStringLiteral("无法打开数据库“%1”。文件可能已经损坏。").arg(file));
        case SQLITE_FULL:
            return RuntimeError(3035, QStringLiteral("磁盘已满，无法写入数据库“%1”。").arg(file));
        case SQLITE_IOERR:
            return RuntimeError(3043, QStringLiteral("磁盘或网络错误。（%1）").arg(message));
        case SQLITE_CANTOPEN:
            return cannotOpen(file);
        case SQLITE_NOMEM:
            return RuntimeError(7, QStringLiteral("内存溢出"));
        case SQLITE_MISMATCH:
            return typeMismatch();
        case SQLITE_TOOBIG:
            return RuntimeError(3163, QStringLiteral("字段太小，不能接受所要添加的数据的数量。"));
        case SQLITE_ERROR:
            return fromMessage(message, sql);
        default:
            return RuntimeError(RuntimeError::DatabaseError,
                                QStringLiteral("数据库引擎错误：%1").arg(message));
    }
}

RuntimeError JetError::fileNotFound(const QString& file) {
    return RuntimeError(3024, QStringLiteral("找不到文件“%1”。").arg(file));
}

RuntimeError JetError::unrecognisedFormat(const QString& file) {
    return RuntimeError(3343, QStringLiteral("无法识别的数据库格式“%1”。").arg(file));
}

RuntimeError JetError::aceFormat(const QString& file) {
    return RuntimeError(
        3343, QStringLiteral("“%1”是 Access 2007 或更新版本（ACE，.accdb）格式的数据库文件，本程序读不了"
                             "这种格式。请在 Microsoft Access 中把它另存为“Access 2002-2003 数据库"
                             "（.mdb）”后再试。")
                  .arg(file));
}

RuntimeError JetError::jetFileReadOnly(const QString& file) {
    return RuntimeError(
        3027, QStringLiteral("数据库“%1”是 Microsoft Access（Jet）格式的文件：本程序只整表读取这种文件，"
                             "从不在其中写入，也不执行别的语句。请先在程序文件夹中运行"
                             "“ztgl-admin import”，把它转换为本程序的格式。")
                  .arg(file));
}

RuntimeError JetError::jetFileAsManager(const QString& file) {
    return RuntimeError(
        3027, QStringLiteral("帐套管理的数据库“%1”是 Microsoft Access（Jet）格式的文件，本程序只能读取、"
                             "不能修改这种文件。请先在程序文件夹中运行“ztgl-admin import”，把它和"
                             "各帐套的数据库一起转换为本程序的格式，再启动本程序。")
                  .arg(file));
}

RuntimeError JetError::jetFileDamaged(const QString& file, const QString& detail) {
    return RuntimeError(3049,
                        QStringLiteral("无法读取数据库“%1”，文件已经损坏（%2）。请先在 Microsoft Access 中用"
                                       "“压缩和修复数据库”修复它。")
                            .arg(file, detail));
}

RuntimeError JetError::badPassword(const QString& file) {
    return RuntimeError(3031,
                        QStringLiteral("不是有效的密码。数据库“%1”设有密码，所给的密码与它不符。").arg(file));
}

RuntimeError JetError::jetReaderMissing(const QString& program) {
    return RuntimeError(
        3706, QStringLiteral("找不到读取 Access 数据库文件的程序“%1”，请重新安装本程序。").arg(program));
}

RuntimeError JetError::tableNotFound(const QString& table) {
    return RuntimeError(
        3078,
        QStringLiteral("找不到输入表或查询“%1”。请确定它是否存在，以及它的名称的拼写是否正确。").arg(table));
}

RuntimeError JetError::cannotOpen(const QString& file) {
    return RuntimeError(
        3051, QStringLiteral("无法打开文件“%1”。它可能已被别的用户以独占方式打开，或者没有读写它的权限。")
                  .arg(file));
}

RuntimeError JetError::inUse(const QString& file) {
    return RuntimeError(3045,
                        QStringLiteral("无法使用“%1”；文件正被其他用户独占使用。请稍后再试。").arg(file));
}

RuntimeError JetError::locked(const QString& file) {
    return RuntimeError(3050,
                        QStringLiteral("无法锁定文件“%1”：数据库正被其他用户修改。请稍后再试。").arg(file));
}

RuntimeError JetError::invalidPath(const QString& file) {
    return RuntimeError(
        3044,
        QStringLiteral("“%1”不是一个有效的路径。请确定路径名称拼写是否正确，以及是否连接到文件所在的服务器。")
            .arg(file));
}

RuntimeError JetError::alreadyExists(const QString& file) {
    return RuntimeError(3204, QStringLiteral("数据库“%1”已存在。").arg(file));
}

RuntimeError JetError::badDate(const QString& literal) {
    return RuntimeError(3075, QStringLiteral("查询表达式“%1”中日期的语法错误。").arg(literal));
}

RuntimeError JetError::typeMismatch() {
    return RuntimeError(3464, QStringLiteral("标准表达式中数据类型不匹配。"));
}

RuntimeError JetError::overflow() {
    return RuntimeError(RuntimeError::Overflow, QStringLiteral("溢出"));
}

RuntimeError JetError::noTransaction() {
    return RuntimeError(3034, QStringLiteral("试图在没有启动事务的情况下提交或回滚事务。"));
}

RuntimeError JetError::charactersAfterEnd() {
    return RuntimeError(3142, QStringLiteral("在 SQL 语句结尾之后找到字符。"));
}

RuntimeError JetError::emptyStatement() {
    return RuntimeError(
        3129,
        QStringLiteral("无效的 SQL 语句；期待 'DELETE'、'INSERT'、'PROCEDURE'、'SELECT' 或 'UPDATE'。"));
}

RuntimeError JetError::syntax(const QString& detail) {
    return RuntimeError(SyntaxError, QStringLiteral("SQL 语句有错误：%1").arg(detail));
}

}  // namespace ado
