#include "Tabelas.h"

#include "AccessTables.h"
#include "TDMFilial.h"

namespace pcp {

void declaraTabelas()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Catalog& c = Catalog::global();
    declareBranchTables(c);
    declareAccessTables(c);
}

}  // namespace pcp
