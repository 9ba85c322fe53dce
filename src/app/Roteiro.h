#pragma once
// `pcp --roteiro FILE`: the program started as usual, driven by a scenario
// script from its first step on.
#include "Paths.h"

#include <QStringList>

namespace pcp {

// Runs the script against the program started with `args` (the command line
// after the folder options, "Os_Exec ..." included) and returns the exit
// status: 0 when the whole script passed. The failure goes to stderr as
// "linha N: ...". The program starts inside the run, so a prompt it opens
// before its first window (the company password of an external login) is
// answered by the script. Call it inside the application's event loop.
int executaRoteiro(const Paths& paths, const QStringList& args, const QString& arquivo);

}  // namespace pcp
