#include "Telas.h"

#include "PackagingScreens.h"
#include "ProductionScreens.h"
#include "ScreenRegistry.h"
#include "StockScreens.h"
#include "TintingScreens.h"
#include "TfoParametrizacao.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registraTelas()
{
    ScreenRegistry& r = ScreenRegistry::instance();
    if (r.contains(u"TfoParametrizacao"_s))
        return;
    ScreenInfo parametrizacao;
    parametrizacao.name = u"TfoParametrizacao"_s;
    parametrizacao.factory = [] { return new TfoParametrizacao; };
    parametrizacao.caption = u"Parametrização do PCP"_s;
    parametrizacao.modal = true;
    r.add(parametrizacao);
    registerPackagingScreens(r);
    registerTintingScreens(r);
    registerStockScreens(r);
    registerProductionScreens(r);
}

}  // namespace pcp
