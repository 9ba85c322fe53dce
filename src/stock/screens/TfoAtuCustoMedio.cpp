#include "TfoAtuCustoMedio.h"

#include "CustoMedioPorClassificacao.h"
#include "L_AutSen.h"
#include "L_Estoque.h"
#include "Mes.h"
#include "RegrasInstalacao.h"
#include "Messages.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "TableRoutines.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kClassIniPadrao = u"000000000000000000000000"_s;
const QString kClassFimPadrao = u"999999999999999999999999"_s;

}  // namespace

TfoAtuCustoMedio::TfoAtuCustoMedio(std::shared_ptr<Store> store, QWidget* parent)
    : ProcessScreen(u"foAtuCustoMedio"_s, u"Atualização do Custo Medio"_s, u"btnOK"_s, u"btnFechar"_s, parent),
      meMesAno(addParameter(u"Mês / Ano"_s, u"meMesAno"_s, FieldType::String, u"00/0000;0;_"_s)),
      meClassIni(addParameter(u"Class.Inicial"_s, u"meClassIni"_s, FieldType::String,
                              u"000000000000000000000000;1; "_s)),
      meClassFim(addParameter(u"Class.Final"_s, u"meClassFim"_s, FieldType::String,
                              u"999999999999999999999999;1; "_s)),
      Label4(new QLabel(u"Andamento"_s)),
      Label5(new QLabel(u"Produto: "_s)),
      btnOK(okButton()),
      btnFechar(closeButton()),
      store_(std::move(store))
{
    setConfirmation(u"Confirma atualizacao do custo medio"_s);
    meClassIni->showValue(kClassIniPadrao);
    meClassFim->showValue(kClassFimPadrao);
    Label4->setObjectName(u"Label4"_s);
    Label5->setObjectName(u"Label5"_s);
    // Wide enough for the longest progress line (24 digits, five slashes and
    // a product code) without the window growing during the run.
    Label4->setMinimumWidth(fontMetrics().horizontalAdvance(u"Andamento: 00/000/0000/000/000000/0000000000"_s));
    addInfo(Label4);
    addInfo(Label5);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TfoAtuCustoMedio::~TfoAtuCustoMedio() = default;

bool TfoAtuCustoMedio::check()
{
    const QString mesAno = meMesAno->fieldText();  // "MMYYYY"
    const std::optional<Mes> mes = Mes::deMesAno(mesAno);
    if (!mes) {
        mostraErro(mesAno.isEmpty() ? u"Informe o Mês / Ano"_s
                                    : u"Mês / Ano inválido: "_s + meMesAno->displayText());
        return refuseAt(meMesAno);
    }
    // The first classification gives the six level pieces the walk starts
    // from: all 24 digits are needed.
    if (meClassIni->fieldText().size() != kClassIniPadrao.size()) {
        mostraErro(u"Informe os 24 dígitos da Class.Inicial"_s);
        return refuseAt(meClassIni);
    }
    if (const QString bloqueio = periodoBloqueadoCustoMedio(sessao().FatModNf, *mes); !bloqueio.isEmpty()) {
        mostraMensagem(bloqueio);
        return false;
    }
    return DataProcessamentoOk(u"ESTOQUE"_s, mes->primeiroDia());
}

std::optional<QString> TfoAtuCustoMedio::run()
{
    // The last classification is taken as the box shows it, unfilled
    // positions as blanks.
    const QString mesAno = meMesAno->fieldText();
    const QString classIni = meClassIni->displayText();
    const QString classFim = meClassFim->displayText();
    GravaLogSistema(*store_, QDateTime::currentDateTime(), sessao().FilialAtual, objectName(), u"E"_s,
                    u"Atualização de custo medio Periodo: "_s + mesAno + u" Class Inicial "_s + classIni +
                        u" a "_s + classFim,
                    QString(), sessao().UsuarioAtual);
    const AndamentoEstoque andamento = [this](const QString& texto) {
        Label4->setText(u"Andamento: "_s + texto);
        betweenSteps();
    };
    const AndamentoEstoque produto = [this](const QString& texto) {
        Label5->setText(texto);
        betweenSteps();
    };
    const ResultadoClassificacao r =
        AtualizaCustoMedioPorClassificacao(store_, contextoDaSessao(), *Mes::deMesAno(mesAno), classIni, classFim,
                                           EditaRegistro, andamento, produto);
    return textoContagem(r.produtos, u"produto"_s, u"produtos"_s);
}

void TfoAtuCustoMedio::afterRun(bool completed)
{
    // An abandoned run stays where it stopped: what was valued stays valued.
    if (completed)
        close();
}

}  // namespace pcp
