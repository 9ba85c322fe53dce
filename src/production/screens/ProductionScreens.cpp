#include "ProductionScreens.h"

#include "ScreenRegistry.h"
#include "TfoBaixaEstoqueMatPrima.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registerProductionScreens(ScreenRegistry& registry)
{
    registry.add(u"TfoBaixaEstoqueMatPrima"_s, onCompanyStore<TfoBaixaEstoqueMatPrima>,
                 u"Baixa Estoque Materia Prima"_s);
}

}  // namespace pcp
