#pragma once
// The two small catalogues the formulas point to, tinting machines
// (`Matizador`, Formula.CodMatizador) and responsible people (`Resptec`,
// Formula.CodResp), both shared by all branches; and the observations per
// supplier of a product (`ObsFornProd`, one row per product).
#include "TableCursor.h"
#include "TableDef.h"

namespace pcp {

TableDef matizadorTable();
TableDef resptecTable();
TableDef obsFornProdTable();
void declareTintingTables(Catalog& catalog);

// The role choices offered for a responsible person; free text is accepted too.
QStringList qualificacoesResptec();

// Puts an open `ObsFornProd` cursor on the row of a product, appending and
// posting the row with just its key when the product has none yet. False
// (after the table layer's message) when that post failed.
bool posicionaObsFornProd(TableCursor& obsForn, int filial, qint64 codReduz);

}  // namespace pcp
