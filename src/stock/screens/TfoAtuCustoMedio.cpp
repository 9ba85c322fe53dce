#include "TfoAtuCustoMedio.h"

#include "L_AutSen.h"
#include "L_Critica.h"
#include "CustoMedioPorClassificacao.h"
#include "Messages.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "TableRoutines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kClassIniPadrao = u"000000000000000000000000"_s;
const QString kClassFimPadrao = u"999999999999999999999999"_s;

FieldDef campoTexto(const QString& nome) { return FieldDef{nome, FieldType::String, 0, {}, false}; }

}  // namespace

TfoAtuCustoMedio::TfoAtuCustoMedio(std::shared_ptr<Store> store, QWidget* parent)
    : QWidget(parent, Qt::Window),
      meMesAno(new FieldEdit(campoTexto(u"meMesAno"_s))),
      meClassIni(new FieldEdit(campoTexto(u"meClassIni"_s))),
      meClassFim(new FieldEdit(campoTexto(u"meClassFim"_s))),
      Label4(new QLabel(u"Andamento"_s)),
      Label5(new QLabel(u"Produto: "_s)),
      btnOK(new QPushButton(u"OK"_s)),
      btnFechar(new QPushButton(u"Fechar"_s)),
      store_(store),
      TEstproma(store, u"Estproma"_s)
{
    setObjectName(u"foAtuCustoMedio"_s);
    setWindowTitle(u"Atualização do Custo Medio"_s);
    TEstproma.setIndexName(u"Classificacao"_s);

    meMesAno->setEditMask(u"00/0000;0;_"_s);
    meClassIni->setEditMask(u"000000000000000000000000;1; "_s);
    meClassFim->setEditMask(u"999999999999999999999999;1; "_s);
    meClassIni->showValue(kClassIniPadrao);
    meClassFim->showValue(kClassFimPadrao);
    Label4->setObjectName(u"Label4"_s);
    Label5->setObjectName(u"Label5"_s);
    btnOK->setObjectName(u"btnOK"_s);
    btnFechar->setObjectName(u"btnFechar"_s);

    auto* campos = new QFormLayout;
    campos->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);  // each box as wide as its mask
    campos->addRow(u"Mês / Ano"_s, meMesAno);
    campos->addRow(u"Class.Inicial"_s, meClassIni);
    campos->addRow(u"Class.Final"_s, meClassFim);
    // Wide enough for the longest progress line (24 digits, five slashes and
    // a product code) without the window growing during the run.
    const int largura = fontMetrics().horizontalAdvance(u"Andamento: 00/000/0000/000/000000/0000000000"_s);
    Label4->setMinimumWidth(largura);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    for (QPushButton* b : {btnOK, btnFechar}) {
        b->setAutoDefault(false);  // Enter moves to the next field; on a button it presses it
        botoes->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addSpacing(8);
    layout->addWidget(Label4);
    layout->addWidget(Label5);
    layout->addSpacing(8);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    EnterMovesFocus::install(this);
    meMesAno->setFocus(Qt::OtherFocusReason);

    connect(btnOK, &QPushButton::clicked, this, &TfoAtuCustoMedio::btnOKClick);
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);
}

TfoAtuCustoMedio::~TfoAtuCustoMedio() = default;

void TfoAtuCustoMedio::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    try {
        if (!TEstproma.active())
            TEstproma.open();
    } catch (const DbError& e) {
        mostraErro(e.message());
    }
}

void TfoAtuCustoMedio::closeEvent(QCloseEvent* event)
{
    // The walk lets the window process its messages between products; the
    // screen stays until the run is over.
    if (execucao_.recusaFechar(event))
        return;
    TEstproma.cancel();
    TEstproma.close();
    QWidget::closeEvent(event);
}

void TfoAtuCustoMedio::repinta() { QCoreApplication::processEvents(); }

void TfoAtuCustoMedio::btnOKClick()
{
    if (execucao_.emAndamento())
        return;
    const QString mesAno = meMesAno->fieldText();  // "MMYYYY"
    const std::optional<Mes> mes = Mes::deMesAno(mesAno);
    if (!mes) {
        mostraErro(mesAno.isEmpty() ? u"Informe o Mês / Ano"_s
                                    : u"Mês / Ano inválido: "_s + meMesAno->displayText());
        meMesAno->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The first classification gives the six level pieces the walk starts
    // from: all 24 digits are needed. The last one is taken as the box shows
    // it, unfilled positions as blanks.
    const QString classIni = meClassIni->displayText();
    const QString classFim = meClassFim->displayText();
    if (meClassIni->fieldText().size() != kClassIniPadrao.size()) {
        mostraErro(u"Informe os 24 dígitos da Class.Inicial"_s);
        meClassIni->setFocus(Qt::OtherFocusReason);
        return;
    }

    if (const QString bloqueio = periodoBloqueadoCustoMedio(sessao().FatModNf, *mes); !bloqueio.isEmpty()) {
        mostraMensagem(bloqueio);
        return;
    }
    try {
        if (!DataProcessamentoOk(u"ESTOQUE"_s, mes->primeiroDia()))
            return;
    } catch (const DbError& e) {
        mostraErro(e.message());
        return;
    }
    if (!confirma(u"Confirma atualizacao do custo medio"_s))
        return;
    GravaLogSistema(*store_, QDateTime::currentDateTime(), sessao().FilialAtual, objectName(), u"E"_s,
                    u"Atualização de custo medio Periodo: "_s + mesAno + u" Class Inicial "_s + classIni +
                        u" a "_s + classFim,
                    QString(), sessao().UsuarioAtual);

    bool concluido = false;
    {
        ExecucaoLonga::Escopo escopo(execucao_, {meMesAno, meClassIni, meClassFim, btnOK, btnFechar});
        try {
            atualizaProdutos(*mes, classIni, classFim);
            concluido = true;
        } catch (const DbError& e) {
            // The run is abandoned where it stands; what was valued stays valued.
            TEstproma.cancel();
            mostraErro(e.message());
        } catch (const std::exception& e) {
            TEstproma.cancel();
            mostraErro(QString::fromUtf8(e.what()));
        }
    }
    if (concluido)
        close();
}

void TfoAtuCustoMedio::atualizaProdutos(const Mes& mes, const QString& classIni, const QString& classFim)
{
    const AndamentoEstoque andamento = [this](const QString& texto) {
        Label4->setText(u"Andamento: "_s + texto);
        repinta();
    };
    const AndamentoEstoque produto = [this](const QString& texto) {
        Label5->setText(texto);
        repinta();
    };
    AtualizaCustoMedioPorClassificacao(store_, contextoDaSessao(), mes, classIni, classFim, EditaRegistro,
                                       andamento, produto);
}

}  // namespace pcp
