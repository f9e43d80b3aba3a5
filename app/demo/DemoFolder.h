#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "demo/DemoTemplate.h"

namespace ztgl {

// A complete program folder with demo data, Access kind: kxconfig.ini (code page 936, CRLF),
// the manager's database KXPUB.MDB with an empty ZTML and the initial operator admin (empty
// password) in ZTUsers, and the template MWMSD_NULL.mdb.
// In the network edition the configuration names the suite's server at 127.0.0.1, port 2001,
// where ztgl-server-sim started with serverSimArguments() stands in for it.
class DemoFolder {
public:
    enum class Edition { SingleUser, Network };
    static constexpr quint16 kServerPort = 2001;
    // The manager's database name the demo server announces; new sets are named after it.
    static inline const QString kServerDbName = QStringLiteral("ZTDEMO");

    // The files a demo folder consists of.
    static QStringList fileNames();

    // Builds the folder at `dir` (created when missing). Refuses, writing nothing, when `dir`
    // already holds one of the files (names compared without regard to case) or when its path
    // cannot stand in the configuration file. A failing step removes what was written before it.
    // Returns false with the reason in `error`. `writeTemplate` makes MWMSD_NULL.mdb.
    using TemplateWriter = std::function<bool(const QString& file, QString* error)>;
    static bool build(const QString& dir, QString* error,
                      const TemplateWriter& writeTemplate = &WriteDemoTemplate,
                      Edition edition = Edition::SingleUser);

    // The configuration file's text for a manager's database at `kxpubPath`.
    static QString configText(const QString& kxpubPath, Edition edition = Edition::SingleUser);
    // The arguments of ztgl-server-sim that serve the folder whose manager's database is at
    // `kxpubPath`: port 2001, the Access kind, its connection string, the name ZTDEMO.
    static QStringList serverSimArguments(const QString& kxpubPath);
    // The statements that make KXPUB.MDB's tables and its initial operator.
    static QStringList managerStatements();
};

}  // namespace ztgl
