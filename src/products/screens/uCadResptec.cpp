#include "uCadResptec.h"

#include "FieldCombo.h"
#include "MatizadorTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoCadResptec::TfoCadResptec(std::shared_ptr<Store> store)
    : CodeNameRegister(u"foCadResptec"_s, u"Cadastro de Responsável "_s, std::move(store), u"Resptec"_s)
{
    addField(u"Qualificação"_s,
             new FieldCombo(*table()->def().findField(u"Qualificacao"_s), qualificacoesResptec()));
    for (int i = 1; i <= 3; ++i)
        addField(u"Telefone%1"_s.arg(i), u"Fone%1"_s.arg(i));
    resize(440, 440);
}

}  // namespace pcp
