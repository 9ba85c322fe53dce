#pragma once
// Stock documents (headers `Notas`, items `Notai` and their extensions), the
// history codes that classify them, the monthly balances and the small
// tables the stock side reads with them.
#include "TableDef.h"

namespace pcp {

TableDef notasTable();           // 112 fields, key = document key
TableDef notaiTable();           // 95 fields, key = item key, index "AnoMes"
TableDef notas3Table();          // header extension
TableDef notai3Table();          // item extension (NaoAtualizaSaldos)
TableDef nfeNotaiVeicTable();    // item satellites: vehicle,
TableDef nfeNotaiMedicamentosTable();  // medicine lots,
TableDef nfeNotaiImpTable();     // import declaration
TableDef histEstTable();
TableDef natuoperTable();
TableDef sldprTable();
TableDef depositoTable();
TableDef benefTable();           // indexes "Origem" and "Destino"

// Adds every table above.
void declareStockTables(Catalog& catalog);

// The document key fields, in key order, and the item key (document key + Num_Item).
QStringList chaveNota();
QStringList chaveItemNota();

// Movement classes of HistEst.Param_Hist.
namespace ClasseMovimento {
inline constexpr int EntradaMedia = 2;   // entry valued at the running average
inline constexpr int SoQuantidade = 49;  // moves quantity, never value
inline constexpr int Neutro = 50;        // below: entries, above: exits
}  // namespace ClasseMovimento

}  // namespace pcp
