#include "L_Estoque.h"

#include "ChaveTamanho.h"
#include "Decimal4.h"
#include "Formats.h"
#include "L_Critica.h"
#include "Transaction.h"
#include "ValorizacaoMedia.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The month's items of one product, size and warehouse in AnoMes order, each
// with its header, the header's history and the item's extension. %1 is the
// size condition (condicaoTamanho), whose parameter comes last.
const QString kItensSaldo = uR"(
SELECT i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item,
       i.QUANTIDADE, i.Quantidade2,
       n._rowid_, n.COMPLNATOP, n.Est_Hist, h._rowid_, h.Param_Hist, x.NaoAtualizaSaldos
  FROM Notai i
  LEFT JOIN Notas n ON n.Filial = i.Filial AND n.Num_Nota = i.Num_Nota
       AND n.Tipo_Nota = i.Tipo_Nota AND n.Cod_Clifor = i.Cod_Clifor
       AND n.DT_ENTRADA = i.DT_ENTRADA
  LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist
  LEFT JOIN NOTAI3 x ON x.Filial = i.Filial AND x.Num_Nota = i.Num_Nota
       AND x.Tipo_Nota = i.Tipo_Nota AND x.Cod_Clifor = i.Cod_Clifor
       AND x.DT_ENTRADA = i.DT_ENTRADA AND x.Num_Item = i.Num_Item
 WHERE i.Filial = ? AND i.ANO_MES = ? AND i.Cod_Reduz = ? AND i.Cod_Deposi = ? AND %1
 ORDER BY i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

// The balance row of a key; of a blank size stored both ways, the first written.
const QString kSaldoDoMes = u"SELECT _rowid_, Fisico, Fisico2 FROM Sldpr WHERE Filial = ? AND Ano_Mes = ? "
                            "AND Cod_Reduz = ? AND Cod_Deposi = ? AND %1 ORDER BY _rowid_"_s;

qint64 emDezMilesimos(double v) { return Decimal4::fromDouble(v).raw(); }

}  // namespace

double PercentualAumento(double Base, double Preco)
{
    const double base = Decimal4::fromDouble(Base).toDouble();
    const double preco = Decimal4::fromDouble(Preco).toDouble();
    if (base == 0 || preco == 0)
        return 0;
    return Arredonda(4, ((preco / base) - 1) * 100);
}

ResultadoSaldoFisico AtualizaSaldoFisico(Store& store, const ContextoEstoque& contexto, const Mes& mes,
                                         qint64 Cod_Reduz, const QString& Tamanho, qint64 Cod_Deposi,
                                         bool AtualizaQtdFis, const AndamentoEstoque& andamento)
{
    const int filial = contexto.filial;
    const int fat = contexto.fatModNf;
    const bool mostraAndamento = andamento && !semJanelaDeAndamento(fat);
    const QString primeiraData = primeiraDataDosItens(MotorEstoque::SaldoFisico, fat);
    const QString anoMes = mes.anoMes();
    const QString anterior = mes.anterior() ? mes.anterior()->anoMes() : QString();
    Database& db = store.db();
    AvisosEstoque avisos;
    ResultadoSaldoFisico r;
    qint64 quantidade = 0, quantidade2 = 0;  // ten-thousandths

    Transaction tx(db);
    const QString tamanho = condicaoTamanho(u"Tamanho"_s, Tamanho);
    Statement& saldo = db.cached(kSaldoDoMes.arg(tamanho));
    auto chave = [&](const QString& m) {
        QVariantList k{filial, m, Cod_Reduz, Cod_Deposi};
        if (!tamanhoEmBranco(Tamanho))
            k << Tamanho;
        return k;
    };
    saldo.bindList(chave(anoMes));
    qint64 linha = 0;
    if (saldo.next()) {
        linha = saldo.intValue(0);
        saldo.reset();
    } else {
        db.cached(u"INSERT INTO Sldpr (Filial, Ano_Mes, Cod_Reduz, Tamanho, Cod_Deposi, Fisico, "
                  "Financeiro, Dolar) VALUES (?, ?, ?, ?, ?, 0, 0, 0)"_s)
            .bindList({filial, anoMes, Cod_Reduz, Tamanho, Cod_Deposi})
            .run();
        linha = db.lastInsertRowId();
    }
    saldo.bindList(chave(anterior));
    if (saldo.next()) {
        quantidade = emDezMilesimos(saldo.doubleValue(1));
        quantidade2 = emDezMilesimos(saldo.doubleValue(2));
        saldo.reset();
    }

    Statement& itens = db.cached(kItensSaldo.arg(condicaoTamanho(u"i.TAMANHO"_s, Tamanho)));
    itens.bindList(chave(anoMes));
    while (itens.next()) {
        const QString data = itens.textValue(0);
        if (mostraAndamento)
            andamento(u"%1 %2-%3/%4 %5"_s.arg(dataMostrada(data))
                          .arg(itens.intValue(1))
                          .arg(itens.intValue(2))
                          .arg(itens.intValue(4))
                          .arg(itens.intValue(3)));
        if (data < primeiraData)
            continue;
        if (itens.isNull(7)) {
            avisos.nota(itens.intValue(1), itens.intValue(2), itens.intValue(3), data);
            continue;
        }
        const QString complemento = itens.textValue(8);
        if (soComplementoOD(fat) && complemento != u"O"_s && complemento != u"D"_s)
            continue;
        if (itens.textValue(12) == u"S"_s)
            continue;
        if (itens.isNull(10))
            avisos.historico(itens.intValue(9), itens.intValue(1), itens.intValue(2),
                             itens.intValue(3), data);
        const qint64 classe = itens.intValue(11);  // a missing history is class 0: an entry
        const qint64 q = emDezMilesimos(itens.doubleValue(5));
        const qint64 q2 = emDezMilesimos(itens.doubleValue(6));
        if (classe < 50) {
            quantidade += q;
            quantidade2 += q2;
            ++r.itens;
        } else if (classe > 50) {
            quantidade -= q;
            quantidade2 -= q2;
            ++r.itens;
        }
    }

    r.fisico = Decimal4::fromRaw(quantidade).toDouble();
    r.fisico2 = Decimal4::fromRaw(quantidade2).toDouble();
    // Rows that already hold the values are not written: a product opened
    // again in the register costs no write and no disk flush.
    db.cached(u"UPDATE Sldpr SET Fisico = ?, Fisico2 = ? WHERE _rowid_ = ? "
              "AND (Fisico IS DISTINCT FROM ? OR Fisico2 IS DISTINCT FROM ?)"_s)
        .bindList({r.fisico, r.fisico2, linha, r.fisico, r.fisico2})
        .run();
    if (avisaSaldoNegativo(fat) && quantidade < 0)
        avisos.texto(u"Produto sem saldo: "_s + formatText(u"%12.2f"_s, {r.fisico}));
    if (AtualizaQtdFis)
        db.cached(u"UPDATE Estproma SET Qtd_Fis = ? WHERE Filial = ? AND Cod_Reduz = ? "
                  "AND Qtd_Fis IS DISTINCT FROM ?"_s)
            .bindList({r.fisico, filial, Cod_Reduz, r.fisico})
            .run();
    tx.commit();
    avisos.mostra();
    return r;
}

}  // namespace pcp
