#include "uCadMatizador.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TFoCadMatizador::TFoCadMatizador(std::shared_ptr<Store> store)
    : CodeNameRegister(u"FoCadMatizador"_s, u"Cadastro de Matizadores"_s, std::move(store), u"Matizador"_s)
{
    resize(420, 360);
}

}  // namespace pcp
