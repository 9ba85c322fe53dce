#pragma once
// The formulas module: the formula tables with the components and versions
// hanging off the current formula, the branch's PCP parameters (where the
// formula numbers are drawn), the products and the dollar's values.
#include "DataModule.h"
#include "FormulaDados.h"

namespace pcp {

class TDMFormula : public DataModule {
public:
    explicit TDMFormula(std::shared_ptr<Store> store);

    // The recalculation of the current formula; when its row is in edit the
    // batch total or density and the cost are set on the edit buffer too, so
    // the pending save carries them.
    RecalculoFormula recalcula(double taxa, ModoRecalculo modo);
    // Posts the formula in edit and saves it with its new version, in one
    // transaction; returns the version number.
    int grava(double taxa, const QDate& data);

    TableCursor Formula;          // key Filial, Formula
    TableCursor Formulai;         // detail of Formula, by OrdComp
    TableCursor FormulaVersao;    // detail of Formula, by Versao
    TableCursor FormulaiVersao;   // detail of FormulaVersao, by OrdComp
    TableCursor Pcpcfg;           // the branch's parameters: UltimaFormula
    TableCursor Estproma;
    TableCursor MOEDA;
    TableCursor VALORES;
};

}  // namespace pcp
