#include "ContextoEstoque.h"

#include "Sessao.h"

namespace pcp {

ContextoEstoque contextoDaSessao()
{
    return {sessao().FilialAtual, sessao().FatModNf};
}

}  // namespace pcp
