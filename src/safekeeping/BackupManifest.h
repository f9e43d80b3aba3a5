#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace ztgl {

// What a backup says about itself, kept as UTF-8 JSON in the backup file (Access kind) or as the
// whole of it (SQL Server kind, whose data stays in the server's backup file).
struct BackupManifest {
    static constexpr int kFormatVersion = 1;
    // The checksum of the content: BLAKE2b-256, as strong as SHA-256 and several times faster here.
    static constexpr QCryptographicHash::Algorithm kChecksum = QCryptographicHash::Blake2b_256;
    static const QString kChecksumName;  // "BLAKE2b-256"

    QString kind;  // the database kind: "[Microsoft Access]" or "[Microsoft SQL Server]"
    // The set's ZTML row when it was backed up.
    QString setId, setName, databaseName, createTime, userFlag;
    QString setCode;       // "BK003"
    QDateTime time;        // the database server's clock at the backup
    QString operatorName;  // who made it (as the record writes it)
    QString workstation;
    QString program;             // the program's version, "V1.0.0"
    QStringList tables;          // the set's tables
    qint64 contentSize = 0;      // bytes of the database (Access kind)
    QByteArray contentChecksum;  // hex checksum (kChecksum) of the database (Access kind)
    QString serverFile;          // the backup file on the server (SQL Server kind)
    QString backupSetGuid;       // the server's id of that backup (SQL Server kind)

    QByteArray toJson() const;
    // False, with the reason in `error`, when the text is not a manifest of this program.
    static bool fromJson(const QByteArray& json, BackupManifest* manifest, QString* error);
};

}  // namespace ztgl
