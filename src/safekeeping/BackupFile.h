#pragma once

#include <QString>
#include <functional>

#include "safekeeping/BackupManifest.h"

namespace ztgl {

// The backup file "<set code>_<yyyyMMdd-HHmmss>.ztbak": "ZTGLBAK1", the manifest (a 32-bit length,
// big-endian, then its JSON), then the database in chunks of 4 MiB, each a 32-bit length, a CRC-16
// of the chunk and the chunk compressed with zlib (qCompress, level 1), then a length of 0. The
// manifest's checksum covers the database itself; the CRC lets a damaged chunk be told before zlib
// sees it. A SQL Server
// backup's file holds the manifest and no chunks: its data stays in the server's backup file.
// A file that is no backup or is damaged is refused (Refusal, with a text that says why); a file
// that cannot be read or written throws ztgl::RuntimeError.
class BackupFile {
public:
    static const QString kExtension;  // ".ztbak"
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // Writes the manifest and the database file `databaseFile` compressed into `file`, all or
    // nothing (the file appears only when complete).
    static void Write(const QString& file, const BackupManifest& manifest, const QString& databaseFile,
                      const Progress& progress = {});
    // Writes a manifest alone (SQL Server kind).
    static void WriteManifest(const QString& file, const BackupManifest& manifest);
    // The manifest of a backup file.
    static BackupManifest ReadManifest(const QString& file);
    // Reads the whole file back and unpacks the database into the working file `databaseFile`
    // (not waited for on the disk; nothing is written when the name is empty), checking size and
    // checksum against the manifest. Refuses a file that is no backup, is cut short, or whose
    // content does not match its manifest; the working file is removed then.
    static BackupManifest Extract(const QString& file, const QString& databaseFile,
                                  const Progress& progress = {});
    // Extract without writing: the check of a backup just made.
    static void Verify(const QString& file, const Progress& progress = {}) {
        Extract(file, QString(), progress);
    }
};

}  // namespace ztgl
