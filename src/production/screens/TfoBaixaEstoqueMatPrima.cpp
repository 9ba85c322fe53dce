#include "TfoBaixaEstoqueMatPrima.h"

#include "BaixaMateriaPrima.h"
#include "FieldEdit.h"
#include "Messages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kMascaraData = u"!99/99/0000;1;_"_s;

FieldEdit* novoCampo(const QString& nome, FieldType tipo, QWidget* pai)
{
    auto* campo = new FieldEdit(FieldDef{nome, tipo, 0, {}, false}, pai);
    campo->setObjectName(nome);
    return campo;
}

}  // namespace

TfoBaixaEstoqueMatPrima::TfoBaixaEstoqueMatPrima(std::shared_ptr<Store> store, QWidget* parent)
    : QWidget(parent, Qt::Window),
      edDataIni(novoCampo(u"edDataIni"_s, FieldType::Date, this)),
      edDataFim(novoCampo(u"edDataFim"_s, FieldType::Date, this)),
      edHistVenda(novoCampo(u"edHistVenda"_s, FieldType::SmallInt, this)),
      edHistBaixa(novoCampo(u"edHistBaixa"_s, FieldType::SmallInt, this)),
      edFornecedor(novoCampo(u"edFornecedor"_s, FieldType::Integer, this)),
      btOK(new QPushButton(u"OK"_s, this)),
      btFechar(new QPushButton(u"Fechar"_s, this)),
      pbAndamento(new QProgressBar(this)),
      store_(std::move(store))
{
    setObjectName(u"foBaixaEstoqueMatPrima"_s);
    setWindowTitle(u"Baixa Estoque Materia Prima"_s);
    edDataIni->setEditMask(kMascaraData);
    edDataFim->setEditMask(kMascaraData);
    for (FieldEdit* codigo : {edHistVenda, edHistBaixa, edFornecedor})
        codigo->setText(u"0"_s);
    btOK->setObjectName(u"btOK"_s);
    btFechar->setObjectName(u"btFechar"_s);
    pbAndamento->setObjectName(u"pbAndamento"_s);
    pbAndamento->setRange(0, 1);
    pbAndamento->setValue(0);

    auto* campos = new QFormLayout;
    campos->addRow(u"Data inicial"_s, edDataIni);
    campos->addRow(u"Data Final"_s, edDataFim);
    campos->addRow(u"Historico de Venda"_s, edHistVenda);
    campos->addRow(u"Historico da Baixa"_s, edHistBaixa);
    campos->addRow(u"Fornecedor"_s, edFornecedor);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btOK);
    botoes->addWidget(btFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(pbAndamento);
    layout->addLayout(botoes);

    EnterMovesFocus::install(this);
    connect(btOK, &QPushButton::clicked, this, &TfoBaixaEstoqueMatPrima::btOKClick);
    connect(btFechar, &QPushButton::clicked, this, &QWidget::close);
    edDataIni->setFocus();
}

TfoBaixaEstoqueMatPrima::~TfoBaixaEstoqueMatPrima() = default;

FieldEdit* TfoBaixaEstoqueMatPrima::campo(int indice) const
{
    FieldEdit* const campos[] = {edDataIni, edDataFim, edHistVenda, edHistBaixa, edFornecedor};
    return indice >= 0 && indice < int(std::size(campos)) ? campos[indice] : nullptr;
}

void TfoBaixaEstoqueMatPrima::btOKClick()
{
    if (execucao_.emAndamento())
        return;
    int erro = -1;
    const std::optional<ParametrosBaixa> p =
        criticaEntradaBaixa(edDataIni->fieldText(), edDataFim->fieldText(), edHistVenda->text(),
                            edHistBaixa->text(), edFornecedor->text(), &erro);
    if (!p) {
        if (FieldEdit* f = campo(erro)) {
            f->setFocus();
            f->selectAll();
        }
        return;
    }
    ExecucaoLonga::Escopo escopo(execucao_, {btOK, btFechar});
    pbAndamento->setRange(0, 1);
    pbAndamento->setValue(0);
    try {
        // Called between the run's transactions, so the window may repaint
        // and answer the user without any write lock held.
        BaixaEstoqueMateriaPrima(*store_, contextoDaSessao(), *p, [this](int feitos, int total) {
            pbAndamento->setRange(0, std::max(total, 1));
            pbAndamento->setValue(feitos);
            QCoreApplication::processEvents();
        });
    } catch (const std::exception& e) {
        mostraErro(QString::fromUtf8(e.what()));
    }
}

void TfoBaixaEstoqueMatPrima::closeEvent(QCloseEvent* event)
{
    if (!execucao_.recusaFechar(event))
        QWidget::closeEvent(event);
}

}  // namespace pcp
