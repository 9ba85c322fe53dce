#pragma once
// The observations of a product's six suppliers ("Observações dos
// Fornecedores do Produto"), on the `ObsFornProd` row of the product
// register: "Gravar" posts the row and closes, "Cancelar" drops the changes.
#include "FieldEdit.h"
#include "ScreenActions.h"

#include <QDialog>

class QPushButton;

namespace pcp {

class TfoRecebeObsFornProd : public QDialog {
    Q_OBJECT
public:
    // Edits the current row of the cursor, which must be in edit mode while
    // the dialog is shown.
    explicit TfoRecebeObsFornProd(TableCursor& obsForn, QWidget* parent = nullptr);

public slots:
    void BotaoGravarClick();
    void BotaoCancelarClick();
    void reject() override;  // Esc and the close box cancel, as "Cancelar" does

private:
    TableCursor& TObsFornProd;
    QList<FieldEdit*> boxes_;
    ScreenActions actions_;
    QPushButton* BotaoGravar;
    QPushButton* BotaoCancelar;
};

// The product register's double click on a supplier code box: puts the cursor
// on the product's row (creating the empty row when there is none), edits it
// in the dialog made for this use and released afterwards. True when the
// observations were saved; the created row stays either way.
bool RecebeObsFornProd(TableCursor& obsForn, int filial, qint64 codReduz, QWidget* parent = nullptr);

}  // namespace pcp
