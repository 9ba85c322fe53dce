#include "Sessao.h"

namespace pcp {

Sessao& sessao()
{
    static Sessao s;
    return s;
}

}  // namespace pcp
