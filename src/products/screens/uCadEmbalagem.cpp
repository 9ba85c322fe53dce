#include "uCadEmbalagem.h"

#include "EmbalagemTables.h"
#include "Messages.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoCadEmbalagem::TfoCadEmbalagem(std::shared_ptr<Store> store, QWidget* parent)
    : RegisterScreen(u"foCadEmbalagem"_s, u"Cadastro de Embalagens"_s, Layout::OnePage, parent),
      TEmbalagem(std::move(store), u"EMBALAGE"_s)
{
    setTable(&TEmbalagem);
    setGridQuery(u"SELECT * FROM EMBALAGE ORDER BY CODIGO"_s, {},
                 {{u"Codigo"_s, u"Código"_s, 60, {}}, {u"Descricao"_s, u"Descrição"_s, 300, {}}});
    addField(u"Codigo"_s, u"Codigo"_s, FieldAccess::ReadOnly);
    setFirstField(addField(u"Descrição"_s, u"Descricao"_s));
    addField(u"Peso Liquido"_s, u"Peso_Liq"_s);
    addField(u"Peso Embal."_s, u"Peso_Embal"_s);
}

bool TfoCadEmbalagem::initNewRecord(TableCursor& t)
{
    const std::optional<int> codigo = nextPackagingCode(t.store().db());
    if (!codigo) {
        mostraErro(u"Não há mais códigos livres para embalagens: o maior código possível (32767) já existe."_s);
        return false;
    }
    t.setValue(u"Codigo"_s, *codigo);
    return true;
}

bool TfoCadEmbalagem::validate(TableCursor& t)
{
    return aceita(packagingWeightsProblem(t));
}

}  // namespace pcp
