#include "TfoParametrizacao.h"

#include "ButtonRow.h"
#include "Messages.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "TableRoutines.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoParametrizacao::TfoParametrizacao(std::shared_ptr<Store> store, QWidget* parent)
    : QDialog(parent),
      edUltimaFormula(new QLineEdit(this)),
      btOK(new QPushButton(u"OK"_s, this)),
      btFechar(new QPushButton(u"Fechar"_s, this)),
      store_(std::move(store))
{
    setObjectName(u"foParametrizacao"_s);
    setWindowTitle(u"Parametrização do PCP"_s);
    edUltimaFormula->setObjectName(u"edUltimaFormula"_s);
    edUltimaFormula->setValidator(new QIntValidator(0, std::numeric_limits<qint32>::max(), edUltimaFormula));
    btOK->setObjectName(u"btOK"_s);
    btFechar->setObjectName(u"btFechar"_s);
    actions_.nameField(u"UltimaFormula"_s, u"Ultima Formula"_s);

    auto* campo = new QHBoxLayout;
    campo->addWidget(new QLabel(u"Ultima Formula"_s, this));
    campo->addWidget(edUltimaFormula);
    auto* botoes = new ButtonRow(ButtonRow::Side::Right, {btOK, btFechar});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campo);
    layout->addLayout(botoes);

    connect(btOK, &QPushButton::clicked, this, &TfoParametrizacao::btOKClick);
    connect(btFechar, &QPushButton::clicked, this, &QDialog::reject);
}

TfoParametrizacao::~TfoParametrizacao() = default;

void TfoParametrizacao::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!TPcpcfg && !abreTabela())
        QTimer::singleShot(0, this, &QDialog::reject);
}

// The row of the current branch, appended when the branch has none yet, in edit.
bool TfoParametrizacao::abreTabela()
{
    std::shared_ptr<Store> store = store_ ? store_ : (DMFilial() ? DMFilial()->storePtr() : nullptr);
    if (!store) {
        mostraErro(u"Nenhuma empresa aberta"_s);
        return false;
    }
    TPcpcfg = std::make_unique<TableCursor>(store, u"Pcpcfg"_s);
    TPcpcfg->open();
    const int filial = sessao().FilialAtual;
    if (!TPcpcfg->findKey({filial})) {
        TPcpcfg->insert();
        TPcpcfg->setValue(u"Filial"_s, filial);
        TPcpcfg->setValue(u"UltimaFormula"_s, 0);
        if (!GravaRegistro(*TPcpcfg)) {
            TPcpcfg.reset();
            return false;
        }
    }
    if (!EditaRegistro(*TPcpcfg)) {
        TPcpcfg.reset();
        return false;
    }
    edUltimaFormula->setText(QString::number(TPcpcfg->asInteger(u"UltimaFormula"_s)));
    edUltimaFormula->setFocus();
    return true;
}

void TfoParametrizacao::btOKClick()
{
    if (!TPcpcfg)
        return;
    const QString texto = edUltimaFormula->text().trimmed();
    actions_.guarded([&] {
        TPcpcfg->setValue(u"UltimaFormula"_s, texto.isEmpty() ? u"0"_s : texto);
        if (GravaRegistro(*TPcpcfg))
            accept();
    });
}

void TfoParametrizacao::done(int result)
{
    if (TPcpcfg) {
        if (TPcpcfg->state() != TableCursor::State::Browse && TPcpcfg->active())
            TPcpcfg->cancel();
        TPcpcfg->close();
        TPcpcfg.reset();
    }
    QDialog::done(result);
}

void abreParametrizacao(QWidget* parent)
{
    TfoParametrizacao tela({}, parent);
    tela.exec();
}

}  // namespace pcp
