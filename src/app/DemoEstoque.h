#pragma once
// The demo company's formulas and five months of stock: purchases of raw
// materials and packaging, production entries, sales of the finished paints
// naming their formulas, the raw-material write-offs of all months but the
// last, a sales return, a transfer between warehouses, an inventory
// adjustment and the other movement classes, with the monthly balances rolled
// and valued by the stock engine month after month.
#include <QDate>

namespace pcp {
class Store;

// Fills branch 1 of a company store whose catalogue preencheCatalogoDemo has
// just written. The months are the five before the month of `hoje`. Throws
// DbError when the stock engine reports anything (a fault of the demo data).
void preencheEstoqueDemo(Store& store, QDate hoje = QDate::currentDate());

}  // namespace pcp
