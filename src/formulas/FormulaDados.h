#pragma once
// The formula rules on the tables: the dollar rate, the recalculation of a
// formula or of one of its versions, the component store that triggers it,
// the save with its new version, and the numbering of new formulas.
//
// Each function that writes runs in a transaction of its own unless the
// caller holds one open; inside the caller's, a failure reaches the caller
// and its transaction takes everything back, so a component change and the
// recalculation that follows are never seen apart.
#include "RecalculoFormula.h"
#include "Store.h"

#include <QDate>
#include <optional>

namespace pcp {

// The dollar: currency 1 of VALORES on its fixed date, 12/12/2003. Empty when
// that row is missing (the caller says "Valor do dolar não cadastrado" and
// computes with 0).
std::optional<double> taxaDolar(Database& db);

// Q stores the batch total, D stores the density.
enum class ModoRecalculo { Q, D };

// Recomputes the components of a formula (Percentual, CustoItem, PercCusto)
// and stores on the formula the batch total (Q) or the density (D), and the
// cost in UltimoCusto.
RecalculoFormula recalculaFormula(Database& db, int filial, const QString& formula, double taxa,
                                  ModoRecalculo modo);

// The same over a version's components; the cost goes to its CustoTotal.
RecalculoFormula recalculaVersao(Database& db, int filial, const QString& formula, int versao, double taxa);

// "Componente inválido" when the product of the branch may not be a component.
bool componenteAceito(Database& db, int filial, qint64 componente);

// Stores the component `ordComp` of a formula (0 appends it after the last)
// and recalculates in mode Q. A refused component shows "Componente inválido"
// and writes nothing; returns the OrdComp stored, or 0 when refused.
int gravaComponente(Database& db, int filial, const QString& formula, int ordComp, qint64 componente,
                    double quantidade, double taxa);
// Deletes a component and recalculates in mode Q.
void excluiComponente(Database& db, int filial, const QString& formula, int ordComp, double taxa);

// The save of a formula already written to its row: a density of 0 is
// computed from the components (a typed one is kept), then a new version
// (highest + 1) with a copy of the components. Returns the version number.
int gravaFormula(Database& db, int filial, const QString& formula, double taxa, const QDate& data);

// "ST " or, in a branch whose name holds "QUORVELA", "QV ".
QString prefixoFormula(const QString& nomeFilial);

// Draws the next number from Pcpcfg.UltimaFormula under the record lock of
// the branch's Pcpcfg row and inserts the new formula with its defaults. A
// refused lock throws DbError RecordLocked; a code already in use shows
// "Formula já existe" and returns empty, the number staying consumed.
std::optional<QString> novaFormula(Store& store, int filial, const QString& nomeFilial, const QDate& hoje);

// Cancels a formula created by novaFormula: deletes it with its components
// and gives its number back when it is still the last one drawn and the
// Pcpcfg row can be locked.
void cancelaNovaFormula(Store& store, int filial, const QString& formula);

}  // namespace pcp
