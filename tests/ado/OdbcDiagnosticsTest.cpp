#include <gtest/gtest.h>

#include "ado/OdbcDiagnostics.h"

using ado::OdbcDiagnostics;

TEST(OdbcDiagnostics, KeepsTheRecordsTextsOnly) {
    struct Case {
        const char* databaseText;
        const char* driverText;
        const char* text;
    } cases[] = {
        // What FreeTDS gives for a closed port, an unknown host and a silent server.
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unable to connect: "
         "Adaptive "
         "Server is unavailable or does not exist",
         "QODBC: Unable to connect", "Unable to connect: Adaptive Server is unavailable or does not exist"},
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unknown host machine "
         "name.",
         "QODBC: Unable to connect", "Unknown host machine name."},
        {"[FreeTDS][SQL Server]Timeout expired [FreeTDS][SQL Server]Unable to connect to data source",
         "QODBC: Unable to connect", "Timeout expired"},
        // The server's own text, several records, repeats.
        {"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]对象名 'ZTML' 无效。 [Microsoft][ODBC Driver "
         "18 for "
         "SQL Server][SQL Server]无法预定义语句。",
         "QODBC: Unable to execute statement", "对象名 'ZTML' 无效。\n无法预定义语句。"},
        {"[unixODBC][FreeTDS][SQL Server]Login failed for user 'sa'. [unixODBC][FreeTDS][SQL Server]Login "
         "failed "
         "for user 'sa'.",
         "QODBC: Unable to connect", "Login failed for user 'sa'."},
        {"[unixODBC][Driver Manager]Data source name not found and no default driver specified",
         "QODBC: Unable to connect", "Data source name not found and no default driver specified"},
        // The generic record alone is all there is.
        {"[FreeTDS][SQL Server]Unable to connect to data source", "QODBC: Unable to connect",
         "Unable to connect to data source"},
        // Text without tags; no records at all.
        {"no such table: nosuch (1)", "QODBC: Unable to execute statement", "no such table: nosuch (1)"},
        {"", "QODBC: Unable to begin transaction", "Unable to begin transaction"},
        {"  ", "QODBC3: Unable to fetch last", "Unable to fetch last"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OdbcDiagnostics::text(QString::fromUtf8(c.databaseText), QString::fromUtf8(c.driverText)),
                  QString::fromUtf8(c.text))
            << c.databaseText;
}
