#pragma once

#include <QString>

#include "ado/Catalog.h"

struct sqlite3;

namespace ado {

// The catalogue of an embedded-engine database as Jet's ADOX provider shows it:
// - tables and views sorted by name without regard to case (letters folded, then by character code);
//   type "TABLE", "SYSTEM TABLE" for names starting with "MSys", "VIEW" for views; the engine's own
//   sqlite_* tables are left out;
// - columns in their order with type code and defined size (JetTypes) and the provider properties
//   "Autoincrement", "Default" (only when the column has one) and "Nullable", in that order;
// - keys: the primary key first (named by its CONSTRAINT clause, else "PrimaryKey"), then the foreign keys,
//   then the unique constraints and unique indexes, each group sorted by name without regard to case.
class JetCatalog {
public:
    static CatalogData read(sqlite3* db, const QString& file);
    // A column default as Jet stores it, from the engine's text of it: text in double quotes ('it''s' →
    // "it's", an inner " doubled), numbers as written, an expression without the engine's outer
    // parentheses ((now()) → now()). "" for no default, DEFAULT NULL included.
    static QString jetDefault(const QString& engineDefault);
    // The order of tables and of keys within a group: by name without regard to case (letters folded), then
    // by character code.
    static bool lessByName(const QString& a, const QString& b);
};

}  // namespace ado
