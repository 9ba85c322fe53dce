#pragma once
// The register of tinting machines ("Cadastro de Matizadores"), table `Matizador`.
#include "TintingScreens.h"

namespace pcp {

class TFoCadMatizador : public CatalogoCodigoNome {
    Q_OBJECT
public:
    explicit TFoCadMatizador(std::shared_ptr<Store> store);
};

}  // namespace pcp
