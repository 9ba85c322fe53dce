#pragma once
// The register of responsible people ("Cadastro de Responsável "), table
// `Resptec`: the formulas' technicians, budget makers and mechanics.
#include "TintingScreens.h"

namespace pcp {

class TfoCadResptec : public CatalogoCodigoNome {
    Q_OBJECT
public:
    explicit TfoCadResptec(std::shared_ptr<Store> store);
};

}  // namespace pcp
