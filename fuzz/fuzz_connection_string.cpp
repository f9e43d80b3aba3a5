// Connection strings: the OLE DB string the program builds or the server sends (ConnectionString),
// its translation for ODBC (OdbcConnectionString) and the string of one account-set database
// derived from it (Get_ZtConnectString). Input: the OLE DB string (UTF-8), optionally followed by a
// NUL byte and an ODBC driver name. Oracles:
// - the ODBC string reads back, by ODBC's own rules, as exactly the items meant: the driver first,
//   every key once, no item smuggled in by a value, the values the OLE DB string gave;
// - any value quoted for ODBC reads back as itself;
// - the set's string names the set's database wherever the program looks for it, unless the
//   text "Initial Catalog=" stands inside another item's value (then it is replaced there,
//   as the program has always done);
// - the login time-out is positive.
#include <QRegularExpression>
#include <optional>

#include "FuzzSupport.h"
#include "ado/ConnectionString.h"
#include "ado/OdbcConnectionString.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

using namespace ztgl;
using ado::ConnectionString;
using ado::OdbcConnectionString;

namespace {

using Items = QVector<QPair<QString, QString>>;

// ODBC's reading: items "key=value" split at ";"; a value in braces runs to its closing "}", in
// which "}}" stands for "}".
std::optional<Items> parseOdbc(const QString& s) {
    Items items;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype eq = s.indexOf(QLatin1Char('='), i);
        if (eq < 0 || s.mid(i, eq - i).contains(QLatin1Char(';')))
            return std::nullopt;
        const QString key = s.mid(i, eq - i);
        i = eq + 1;
        QString value;
        if (i < s.size() && s[i] == QLatin1Char('{')) {
            for (++i;; ++i) {
                if (i >= s.size())
                    return std::nullopt;
                if (s[i] == QLatin1Char('}')) {
                    if (i + 1 < s.size() && s[i + 1] == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s[i];
            }
            if (i < s.size() && s[i] != QLatin1Char(';'))
                return std::nullopt;
        } else {
            qsizetype semi = s.indexOf(QLatin1Char(';'), i);
            if (semi < 0)
                semi = s.size();
            value = s.mid(i, semi - i);
            i = semi;
        }
        items.append({key, value});
        ++i;
    }
    return items;
}

// An OLE DB value by the first of its names present: blanks around it do not count, and it may
// stand in matching quotes.
QString oleDb(const ConnectionString& cs, const QStringList& names) {
    for (const QString& name : names) {
        if (!cs.contains(name))
            continue;
        QString v = cs.value(name).trimmed();
        if (v.size() >= 2 && v.front() == v.back() &&
            (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return QString();
}

QString odbcValue(const Items& items, const QString& key) {
    for (const auto& item : items)
        if (item.first == key)
            return item.second;
    return QString();
}

void checkTranslation(const ConnectionString& cs, const QString& driver) {
    static const QStringList known = {QStringLiteral("DRIVER"),
                                      QStringLiteral("SERVER"),
                                      QStringLiteral("Port"),
                                      QStringLiteral("DATABASE"),
                                      QStringLiteral("Trusted_Connection"),
                                      QStringLiteral("UID"),
                                      QStringLiteral("PWD"),
                                      QStringLiteral("APP"),
                                      QStringLiteral("WSID"),
                                      QStringLiteral("TDS_Version"),
                                      QStringLiteral("ClientCharset"),
                                      QStringLiteral("Encryption"),
                                      QStringLiteral("Encrypt"),
                                      QStringLiteral("TrustServerCertificate")};
    const QString odbc = OdbcConnectionString::translate(cs, driver);
    const std::optional<Items> items = parseOdbc(odbc);
    FUZZ_CHECK(items.has_value(), "the ODBC string is well formed");
    FUZZ_CHECK(!items->isEmpty() && items->first() == qMakePair(QStringLiteral("DRIVER"), driver),
               "the driver first");
    QStringList keys;
    for (const auto& item : *items) {
        FUZZ_CHECK(known.contains(item.first), "only the items meant");
        FUZZ_CHECK(!keys.contains(item.first, Qt::CaseInsensitive), "every key once");
        keys << item.first;
    }
    FUZZ_CHECK(odbcValue(*items, QStringLiteral("DATABASE")) ==
                   oleDb(cs, {QStringLiteral("Initial Catalog"), QStringLiteral("Database")}),
               "the database as given");
    if (keys.contains(QStringLiteral("PWD"))) {
        FUZZ_CHECK(odbcValue(*items, QStringLiteral("PWD")) ==
                       oleDb(cs, {QStringLiteral("Password"), QStringLiteral("PWD")}),
                   "the password as given");
        FUZZ_CHECK(odbcValue(*items, QStringLiteral("UID")) ==
                       oleDb(cs, {QStringLiteral("User ID"), QStringLiteral("UID"), QStringLiteral("User")}),
                   "the user as given");
    }
    FUZZ_CHECK(OdbcConnectionString::loginTimeout(cs, 120) > 0, "a positive login time-out");
}

void checkQuoting(const QString& value) {
    const auto items = parseOdbc(QStringLiteral("K=") + OdbcConnectionString::quoteValue(value));
    FUZZ_CHECK(items && items->size() == 1 && items->first().second == value,
               "a quoted value reads back as itself");
}

// Where the program replaces the catalog textually, the text must begin the first item of that name.
bool replacedAsAnItem(const QString& base) {
    static const QRegularExpression key(QStringLiteral("^\\s*initial catalog\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const qsizetype at = base.indexOf(QLatin1String("Initial Catalog="), 0, Qt::CaseInsensitive);
    if (at < 0)
        return true;
    const QString before = base.left(at).trimmed();
    if (!before.isEmpty() && !before.endsWith(QLatin1Char(';')))
        return false;
    for (const QString& item : base.left(at).split(QLatin1Char(';')))
        if (key.match(item.section(QLatin1Char('='), 0, 0)).hasMatch() && item.contains(QLatin1Char('=')))
            return false;
    return true;
}

void checkSetString(const QString& base) {
    const QString name = QStringLiteral("MAIN_BK002");
    gDBType = kSqlServer;
    QString set;
    try {
        set = Get_ZtConnectString(name, base);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.number() == RuntimeError::InvalidProcedureCall, "only the missing \";\" is refused");
        return;
    }
    if (!replacedAsAnItem(base))
        return;
    const auto items =
        parseOdbc(OdbcConnectionString::translate(ConnectionString(set), QStringLiteral("FreeTDS")));
    FUZZ_CHECK(items && odbcValue(*items, QStringLiteral("DATABASE")) == name,
               "the set's string names its database");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::failOnMessages();
    const auto [first, driverGiven] = fuzz::splitAtNul(data, size);
    const QString text = QString::fromUtf8(first);
    const ConnectionString cs(text);
    for (const QString& driver : {QStringLiteral("FreeTDS"), QStringLiteral("ODBC Driver 18 for SQL Server"),
                                  QString::fromUtf8(driverGiven.value_or("x"))})
        checkTranslation(cs, driver);
    checkQuoting(text);
    checkSetString(text);
    return 0;
}
