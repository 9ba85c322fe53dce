#include "Telas.h"

#include "AccessScreens.h"
#include "PackagingScreens.h"
#include "ProductionScreens.h"
#include "ScreenRegistry.h"
#include "StockScreens.h"
#include "TintingScreens.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registraTelas()
{
    ScreenRegistry& r = ScreenRegistry::instance();
    if (r.contains(u"TfoParametrizacao"_s))
        return;
    registerAccessScreens(r);
    registerPackagingScreens(r);
    registerTintingScreens(r);
    registerStockScreens(r);
    registerProductionScreens(r);
}

}  // namespace pcp
