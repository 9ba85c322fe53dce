#include "StockScreens.h"

#include "ScreenRegistry.h"
#include "TfoAtuCustoMedio.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registerStockScreens(ScreenRegistry& registry)
{
    registry.add(u"TfoAtuCustoMedio"_s, onCompanyStore<TfoAtuCustoMedio>, u"Atualização do Custo Medio"_s);
}

}  // namespace pcp
