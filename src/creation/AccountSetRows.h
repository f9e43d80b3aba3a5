#pragma once

#include <QString>

namespace ztgl {

// What the account-set editor may do to the list window's grid after it saved a set
// (the list is not re-read after the editor closes).
class AccountSetRows {
public:
    virtual ~AccountSetRows() = default;
    // New set: one row at the end (column 2 = its running number, column 4 "现启用"), made the
    // current row with the whole row selected, "◆" in its column 1.
    virtual void appendNewSet(const QString& id, const QString& name, const QString& databaseName,
                              const QString& createDate) = 0;
    // Modified set: column 3 of the current row takes the new name.
    virtual void renameCurrentSet(const QString& name) = 0;
};

}  // namespace ztgl
