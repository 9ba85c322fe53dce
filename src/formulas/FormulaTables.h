#pragma once
// The four formula tables: headers (`Formula`), components (`Formulai`), the
// versions saved with each change (`FormulaVersao`) and their components
// (`FormulaiVersao`). Declared here for the stock documents that name a
// formula until the formula subsystem takes them over.
#include "TableDef.h"

namespace pcp {

TableDef formulaTable();         // key Filial, Formula; "Cod_Clifor/Formula", "Cod_Reduz/Formula"
TableDef formulaiTable();        // key Filial, Formula, OrdComp
TableDef formulaVersaoTable();   // key Filial, Formula, Versao
TableDef formulaiVersaoTable();  // key Filial, Formula, Versao, OrdComp

void declareFormulaTables(Catalog& catalog);

}  // namespace pcp
