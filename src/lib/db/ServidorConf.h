#pragma once
// A folder whose tables live on a PostgreSQL server holds a file
// "servidor.conf": comment lines start with '#', one line is a libpq
// connection string (or "service=name"), and an optional line
// "esquema=NOME" names the schema that holds the tables (default "public").
#include <QString>
#include <optional>

namespace pcp {

inline constexpr const char16_t* kServidorConf = u"servidor.conf";

struct ServidorConf {
    QString conninfo;
    QString esquema = QStringLiteral("public");
};

// The servidor.conf of a folder, when there is one; throws DbError (Refused)
// when the file cannot be read or names no server, or its schema name is not
// a plain identifier.
std::optional<ServidorConf> leServidorConf(const QString& folder);
ServidorConf parseServidorConf(const QString& text);
// "<host>/<dbname> esquema <esquema>" for the user: where the tables are,
// never a password. A host the string does not name shows as "localhost"
// (or as the service that names it); a database it does not name is left out.
QString descricaoServidor(const ServidorConf& conf);
// Writes the folder's servidor.conf (atomically).
void gravaServidorConf(const QString& folder, const ServidorConf& conf);

}  // namespace pcp
