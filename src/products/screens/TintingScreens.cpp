#include "TintingScreens.h"

#include "ScreenRegistry.h"
#include "TDMFilial.h"
#include "uCadMatizador.h"
#include "uCadResptec.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

CatalogoCodigoNome::CatalogoCodigoNome(const QString& name, const QString& caption, std::shared_ptr<Store> store,
                                       const QString& tableName)
    : RegisterScreen(name, caption, Layout::OnePage), Tabela(std::move(store), tableName)
{
    setTable(&Tabela);
    setGridColumns({{u"Codigo"_s, u"CODIGO"_s, 60, {}}, {u"Nome"_s, u"NOME"_s, 300, {}}});
    addField(u"Codigo"_s, u"Codigo"_s, FieldAccess::ReadOnly);
    setFirstField(addField(u"Nome"_s, u"Nome"_s));
    setInsertStyle(InsertStyle::PostThenEdit);
}

bool CatalogoCodigoNome::initNewRecord(TableCursor& table)
{
    table.setValue(u"Codigo"_s, nextNumber(u"Codigo"_s));
    return true;
}

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
