#pragma once
// Turns the SQL the program writes (SQLite's spelling of the part both
// engines share) into PostgreSQL's: "?" and "?N" become "$N"; quoted
// identifiers fold to lower case as unquoted ones do; "rowid" becomes the
// "_rowid_" column every table has on the server; LIKE ignores ASCII case as
// on SQLite; ORDER BY puts blanks first as SQLite does; an INSERT of one row
// returns its _rowid_. "x IS ?" / "x IS NOT DISTINCT FROM ?" becomes
// "x = $n" or "x IS NULL" by whether the value bound is blank, since the
// server uses no index for IS NOT DISTINCT FROM: one text per pattern of
// blank parameters.
#include <QByteArray>
#include <QString>
#include <vector>

namespace pcp::driver {

struct PgSql {
    QByteArray text;
    int parameters = 0;         // the highest $N
    bool returnsRowId = false;  // an INSERT given "RETURNING _rowid_"
    bool blankSensitive = false;  // the text depends on which parameters are blank
};

// `blank[i]` tells whether parameter i+1 is bound blank (NULL).
PgSql translateForPostgres(const QString& sql, const std::vector<bool>& blank = {});

}  // namespace pcp::driver
