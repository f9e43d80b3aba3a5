#include "safekeeping/BackupManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ztgl {

const QString BackupManifest::kChecksumName = QStringLiteral("BLAKE2b-256");

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kFormatName = QStringLiteral("ztgl-backup");

}  // namespace

QByteArray BackupManifest::toJson() const {
    QJsonObject set{{QStringLiteral("Id"), setId},
                    {QStringLiteral("ZTMC"), setName},
                    {QStringLiteral("ZTLJ"), databaseName},
                    {QStringLiteral("CreateTime"), createTime},
                    {QStringLiteral("UserFlag"), userFlag}};
    QJsonObject o{{QStringLiteral("format"), kFormatName},
                  {QStringLiteral("version"), kFormatVersion},
                  {QStringLiteral("kind"), kind},
                  {QStringLiteral("set"), set},
                  {QStringLiteral("setCode"), setCode},
                  {QStringLiteral("time"), time.toString(kTimeFormat)},
                  {QStringLiteral("operator"), operatorName},
                  {QStringLiteral("workstation"), workstation},
                  {QStringLiteral("program"), program},
                  {QStringLiteral("tables"), QJsonArray::fromStringList(tables)}};
    if (!contentChecksum.isEmpty()) {
        o.insert(QStringLiteral("contentSize"), contentSize);
        o.insert(QStringLiteral("checksumAlgorithm"), kChecksumName);
        o.insert(QStringLiteral("contentChecksum"), QString::fromLatin1(contentChecksum));
    }
    if (!serverFile.isEmpty()) {
        o.insert(QStringLiteral("serverFile"), serverFile);
        o.insert(QStringLiteral("backupSetGuid"), backupSetGuid);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool BackupManifest::fromJson(const QByteArray& json, BackupManifest* m, QString* error) {
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    if (o.value(QStringLiteral("format")).toString() != kFormatName) {
        *error = QStringLiteral("没有备份清单");
        return false;
    }
    if (o.value(QStringLiteral("version")).toInt() > kFormatVersion) {
        *error = QStringLiteral("备份清单的格式比本程序新，请用新版程序恢复");
        return false;
    }
    const QJsonObject set = o.value(QStringLiteral("set")).toObject();
    m->kind = o.value(QStringLiteral("kind")).toString();
    m->setId = set.value(QStringLiteral("Id")).toString();
    m->setName = set.value(QStringLiteral("ZTMC")).toString();
    m->databaseName = set.value(QStringLiteral("ZTLJ")).toString();
    m->createTime = set.value(QStringLiteral("CreateTime")).toString();
    m->userFlag = set.value(QStringLiteral("UserFlag")).toString();
    m->setCode = o.value(QStringLiteral("setCode")).toString();
    m->time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), kTimeFormat);
    m->operatorName = o.value(QStringLiteral("operator")).toString();
    m->workstation = o.value(QStringLiteral("workstation")).toString();
    m->program = o.value(QStringLiteral("program")).toString();
    m->tables.clear();
    for (const QJsonValue& t : o.value(QStringLiteral("tables")).toArray())
        m->tables << t.toString();
    m->contentSize = o.value(QStringLiteral("contentSize")).toInteger();
    m->contentChecksum = o.value(QStringLiteral("contentChecksum")).toString().toLatin1();
    if (!m->contentChecksum.isEmpty() &&
        o.value(QStringLiteral("checksumAlgorithm")).toString() != kChecksumName) {
        *error = QStringLiteral("备份清单的校验和算法不认识");
        return false;
    }
    m->serverFile = o.value(QStringLiteral("serverFile")).toString();
    m->backupSetGuid = o.value(QStringLiteral("backupSetGuid")).toString();
    if (m->kind.isEmpty() || m->setId.isEmpty()) {
        *error = QStringLiteral("备份清单不完整");
        return false;
    }
    return true;
}

}  // namespace ztgl
