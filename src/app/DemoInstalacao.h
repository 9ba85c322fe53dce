#pragma once
// The demo installation: two groups of companies, branches, access codes,
// users and parameters, for trying the program and for its screenshots.
#include "Paths.h"

namespace pcp {

// Creates the demo under the paths' folders unless its company table exists.
// Returns false (with the reason in `erro`) when it cannot be written.
bool criaDemo(const Paths& paths, QString* erro = nullptr);

}  // namespace pcp
