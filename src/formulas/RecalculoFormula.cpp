#include "RecalculoFormula.h"

#include "L_Critica.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

double arredondaPar4(double valor)
{
    // The extra digits absorb the representation error before the tie test.
    const double escalado = std::round(valor * 1e8) / 1e4;
    const double inteiro = std::floor(escalado);
    const double fracao = escalado - inteiro;
    double r = inteiro;
    if (fracao > 0.5 + 1e-9 || (std::fabs(fracao - 0.5) <= 1e-9 && std::fmod(inteiro, 2.0) != 0))
        r = inteiro + 1;
    return r / 1e4;
}

RecalculoFormula recalculaComponentes(const QList<ComponenteCalculo>& componentes, double taxa)
{
    RecalculoFormula r;
    for (const ComponenteCalculo& c : componentes)
        r.soma += c.quantidade;
    const double taxa4 = Arredonda(4, taxa);
    double residuo = 100;
    for (const ComponenteCalculo& c : componentes) {
        ParteComponente parte;
        parte.percentual = r.soma == 0 ? 0 : Arredonda(4, c.quantidade / r.soma * 100);
        residuo -= parte.percentual;
        if (c.densidade != 0)
            r.densidade += c.densidade * parte.percentual / 100;
        r.custo = arredondaPar4(r.custo + Arredonda(4, c.lista6) * taxa4 * parte.percentual / 100);
        r.partes.append(parte);
    }
    for (int i = 0; i < r.partes.size(); ++i) {
        ParteComponente& parte = r.partes[i];
        parte.custoItem = Arredonda(4, Arredonda(4, componentes[i].lista6) * taxa4 * parte.percentual / 100);
        parte.percCusto = r.custo == 0 ? 0 : Arredonda(4, parte.custoItem / r.custo * 100);
    }
    if (r.soma != 0 && !r.partes.isEmpty())
        r.partes.last().percentual = arredondaPar4(r.partes.last().percentual + residuo);
    return r;
}

bool componenteInvalido(const QString& nivel1, const QString& nivel2)
{
    const QString classe = nivel1 + nivel2;
    return classe >= u"01077"_s && classe <= u"01089"_s;
}

}  // namespace pcp
