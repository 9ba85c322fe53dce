#include "ValorizacaoMedia.h"

#include "Decimal4.h"
#include "L_Critica.h"
#include "Messages.h"

#include <cmath>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

double round4(double v) { return Arredonda(4, v); }
// A product taken into a fixed-point money value: the nearest ten-thousandth.
double dezMilesimos(double v) { return Decimal4::fromDouble(v).toDouble(); }

}  // namespace

bool SaldoCorrente::aplica(int classe, ItemCusto& item, double ultimoCust, double custoMedio)
{
    if (classe < 49) {
        if (item.custoInf != 0) {
            item.vlrCusto = item.custoInf;
            item.custoMudou = true;
        }
        if (classe == 2) {
            if (valor == 0) {
                item.vlrCusto = dezMilesimos(item.quantidade * ultimoCust);
                if (item.vlrCusto == 0)
                    item.vlrCusto = dezMilesimos(item.quantidade * custoMedio);
                item.custoMudou = true;
                valor = item.vlrCusto;
            }
            if (quantidade > 0) {
                item.vlrCusto = round4(item.quantidade * (valor / quantidade));
                item.custoMudou = true;
            }
            if (quantidade < 0)
                valor = 0;
        }
        if (quantidade > 0 || classe != 2)
            valor += item.vlrCusto;
        quantidade = round4(quantidade + item.quantidade);
        quantidade2 += item.quantidade2;
        item.vlrMedio = 0;
        if (quantidade != 0 && valor > 0)
            item.vlrMedio = std::max(0.0, round4(valor / quantidade));
        item.medioMudou = true;
        return true;
    }
    if (classe > 50) {
        // The exit takes everything when both quantities agree to the ten-thousandth.
        if (std::trunc(quantidade * 10000) == std::trunc(item.quantidade * 10000)) {
            item.vlrCusto = valor;
            item.custoMudou = true;
            if (quantidade != 0) {
                item.vlrMedio = round4(valor / quantidade);
                item.medioMudou = true;
            }
            valor = 0;
        } else if (quantidade != 0) {
            item.vlrCusto = round4(item.quantidade * (valor / quantidade));
            item.vlrMedio = round4(valor / quantidade);
            item.custoMudou = item.medioMudou = true;
            valor -= item.vlrCusto;
        }
        quantidade = round4(quantidade - item.quantidade);
        quantidade2 -= item.quantidade2;
        return true;
    }
    return false;
}

SaldoCorrente::Fechamento SaldoCorrente::fechamento() const
{
    Fechamento f{round4(valor), round4(quantidade), round4(quantidade2)};
    if (f.fisico == 0)
        f.medio = f.fisico2 = 0;
    return f;
}

void AvisosEstoque::nota(qint64 numNota, qint64 tipoNota, qint64 codClifor, const QString& dataIso)
{
    textos_ << u"Nota nao cadastrada:%1-%2-%3-%4"_s.arg(numNota).arg(tipoNota).arg(codClifor).arg(
        dataMostrada(dataIso));
}

void AvisosEstoque::historico(qint64 estHist, qint64 numNota, qint64 tipoNota, qint64 codClifor,
                              const QString& dataIso)
{
    if (historicos_.contains(estHist))
        return;
    historicos_ << estHist;
    textos_ << u"Historico de estoque nao cadastrado:%1 (Nota %2-%3-%4-%5)"_s.arg(estHist)
                   .arg(numNota)
                   .arg(tipoNota)
                   .arg(codClifor)
                   .arg(dataMostrada(dataIso));
}

void AvisosEstoque::mostra()
{
    const QStringList textos = std::exchange(textos_, {});
    for (const QString& t : textos)
        mostraMensagem(t);
}

QString dataMostrada(const QString& dataIso)
{
    if (dataIso.size() != 10)
        return dataIso;
    return dataIso.mid(8, 2) + u'/' + dataIso.mid(5, 2) + u'/' + dataIso.left(4);
}

}  // namespace pcp
