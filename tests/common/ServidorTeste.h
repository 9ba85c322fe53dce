#pragma once
// Tests against a PostgreSQL server. CTest runs every test of the server suites
// a second time with PCP_TESTE_SERVIDOR_ARQ naming the file where the test
// server wrote its connection string (scripts/servidor-teste); a developer may
// instead put a connection string in PCP_TESTE_SERVIDOR. Without either the
// tests run on SQLite.
#include <QString>

#include <optional>

namespace pcp::test {

// The connection string of the test server, or nothing when the tests run on
// SQLite. The file of PCP_TESTE_SERVIDOR_ARQ wins over PCP_TESTE_SERVIDOR;
// throws std::runtime_error when that file is missing or empty, so a server
// run whose server did not start fails instead of passing on SQLite.
std::optional<QString> conninfoDeTeste();

// With a test server, writes `folder/servidor.conf`: its connection string and
// a fresh schema `esquema=t_<12 hex digits>`, so each test has tables of its
// own. Without one, does nothing. Throws std::runtime_error when the file
// cannot be written.
void preparaPastaDeTeste(const QString& folder);

}  // namespace pcp::test
