#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "demo/DemoTemplate.h"

namespace ztgl {

// A complete program folder with demo data for the single-user edition, Access kind:
// kxconfig.ini (code page 936, CRLF), the manager's database KXPUB.MDB with an empty ZTML and
// the initial operator admin (empty password) in ZTUsers, and the template MWMSD_NULL.mdb.
class DemoFolder {
public:
    // The files a demo folder consists of.
    static QStringList fileNames();

    // Builds the folder at `dir` (created when missing). Refuses, writing nothing, when `dir`
    // already holds one of the files (names compared without regard to case) or when its path
    // cannot stand in the configuration file. A failing step removes what was written before it.
    // Returns false with the reason in `error`. `writeTemplate` makes MWMSD_NULL.mdb.
    using TemplateWriter = std::function<bool(const QString& file, QString* error)>;
    static bool build(const QString& dir, QString* error,
                      const TemplateWriter& writeTemplate = &WriteDemoTemplate);

    // The configuration file's text for a manager's database at `kxpubPath`.
    static QString configText(const QString& kxpubPath);
    // The statements that make KXPUB.MDB's tables and its initial operator.
    static QStringList managerStatements();
};

}  // namespace ztgl
