#pragma once
// The formula recalculation worked out on plain numbers: each component's
// share of the batch, its cost and its part of the cost, the density and the
// cost of the formula. The tables are read and written by FormulaDados.
#include <QList>
#include <QString>

namespace pcp {

struct ComponenteCalculo {
    double quantidade = 0;
    double densidade = 0;  // 0 when the product is not active in the branch
    double lista6 = 0;     // dollar cost of the product
};

struct ParteComponente {
    double percentual = 0;
    double custoItem = 0;
    double percCusto = 0;
};

struct RecalculoFormula {
    double soma = 0;       // batch total (plain sum of the quantities)
    double densidade = 0;  // sum of density x share over components with a density
    double custo = 0;      // cost of one unit of the formula, local currency
    QList<ParteComponente> partes;  // one per component, in order
};

// The components in OrdComp order and the dollar rate. Shares are rounded to
// 4 decimals and the residue goes on the last component after its cost is
// taken, so its cost does not include it. A zero batch total gives shares of
// 0 (no residue: there is nothing to share out); a zero cost gives cost parts
// of 0.
RecalculoFormula recalculaComponentes(const QList<ComponenteCalculo>& componentes, double taxa);

// Rounds to 4 decimals, half to even: how the running cost total carries.
double arredondaPar4(double valor);

// A product of group 01 with a second level from 077 to 089 (the bases and
// tints kept for the machines) cannot be a component.
bool componenteInvalido(const QString& nivel1, const QString& nivel2);

}  // namespace pcp
