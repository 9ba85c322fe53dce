#include "TfoAtuCustoMedio.h"

#include "L_AutSen.h"
#include "L_Critica.h"
#include "L_Estoque.h"
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

// The first day of the month "MMYYYY"; invalid for anything else.
QDate primeiroDia(const QString& mesAno)
{
    if (mesAno.size() != 6 || SoDigitos(mesAno) != mesAno)
        return {};
    return QDate(mesAno.mid(2, 4).toInt(), mesAno.left(2).toInt(), 1);
}

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
      store_(store),
      TEstproma(store, u"Estproma"_s)
{
    TEstproma.setIndexName(u"Classificacao"_s);
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

void TfoAtuCustoMedio::openTables()
{
    if (!TEstproma.active())
        TEstproma.open();
}

void TfoAtuCustoMedio::closeTables()
{
    TEstproma.cancel();
    TEstproma.close();
}

bool TfoAtuCustoMedio::check()
{
    const QString mesAno = meMesAno->fieldText();  // "MMYYYY"
    const QDate inicio = primeiroDia(mesAno);
    if (!inicio.isValid()) {
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
    if (const QString bloqueio = periodoBloqueadoCustoMedio(sessao().FatModNf, inicio); !bloqueio.isEmpty()) {
        mostraMensagem(bloqueio);
        return false;
    }
    return DataProcessamentoOk(u"ESTOQUE"_s, inicio);
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
    return textoContagem(atualizaProdutos(mesAno, classIni, classFim), u"produto"_s, u"produtos"_s);
}

void TfoAtuCustoMedio::afterRun(bool completed)
{
    if (completed)
        close();
    else
        TEstproma.cancel();  // abandoned where it stands; what was valued stays valued
}

int TfoAtuCustoMedio::atualizaProdutos(const QString& mesAno, const QString& classIni,
                                       const QString& classFim)
{
    int valorizados = 0;
    const int filial = sessao().FilialAtual;
    if (!TEstproma.active())
        TEstproma.open();
    const AndamentoEstoque produto = [this](const QString& texto) {
        Label5->setText(texto);
        betweenSteps();
    };
    if (!TEstproma.findNearest({filial, classIni.mid(0, 2), classIni.mid(2, 3), classIni.mid(5, 4),
                                classIni.mid(9, 3), classIni.mid(12, 6), classIni.mid(18, 6)}))
        return valorizados;
    while (!TEstproma.eof() && TEstproma.asInteger(u"Filial"_s) == filial) {
        const qint64 codReduz = TEstproma.asInteger(u"Cod_Reduz"_s);
        // The product's levels and code against the last classification, as
        // plain texts: the slashes sort below the digits, so an end of
        // "010000000000000000000000" still takes every product of level "01".
        const QString andamento = TEstproma.asString(u"Nivel1"_s) + u'/' + TEstproma.asString(u"Nivel2"_s) +
                                  u'/' + TEstproma.asString(u"Nivel3"_s) + u'/' +
                                  TEstproma.asString(u"Nivel4"_s) + u'/' + TEstproma.asString(u"Nivel5"_s) +
                                  u'/' + QString::number(codReduz);
        if (andamento > classFim)
            break;
        Label4->setText(u"Andamento: "_s + andamento);
        betweenSteps();
        // The lock keeps other workstations off the product while its average
        // cost is rewritten; the engine writes through the store, so the
        // record is released without posting the cursor's copy of it.
        if (EditaRegistro(TEstproma)) {
            try {
                AtualizaCustoMedio(*store_, mesAno, codReduz, codReduz, produto);
            } catch (...) {
                TEstproma.cancel();
                throw;
            }
            TEstproma.cancel();
            ++valorizados;
        }
        TEstproma.next();
    }
    return valorizados;
}

}  // namespace pcp
