#pragma once
// The registers of the two catalogues the formulas point to: tinting machines
// (TFoCadMatizador) and responsible people (TfoCadResptec).
#include "RegisterScreen.h"

namespace pcp {

class ScreenRegistry;

// Registers "TFoCadMatizador" and "TfoCadResptec" (long-lived: closing hides
// them) on the company store of the branch data module.
void registerTintingScreens(ScreenRegistry& registry);

// A catalogue register whose `Codigo` the screen gives: "Incluir" posts a row
// with the highest code + 1 (1 for an empty table) at once and edits it;
// "Cancelar" of that new row deletes it again. Grid "CODIGO", "NOME"; panel
// "Codigo" (read-only) and "Nome", enabled only while editing.
class CatalogoCodigoNome : public RegisterScreen {
    Q_OBJECT
protected:
    CatalogoCodigoNome(const QString& name, const QString& caption, std::shared_ptr<Store> store,
                       const QString& tableName);

    bool initNewRecord(TableCursor& table) override;

    TableCursor Tabela;
};

}  // namespace pcp
