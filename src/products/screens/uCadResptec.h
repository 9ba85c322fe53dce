#pragma once
// The register of responsible people ("Cadastro de Responsável "), table
// `Resptec`: the formulas' technicians, budget makers and mechanics.
#include "CodeNameRegister.h"

namespace pcp {

class TfoCadResptec : public CodeNameRegister {
    Q_OBJECT
public:
    explicit TfoCadResptec(std::shared_ptr<Store> store);
};

}  // namespace pcp
