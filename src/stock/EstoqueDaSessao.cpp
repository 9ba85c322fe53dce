// Transitional entry points for callers that still give the month as text and
// leave the branch and installation to the session (the batch command).
#include "L_Estoque.h"
#include "Messages.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

bool mesValido(const QString& anoMes) { return Mes::deAnoMes(anoMes).has_value(); }

bool AtualizaSaldoFisico(Store& store, const QString& AnoMes, qint64 Cod_Reduz, const QString& Tamanho,
                         qint64 Cod_Deposi, bool AtualizaQtdFis, const AndamentoEstoque& andamento)
{
    const std::optional<Mes> mes = Mes::deAnoMes(AnoMes);
    if (!mes) {
        mostraErro(u"Mes/Ano invalido: "_s + AnoMes);
        return false;
    }
    AtualizaSaldoFisico(store, contextoDaSessao(), *mes, Cod_Reduz, Tamanho, Cod_Deposi, AtualizaQtdFis,
                        andamento);
    return true;
}

ResultadoCustoMedio AtualizaCustoMedio(Store& store, const QString& MesAno, qint64 CodIni, qint64 CodFim,
                                       const AndamentoEstoque& andamento)
{
    const std::optional<Mes> mes = Mes::deMesAno(MesAno);
    if (!mes) {
        mostraErro(u"Mes/Ano invalido: "_s + MesAno);
        return {};
    }
    return AtualizaCustoMedio(store, contextoDaSessao(), *mes, CodIni, CodFim, andamento);
}

QString periodoBloqueadoCustoMedio(int fatModNf, const QDate& primeiroDia)
{
    const std::optional<Mes> mes = Mes::daData(primeiroDia);
    return mes ? periodoBloqueadoCustoMedio(fatModNf, *mes) : QString();
}

}  // namespace pcp
