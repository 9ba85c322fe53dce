#pragma once
// The packaging catalogue (EMBALAGE) and the packagings each product can be
// filled into (EmbProd). Neither carries a branch: both are shared by every
// branch of the company.
#include "TableCursor.h"

#include <optional>

namespace pcp {

class Database;

TableDef embalageTable();
TableDef embProdTable();
// Declares EMBALAGE and EmbProd.
void declarePackagingTables(Catalog& catalog);

// The code the catalogue gives a new packaging: the highest code plus 1, 1 for
// an empty catalogue. No value when the highest code is already the largest a
// 16-bit code can hold.
std::optional<int> nextPackagingCode(Database& db);

// True when the product already has a row for that packaging.
bool productHasPackaging(Database& db, qint64 codReduz, qint64 codigo);

// Why the weights of a row of either table cannot be saved ("" when they can):
// a package neither holds nor weighs less than nothing.
QString packagingWeightsProblem(const TableCursor& row);

}  // namespace pcp
