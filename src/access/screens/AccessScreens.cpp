#include "AccessScreens.h"

#include "ScreenRegistry.h"
#include "TfoParametrizacao.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

void registerAccessScreens(ScreenRegistry& registry)
{
    // Built without a company too: the dialog itself says none is open.
    ScreenInfo parametrizacao;
    parametrizacao.name = u"TfoParametrizacao"_s;
    parametrizacao.factory = [] { return new TfoParametrizacao; };
    parametrizacao.caption = u"Parametrização do PCP"_s;
    parametrizacao.modal = true;
    registry.add(parametrizacao);
}

}  // namespace pcp
