#pragma once
// The four formula tables: headers (`Formula`), components (`Formulai`), the
// versions saved with each change (`FormulaVersao`) and their components
// (`FormulaiVersao`). Declared here for the stock documents that name a
// formula. The currencies (`MOEDA`) and their values (`VALORES`) are
// declared with them so the formulas read the dollar rate.
#include "TableDef.h"

namespace pcp {

TableDef formulaTable();         // key Filial, Formula; "Cod_Clifor/Formula", "Cod_Reduz/Formula"
TableDef formulaiTable();        // key Filial, Formula, OrdComp
TableDef formulaVersaoTable();   // key Filial, Formula, Versao
TableDef formulaiVersaoTable();  // key Filial, Formula, Versao, OrdComp
TableDef moedaTable();           // key Cod_Moeda; "NOME DA MOEDA"
TableDef valoresTable();         // key Cod_Moeda, DATA

void declareFormulaTables(Catalog& catalog);

}  // namespace pcp
