#include "uRecebeObsFornProd.h"

#include "ButtonRow.h"
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
      BotaoGravar(nullptr),
      BotaoCancelar(nullptr)
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
        actions_.nameField(def->name, u"Fornecedor %1"_s.arg(i));
        boxes_ << box;
    }
    auto* buttons = new ButtonRow(ButtonRow::Side::Right);
    BotaoGravar = buttons->add(u"BotaoGravar"_s, u"Gravar"_s);
    BotaoCancelar = buttons->add(u"BotaoCancelar"_s, u"Cancelar"_s);
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
    actions_.guarded([&] {
        QList<BoundField*> fields(boxes_.begin(), boxes_.end());
        if (actions_.storeFields(fields, TObsFornProd) && GravaRegistro(TObsFornProd))
            accept();
    });
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
