#include "PackagingScreens.h"

#include "ScreenRegistry.h"
#include "uCadEmbalPorProd.h"
#include "uCadEmbalagem.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registerPackagingScreens(ScreenRegistry& registry)
{
    registry.add(u"TfoCadEmbalagem"_s, onCompanyStore<TfoCadEmbalagem>, u"Cadastro de Embalagens"_s);
    registry.add(u"TfoCadEmbalPorProd"_s, onCompanyStore<TfoCadEmbalPorProd>,
                 u"Cadastro de Embalagens por Produto"_s);
}

}  // namespace pcp
