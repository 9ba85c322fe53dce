#include "Telas.h"

#include "ScreenRegistry.h"
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
}

}  // namespace pcp
