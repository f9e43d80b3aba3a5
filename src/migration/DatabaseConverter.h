#pragma once

#include <QString>

namespace ztgl {

// Copies one database, table by table, into a new file of the embedded engine: every table but the
// catalogue's system tables, with types, null rules, defaults, keys and rows. Then it reads the new file back
// through a connection of its own and compares it with the source: the columns and keys of every table, its
// number of rows, and a checksum of every value (TableChecksum).
class DatabaseConverter {
public:
    struct Summary {
        int tables = 0;
        qint64 rows = 0;
    };
    // `source`: a connection string of any engine (a Jet file, usually). `target`: the new file, which must
    // not exist; it is removed again when anything fails. Throws ztgl::RuntimeError: the source cannot be
    // read, the new file cannot be written, or the comparison finds a difference (the text names the table
    // and what differs). The source is only read.
    static Summary convert(const QString& source, const QString& target);
};

}  // namespace ztgl
