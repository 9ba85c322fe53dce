#pragma once
// A register of a small catalogue whose `Codigo` the screen gives: "Incluir"
// posts a row with the highest code + 1 (1 for an empty table) at once and
// edits it; "Cancelar" of that new row deletes it again. Grid "CODIGO",
// "NOME"; panel "Codigo" (read-only) and "Nome", enabled only while editing.
// A screen of this kind adds the further fields of its table, if any.
#include "RegisterScreen.h"

namespace pcp {

class CodeNameRegister : public RegisterScreen {
    Q_OBJECT
protected:
    CodeNameRegister(const QString& name, const QString& caption, std::shared_ptr<Store> store,
                     const QString& tableName);

    bool initNewRecord(TableCursor& table) override;

private:
    TableCursor table_;
};

}  // namespace pcp
