#pragma once

#include <QString>
#include <QVector>

#include "safekeeping/SafekeepingCommands.h"

namespace ztgl {

// The safekeeping commands of the main window's menu Company: back up the current set or all
// sets, restore a backup over its set or as a new set, retire the current set, and the record of
// changes. The current set is the list window's current row.
class CompanyCommands {
public:
    class View {
    public:
        virtual ~View() = default;
        // The Id of the list window's current set; "" when the list is closed or on its header.
        virtual QString currentSetId() const = 0;
        // The backup file the operator picks, starting in `folder`; "" when he cancels.
        virtual QString chooseBackupFile(const QString& folder) = 0;
        // The catalogue changed (a set came or went): the list shows it again.
        virtual void reloadList() = 0;
        // Shows the record window (brings it forward when it is open).
        virtual void showChangeLog() = 0;
    };

    struct MenuItem {
        QString caption;
        QString key;
    };
    // The commands in menu order; a separator follows the group of the last backup command and
    // of the retirement.
    static QVector<MenuItem> menuItems();
    static bool separatorAfter(const QString& key);

    explicit CompanyCommands(View& view) : m_view(view) {}
    SafekeepingCommands& commands() { return m_commands; }

    // Dispatch on the key converted to capitals: BFZT back up the current set, BFQB back up all,
    // HFZT restore over its set, HFXZ restore as a new set, ZXZT retire the current set, CZJL the
    // record; any other key does nothing.
    void Company_Click(const QString& key);

private:
    QString currentSet();

    View& m_view;
    SafekeepingCommands m_commands;
};

}  // namespace ztgl
