#include "Tabelas.h"

#include "AccessTables.h"
#include "CliforTables.h"
#include "EmbalagemTables.h"
#include "MatizadorTables.h"
#include "FormulaTables.h"
#include "ProductTables.h"
#include "StockTables.h"
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
    declareProductTables(c);
    declarePackagingTables(c);
    declareTintingTables(c);
    declareClientTables(c);
    declareFormulaTables(c);
    declareStockTables(c);
}

}  // namespace pcp
