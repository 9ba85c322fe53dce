#include "uRecebeObsFornProd.h"

#include "MatizadorTables.h"
#include "Messages.h"
#include "TableRoutines.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoRecebeObsFornProd::TfoRecebeObsFornProd(TableCursor& obsForn, QWidget* parent)
    : QDialog(parent),
      TObsFornProd(obsForn),
      BotaoGravar(new QPushButton(u"Gravar"_s)),
      BotaoCancelar(new QPushButton(u"Cancelar"_s))
{
    setObjectName(u"foRecebeObsFornProd"_s);
    setWindowTitle(u"Observações dos Fornecedores do Produto"_s);
    auto* form = new QFormLayout;
    for (int i = 1; i <= 6; ++i) {
        const FieldDef* def = obsForn.def().findField(u"ObsForn%1"_s.arg(i));
        if (!def)
            throw DbError(u"Campo ObsForn%1 nao encontrado na tabela %2"_s.arg(i).arg(obsForn.tableName()));
        auto* box = new FieldEdit(*def);
        box->setMinimumWidth(380);
        box->load(obsForn);
        form->addRow(u"Fornecedor %1"_s.arg(i), box);
        boxes_ << box;
    }
    BotaoGravar->setObjectName(u"BotaoGravar"_s);
    BotaoCancelar->setObjectName(u"BotaoCancelar"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {BotaoGravar, BotaoCancelar}) {
        b->setAutoDefault(false);  // Enter moves to the next box; on a button it presses it
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EnterMovesFocus::install(this);
    boxes_.front()->setFocus(Qt::OtherFocusReason);

    connect(BotaoGravar, &QPushButton::clicked, this, &TfoRecebeObsFornProd::BotaoGravarClick);
    connect(BotaoCancelar, &QPushButton::clicked, this, &TfoRecebeObsFornProd::BotaoCancelarClick);
}

void TfoRecebeObsFornProd::BotaoGravarClick()
{
    try {
        for (FieldEdit* box : std::as_const(boxes_)) {
            try {
                box->store(TObsFornProd);
            } catch (const DbError& e) {
                mostraErro(e.message());
                box->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
        if (GravaRegistro(TObsFornProd))
            accept();
    } catch (const DbError& e) {
        mostraErro(e.message());
    }
}

void TfoRecebeObsFornProd::BotaoCancelarClick() { reject(); }

void TfoRecebeObsFornProd::reject()
{
    TObsFornProd.cancel();
    QDialog::reject();
}

bool RecebeObsFornProd(TableCursor& obsForn, int filial, qint64 codReduz, QWidget* parent)
{
    try {
        if (!posicionaObsFornProd(obsForn, filial, codReduz) || !EditaRegistro(obsForn))
            return false;
        TfoRecebeObsFornProd dialog(obsForn, parent);
        return dialog.exec() == QDialog::Accepted;
    } catch (const DbError& e) {
        obsForn.cancel();
        mostraErro(e.message());
        return false;
    }
}

}  // namespace pcp
