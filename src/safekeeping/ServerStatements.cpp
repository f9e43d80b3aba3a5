#include "safekeeping/ServerStatements.h"

#include "db/PubSql.h"

namespace ztgl {

QString ServerStatements::Backup(const QString& database, const QString& serverFile) {
    return QStringLiteral("BACKUP DATABASE ") + database + QStringLiteral(" TO DISK = ") +
           GetSqlVal(serverFile) + QStringLiteral(" WITH CHECKSUM, COPY_ONLY, INIT");
}

QString ServerStatements::VerifyOnly(const QString& serverFile) {
    return QStringLiteral("RESTORE VERIFYONLY FROM DISK = ") + GetSqlVal(serverFile) +
           QStringLiteral(" WITH CHECKSUM");
}

QString ServerStatements::HeaderOnly(const QString& serverFile) {
    return QStringLiteral("RESTORE HEADERONLY FROM DISK = ") + GetSqlVal(serverFile);
}

QString ServerStatements::FileListOnly(const QString& serverFile) {
    return QStringLiteral("RESTORE FILELISTONLY FROM DISK = ") + GetSqlVal(serverFile);
}

QString ServerStatements::RestoreOver(const QString& database, const QString& serverFile) {
    return QStringLiteral("RESTORE DATABASE ") + database + QStringLiteral(" FROM DISK = ") +
           GetSqlVal(serverFile) + QStringLiteral(" WITH REPLACE, CHECKSUM");
}

QString ServerStatements::RestoreAsNew(const QString& database, const QString& serverFile,
                                       const QString& dataLogical, const QString& logLogical,
                                       const QString& dataDir) {
    return QStringLiteral("RESTORE DATABASE ") + database + QStringLiteral(" FROM DISK = ") +
           GetSqlVal(serverFile) + QStringLiteral(" WITH CHECKSUM, MOVE ") + GetSqlVal(dataLogical) +
           QStringLiteral(" TO ") + GetSqlVal(dataDir + database + QStringLiteral(".mdf")) +
           QStringLiteral(", MOVE ") + GetSqlVal(logLogical) + QStringLiteral(" TO ") +
           GetSqlVal(dataDir + database + QStringLiteral(".ldf"));
}

QString ServerStatements::SingleUser(const QString& database) {
    return QStringLiteral("ALTER DATABASE ") + database +
           QStringLiteral(" SET SINGLE_USER WITH ROLLBACK IMMEDIATE");
}

QString ServerStatements::MultiUser(const QString& database) {
    return QStringLiteral("ALTER DATABASE ") + database + QStringLiteral(" SET MULTI_USER");
}

QString ServerStatements::Drop(const QString& database) {
    return QStringLiteral("DROP DATABASE ") + database;
}

QString ServerStatements::Tables(const QString& database) {
    return QStringLiteral("select TABLE_NAME from ") + database +
           QStringLiteral(".INFORMATION_SCHEMA.TABLES where TABLE_TYPE='BASE TABLE' order by TABLE_NAME");
}

QString ServerStatements::DeleteFile(const QString& serverFile) {
    return QStringLiteral("EXECUTE master.dbo.xp_delete_file 0, ") + GetSqlVal(serverFile);
}

}  // namespace ztgl
