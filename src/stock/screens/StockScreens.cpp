#include "StockScreens.h"

#include "ScreenRegistry.h"
#include "TDMFilial.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// The screens work on the company the branch module has open; before a
// company is chosen there is nothing to build them on.
template <class Screen>
[[maybe_unused]] QWidget* onCompanyStore()
{
    TDMFilial* dm = DMFilial();
    if (!dm || !dm->storePtr())
        return nullptr;
    return new Screen(dm->storePtr());
}
}  // namespace

void registerStockScreens([[maybe_unused]] ScreenRegistry& registry)
{
}

}  // namespace pcp
