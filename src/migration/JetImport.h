#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace ztgl {

// Brings an Access installation over: converts the Jet files of a program folder into the embedded engine's
// own format, one file after the other, in this order: the manager's database KXPUB.MDB, the template
// MWMSD_NULL.mdb, then every account-set database that ZTML names (ZTLJ + ".MDB") and that exists. Names are
// found without regard to case, as Windows finds them.
//
// Each file is converted into a new file beside it (DatabaseConverter, which compares the new file with the
// original), then the original is renamed to a name that says what it is (keptName) and the new file takes
// the original's name. An original is never overwritten and never changed; a file already in the engine's
// format is left as it is, so a second run changes nothing. The first failure stops the run: the file that
// failed and those after it stay as they were.
class JetImport {
public:
    // `say` receives every line for the operator; `problem` is true for the line that says why the run
    // stopped.
    using Say = std::function<void(const QString& line, bool problem)>;

    JetImport(const QString& folder, Say say) : m_folder(folder), m_say(std::move(say)) {}
    // True when every Jet file of the folder is now in the engine's format (or there was none).
    bool run();

    // "<file>.access-original", or with "-2", "-3", … when that name is taken.
    static QString keptName(const QString& file);

    // What the run did to each file it tried: converted, or stopped with the reason. Files already in
    // the engine's format are not listed.
    struct Outcome {
        QString file;
        QString setId;  // the set's Id and name, for a set database ZTML names
        QString setName;
        bool converted = false;
        QString detail;
    };
    const QVector<Outcome>& outcomes() const { return m_outcomes; }

    // Appends one row per outcome to the record of changes on the shared connection (which must be
    // open on the converted manager's database). False, with the reason, when a row could not be written.
    bool record(QString* error) const;

private:
    QString find(const QString& name) const;
    QStringList setDatabases(const QString& manager, const QString& password);
    bool convert(const QString& file, const QString& password);

    QString m_folder;
    Say m_say;
    int m_converted = 0;
    int m_alreadyOurs = 0;
    QVector<Outcome> m_outcomes;
    QMap<QString, QPair<QString, QString>> m_sets;  // set database file -> Id, name
};

}  // namespace ztgl
