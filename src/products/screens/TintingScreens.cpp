#include "TintingScreens.h"

#include "ScreenRegistry.h"
#include "TDMFilial.h"
#include "uCadMatizador.h"
#include "uCadResptec.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
template <class Screen>
void addRegister(ScreenRegistry& registry, const QString& name, const QString& caption)
{
    registry.add(name, onCompanyStore<Screen>, caption, ScreenInfo::Lifetime::HideOnClose);
}
}  // namespace

void registerTintingScreens(ScreenRegistry& registry)
{
    addRegister<TFoCadMatizador>(registry, u"TFoCadMatizador"_s, u"Matizadores"_s);
    addRegister<TfoCadResptec>(registry, u"TfoCadResptec"_s, u"Responsável"_s);
}

}  // namespace pcp
