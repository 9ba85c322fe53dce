#pragma once
// The product master and the small tables that hang off a product (sizes,
// observation lines, description-change log, fiscal regions) or that are read
// with it (level descriptions, price-list names and the shared catalogues).
#include "TableDef.h"

namespace pcp {

// Adds Estproma, Estniv1 ... Estniv5, Tamanho, Tamanhos, Cores, ObseProd,
// Sped_AlteraProduto, NomLista, AliqBase, Carimbo, EstpromaNCM, CTDubla,
// Ferramentas and CodListaServicos. All are keyed first by Filial except the
// catalogues shared by every branch: Tamanhos, Cores, Carimbo, EstpromaNCM,
// CTDubla, Ferramentas and CodListaServicos.
void declareProductTables(Catalog& catalog);

// The level description table of level 1 to 5: "Estniv<n>" with Filial,
// Nivel<n> (as wide as the product's field) and Descric<n>, and the index
// "Descricao" (Filial, Descric<n>) the level lists are read in.
TableDef estnivTable(int nivel);

// The numbered observation lines of a product (Filial, Cod_Reduz, Sequencia).
TableDef obseProdTable();

// Width of the product's classification level 1 to 6 (2, 3, 4, 3, 6, 6).
int larguraNivel(int nivel);

}  // namespace pcp
