#pragma once
// The demo installation: two groups of companies, branches, access codes,
// users and parameters, for trying the program and for its screenshots.
#include "Paths.h"

#include <optional>

namespace pcp {

// A demo whose tables live on a PostgreSQL server: the install folder's
// servidor.conf names the schema "<prefixo>_inst" (company list and login
// tables), each company folder's the schema "<prefixo>_emp<code>".
struct DemoServidor {
    QString conninfo;
    QString prefixo = QStringLiteral("pcp");
};

// Creates the demo under the paths' folders unless its company table exists
// (on a server: unless the install folder holds its servidor.conf, written last).
// Beside the company table, "demo.env" gives the scenario scripts the demo's
// last month (PCP_DEMO_MES "MMyyyy", PCP_DEMO_ANOMES "yyyyMM", PCP_DEMO_INICIO
// and PCP_DEMO_FIM "dd/MM/yyyy", the same two as PCP_DEMO_INICIO_ISO and
// PCP_DEMO_FIM_ISO "yyyy-MM-dd"). Returns false (with the reason in `erro`)
// when it cannot be written, or when a schema it would use on the server
// already holds tables (two demos never mix; a failed demo removes the
// tables it created there).
bool criaDemo(const Paths& paths, QString* erro = nullptr, const std::optional<DemoServidor>& servidor = {});

}  // namespace pcp
