#pragma once
// The demo installation: two groups of companies, branches, access codes,
// users and parameters, for trying the program and for its screenshots.
#include "Paths.h"

namespace pcp {

// Creates the demo under the paths' folders unless its company table exists.
// Beside the company table, "demo.env" gives the scenario scripts the demo's
// last month (PCP_DEMO_MES "MMyyyy", PCP_DEMO_ANOMES "yyyyMM", PCP_DEMO_INICIO
// and PCP_DEMO_FIM "dd/MM/yyyy"). Returns false (with the reason in `erro`)
// when it cannot be written.
bool criaDemo(const Paths& paths, QString* erro = nullptr);

}  // namespace pcp
