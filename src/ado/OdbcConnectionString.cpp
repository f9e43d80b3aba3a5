#include "ado/OdbcConnectionString.h"

#include <QStringList>

namespace ado {
namespace {

// An OLE DB value: blanks around it do not count, and it may stand in matching quotes.
QString oleDbValue(const ConnectionString& cs, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (!cs.contains(QLatin1String(key)))
            continue;
        QString v = cs.value(QLatin1String(key)).trimmed();
        if (v.size() >= 2 && v.front() == v.back() &&
            (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return QString();
}

bool isTrue(const QString& v) {
    const QString s = v.trimmed().toLower();
    return s == QLatin1String("true") || s == QLatin1String("yes") || s == QLatin1String("sspi");
}

struct Server {
    QString host;  // host or host\instance
    QString port;  // "" when none
};

// "tcp:host\instance,port": the protocol prefix is dropped (TCP is the only one here) and the
// local-machine names "(local)" and "." become the loopback address.
Server splitServer(const QString& dataSource) {
    QString s = dataSource.trimmed();
    if (s.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive))
        s = s.mid(4);
    Server server;
    const qsizetype comma = s.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        server.port = s.mid(comma + 1).trimmed();
        s = s.left(comma).trimmed();
    }
    const qsizetype backslash = s.indexOf(QLatin1Char('\\'));
    const QString machine = backslash >= 0 ? s.left(backslash) : s;
    if (machine.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0 || machine == QLatin1String("."))
        s = QStringLiteral("127.0.0.1") + s.mid(machine.size());
    server.host = s;
    return server;
}

}  // namespace

const char* const OdbcConnectionString::kFreeTdsVersion = "7.4";

bool OdbcConnectionString::isFreeTds(const QString& driver) {
    return driver.contains(QLatin1String("freetds"), Qt::CaseInsensitive) ||
           driver.contains(QLatin1String("tdsodbc"), Qt::CaseInsensitive);
}

QString OdbcConnectionString::quoteValue(const QString& value) {
    static const QString reserved = QStringLiteral(";{}=");
    bool needs = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    for (QChar c : value)
        needs = needs || reserved.contains(c);
    if (!needs)
        return value;
    QString inner = value;
    inner.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + inner + QLatin1Char('}');
}

QString OdbcConnectionString::translate(const ConnectionString& oleDb, const QString& driver) {
    const bool freeTds = isFreeTds(driver);
    QStringList items;
    auto add = [&items](const char* key, const QString& value) {
        items.append(QLatin1String(key) + QLatin1Char('=') + quoteValue(value));
    };
    // The driver always goes in braces: its name has blanks.
    QString braced = driver;
    braced.replace(QLatin1Char('}'), QStringLiteral("}}"));
    items.append(QStringLiteral("DRIVER={%1}").arg(braced));

    const Server server =
        splitServer(oleDbValue(oleDb, {"Data Source", "Server", "Address", "Addr", "Network Address"}));
    if (freeTds) {
        // With an explicit port no instance lookup is needed.
        QString host = server.host;
        if (!server.port.isEmpty())
            host = host.section(QLatin1Char('\\'), 0, 0);
        add("SERVER", host);
        if (!server.port.isEmpty())
            add("Port", server.port);
    } else {
        add("SERVER", server.port.isEmpty() ? server.host : server.host + QLatin1Char(',') + server.port);
    }

    const QString database = oleDbValue(oleDb, {"Initial Catalog", "Database"});
    if (!database.isEmpty())
        add("DATABASE", database);

    const bool integrated = isTrue(oleDbValue(oleDb, {"Integrated Security", "Trusted_Connection"}));
    if (integrated) {
        add("Trusted_Connection", QStringLiteral("Yes"));
    } else {
        add("UID", oleDbValue(oleDb, {"User ID", "UID", "User"}));
        add("PWD", oleDbValue(oleDb, {"Password", "PWD"}));
    }

    const QString app = oleDbValue(oleDb, {"Application Name"});
    if (!app.isEmpty())
        add("APP", app);
    const QString wsid = oleDbValue(oleDb, {"Workstation ID"});
    if (!wsid.isEmpty())
        add("WSID", wsid);

    // The OLE DB providers encrypt only when asked; Microsoft's ODBC Driver 18 would insist.
    const bool encrypt = isTrue(oleDbValue(oleDb, {"Use Encryption for Data", "Encrypt"}));
    const bool trust = isTrue(oleDbValue(oleDb, {"Trust Server Certificate", "TrustServerCertificate"}));
    if (freeTds) {
        add("TDS_Version", QLatin1String(kFreeTdsVersion));
        add("ClientCharset", QStringLiteral("UTF-8"));
        if (encrypt)
            add("Encryption", QStringLiteral("require"));
    } else {
        add("Encrypt", encrypt ? QStringLiteral("yes") : QStringLiteral("no"));
        if (trust)
            add("TrustServerCertificate", QStringLiteral("yes"));
    }
    return items.join(QLatin1Char(';'));
}

int OdbcConnectionString::loginTimeout(const ConnectionString& oleDb, int fallback) {
    bool ok = false;
    const int own = oleDbValue(oleDb, {"Connect Timeout", "Connection Timeout"}).toInt(&ok);
    const int seconds = ok ? own : fallback;
    return seconds > 0 ? seconds : 15;
}

}  // namespace ado
