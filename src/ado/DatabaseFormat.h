#pragma once

#include <QString>

namespace ado {

// What kind of database a file holds, read from its first bytes. The Jet and ACE providers serve the
// engine's own files, and files in Jet's format (Access 97 to 2003) through the reader of Jet files.
class DatabaseFormat {
public:
    enum Kind {
        Missing,     // no such file
        Unreadable,  // a folder, or a file that cannot be read
        Embedded,    // the embedded engine's own file
        Jet3,        // Access 97
        Jet4,        // Access 2000 to 2003
        Ace,         // Access 2007 and later (.accdb)
        Unknown,     // anything else, an empty file included
    };
    static Kind of(const QString& path);
    static bool isJet(Kind kind) { return kind == Jet3 || kind == Jet4; }
    // Bytes per page of a Jet file; 0 for other kinds.
    static int pageSize(Kind kind);
};

}  // namespace ado
