#include "CustoMedioPorClassificacao.h"

#include "DbError.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

bool travaSemPerguntar(TableCursor& estproma)
{
    try {
        estproma.edit();
        return true;
    } catch (const DbError& e) {
        if (e.kind() == DbErrorKind::RecordLocked)
            return false;
        throw;
    }
}

// The product's levels and code, as the stop rule compares them.
QString posicao(const TableCursor& estproma)
{
    QStringList partes;
    for (const QString& nivel : {u"Nivel1"_s, u"Nivel2"_s, u"Nivel3"_s, u"Nivel4"_s, u"Nivel5"_s})
        partes << estproma.asString(nivel);
    partes << QString::number(estproma.asInteger(u"Cod_Reduz"_s));
    return partes.join(u'/');
}

}  // namespace

ResultadoClassificacao AtualizaCustoMedioPorClassificacao(const std::shared_ptr<Store>& store,
                                                          const ContextoEstoque& contexto, const Mes& mes,
                                                          const QString& classIni, const QString& classFim,
                                                          const TravaProduto& trava,
                                                          const AndamentoEstoque& andamento,
                                                          const AndamentoEstoque& produto)
{
    ResultadoClassificacao r;
    TableCursor estproma(store, u"Estproma"_s);
    estproma.setIndexName(u"Classificacao"_s);
    estproma.open();
    const TravaProduto& travar = trava ? trava : TravaProduto(travaSemPerguntar);
    if (!estproma.findNearest({contexto.filial, classIni.mid(0, 2), classIni.mid(2, 3), classIni.mid(5, 4),
                               classIni.mid(9, 3), classIni.mid(12, 6), classIni.mid(18, 6)}))
        return r;
    while (!estproma.eof() && estproma.asInteger(u"Filial"_s) == contexto.filial) {
        const QString onde = posicao(estproma);
        // Plain texts: the slashes sort below the digits.
        if (onde > classFim)
            break;
        if (andamento)
            andamento(onde);
        // The lock keeps other workstations off the product while its average
        // cost is rewritten; the engine writes through the store, so the
        // record is released without posting the cursor's copy of it.
        if (travar(estproma)) {
            const qint64 codReduz = estproma.asInteger(u"Cod_Reduz"_s);
            ResultadoCustoMedio c;
            try {
                c = AtualizaCustoMedio(*store, contexto, mes, codReduz, codReduz, produto);
            } catch (...) {
                estproma.cancel();
                throw;
            }
            estproma.cancel();
            if (!c.executado) {
                r.executado = false;
                break;
            }
            ++r.produtos;
            r.saldos += c.saldos;
            r.itens += c.itens;
        } else {
            ++r.pulados;
        }
        estproma.next();
    }
    return r;
}

}  // namespace pcp
