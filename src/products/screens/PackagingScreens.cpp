#include "PackagingScreens.h"

#include "ScreenRegistry.h"
#include "TDMFilial.h"
#include "uCadEmbalPorProd.h"
#include "uCadEmbalagem.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// The screens work on the company the branch module has open; before a
// company is chosen there is nothing to build them on.
template <class Screen>
QWidget* onCompanyStore()
{
    TDMFilial* dm = DMFilial();
    if (!dm || !dm->storePtr())
        return nullptr;
    return new Screen(dm->storePtr());
}
}  // namespace

void registerPackagingScreens(ScreenRegistry& registry)
{
    registry.add(u"TfoCadEmbalagem"_s, onCompanyStore<TfoCadEmbalagem>, u"Cadastro de Embalagens"_s);
    registry.add(u"TfoCadEmbalPorProd"_s, onCompanyStore<TfoCadEmbalPorProd>,
                 u"Cadastro de Embalagens por Produto"_s);
}

}  // namespace pcp
