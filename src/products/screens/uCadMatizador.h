#pragma once
// The register of tinting machines ("Cadastro de Matizadores"), table `Matizador`.
#include "CodeNameRegister.h"

namespace pcp {

class TFoCadMatizador : public CodeNameRegister {
    Q_OBJECT
public:
    explicit TFoCadMatizador(std::shared_ptr<Store> store);
};

}  // namespace pcp
