#pragma once
// The packaging catalogue register ("Cadastro de Embalagens"): the list of
// packagings, the code given by the register and the weights of each.
#include "RegisterScreen.h"

namespace pcp {

class TfoCadEmbalagem : public RegisterScreen {
    Q_OBJECT
public:
    explicit TfoCadEmbalagem(std::shared_ptr<Store> store, QWidget* parent = nullptr);

protected:
    bool initNewRecord(TableCursor& t) override;
    bool validate(TableCursor& t) override;

private:
    TableCursor TEmbalagem;
};

}  // namespace pcp
