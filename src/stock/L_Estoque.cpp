#include "L_Estoque.h"

#include "Decimal4.h"
#include "Formats.h"
#include "L_Critica.h"
#include "Messages.h"
#include "Sessao.h"
#include "Transaction.h"
#include "ValorizacaoMedia.h"

#include <QDate>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The month's items of one product, size and warehouse, in AnoMes order,
// each with its header, the header's history and the item's extension.
const QString kItensSaldo = uR"(
SELECT i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item,
       i.QUANTIDADE, i.Quantidade2,
       n.rowid, n.COMPLNATOP, n.Est_Hist, h.rowid, h.Param_Hist, x.NaoAtualizaSaldos
  FROM Notai i
  LEFT JOIN Notas n ON n.Filial = i.Filial AND n.Num_Nota = i.Num_Nota
       AND n.Tipo_Nota = i.Tipo_Nota AND n.Cod_Clifor = i.Cod_Clifor
       AND n.DT_ENTRADA = i.DT_ENTRADA
  LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist
  LEFT JOIN NOTAI3 x ON x.Filial = i.Filial AND x.Num_Nota = i.Num_Nota
       AND x.Tipo_Nota = i.Tipo_Nota AND x.Cod_Clifor = i.Cod_Clifor
       AND x.DT_ENTRADA = i.DT_ENTRADA AND x.Num_Item = i.Num_Item
 WHERE i.Filial = ?1 AND i.ANO_MES = ?2 AND i.Cod_Reduz = ?3 AND i.TAMANHO IS ?4
   AND i.Cod_Deposi = ?5
 ORDER BY i.Filial, i.ANO_MES, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi,
          i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

const QString kSaldoDoMes =
    u"SELECT rowid, Fisico, Fisico2 FROM Sldpr WHERE Filial = ?1 AND Ano_Mes = ?2 "
    "AND Cod_Reduz = ?3 AND Tamanho IS ?4 AND Cod_Deposi = ?5"_s;

// Installations that show no progress window, and those that report a
// negative closing balance.
bool semAndamento(int fat) { return fat == 135 || fat == 144 || fat == 167; }
bool avisaSaldoNegativo(int fat) { return fat == 73 || fat == 83 || fat == 221 || fat == 304; }

qint64 emDezMilesimos(double v) { return Decimal4::fromDouble(v).raw(); }

}  // namespace

bool mesValido(const QString& anoMes)
{
    if (anoMes.size() != 6 || SoDigitos(anoMes) != anoMes)
        return false;
    const int mes = anoMes.mid(4, 2).toInt();
    return mes >= 1 && mes <= 12;
}

QString mesAnterior(const QString& anoMes)
{
    if (!mesValido(anoMes))
        return {};
    int ano = anoMes.left(4).toInt();
    int mes = anoMes.mid(4, 2).toInt() - 1;
    if (mes == 0) {
        mes = 12;
        --ano;
    }
    return formatText(u"%4.4d%2.2d"_s, {ano, mes});
}

double PercentualAumento(double Base, double Preco)
{
    const double base = Decimal4::fromDouble(Base).toDouble();
    const double preco = Decimal4::fromDouble(Preco).toDouble();
    if (base == 0 || preco == 0)
        return 0;
    return Arredonda(4, ((preco / base) - 1) * 100);
}

bool AtualizaSaldoFisico(Store& store, const QString& AnoMes, qint64 Cod_Reduz,
                         const QString& Tamanho, qint64 Cod_Deposi, bool AtualizaQtdFis,
                         const AndamentoEstoque& andamento)
{
    if (!mesValido(AnoMes)) {
        mostraErro(u"Mes/Ano invalido: "_s + AnoMes);
        return false;
    }
    const int filial = sessao().FilialAtual;
    const int fat = sessao().FatModNf;
    const bool mostraAndamento = andamento && !semAndamento(fat);
    Database& db = store.db();
    AvisosEstoque avisos;
    qint64 quantidade = 0, quantidade2 = 0;  // ten-thousandths

    Transaction tx(db);
    const QVariantList chave{filial, AnoMes, Cod_Reduz, Tamanho, Cod_Deposi};
    Statement& saldo = db.cached(kSaldoDoMes);
    saldo.bindList(chave);
    qint64 linha = 0;
    if (saldo.next()) {
        linha = saldo.intValue(0);
        saldo.reset();
    } else {
        db.cached(u"INSERT INTO Sldpr (Filial, Ano_Mes, Cod_Reduz, Tamanho, Cod_Deposi, Fisico, "
                  "Financeiro, Dolar) VALUES (?1, ?2, ?3, ?4, ?5, 0, 0, 0)"_s)
            .bindList(chave)
            .run();
        linha = db.lastInsertRowId();
    }
    saldo.bindList({filial, mesAnterior(AnoMes), Cod_Reduz, Tamanho, Cod_Deposi});
    if (saldo.next()) {
        quantidade = emDezMilesimos(saldo.doubleValue(1));
        quantidade2 = emDezMilesimos(saldo.doubleValue(2));
        saldo.reset();
    }

    Statement& itens = db.cached(kItensSaldo);
    itens.bindList(chave);
    while (itens.next()) {
        const QString data = itens.textValue(0);
        if (mostraAndamento)
            andamento(u"%1 %2-%3/%4 %5"_s.arg(dataMostrada(data))
                          .arg(itens.intValue(1))
                          .arg(itens.intValue(2))
                          .arg(itens.intValue(4))
                          .arg(itens.intValue(3)));
        if (fat == 131 && data < u"2003-12-31"_s)
            continue;
        if (itens.isNull(7)) {
            avisos.nota(itens.intValue(1), itens.intValue(2), itens.intValue(3), data);
            continue;
        }
        const QString complemento = itens.textValue(8);
        if (fat == 144 && complemento != u"O"_s && complemento != u"D"_s)
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
        } else if (classe > 50) {
            quantidade -= q;
            quantidade2 -= q2;
        }
    }

    const double fisico = Decimal4::fromRaw(quantidade).toDouble();
    // Rows that already hold the values are not written: a product opened
    // again in the register costs no write and no disk flush.
    db.cached(u"UPDATE Sldpr SET Fisico = ?1, Fisico2 = ?2 WHERE rowid = ?3 "
              "AND (Fisico IS NOT ?1 OR Fisico2 IS NOT ?2)"_s)
        .bindList({fisico, Decimal4::fromRaw(quantidade2).toDouble(), linha})
        .run();
    if (avisaSaldoNegativo(fat) && quantidade < 0)
        avisos.texto(u"Produto sem saldo: "_s + formatText(u"%12.2f"_s, {fisico}));
    if (AtualizaQtdFis)
        db.cached(u"UPDATE Estproma SET Qtd_Fis = ?1 WHERE Filial = ?2 AND Cod_Reduz = ?3 "
                  "AND Qtd_Fis IS NOT ?1"_s)
            .bindList({fisico, filial, Cod_Reduz})
            .run();
    tx.commit();
    avisos.mostra();
    return true;
}

namespace {

// Installations whose early months may not be revalued: the first day of the
// month on or before (or, without `inclusive`, before) the limit is refused.
struct BloqueioPeriodo {
    std::initializer_list<int> fatModNf;
    QDate limite;
    bool inclusive;
    const char16_t* mensagem;
};

}  // namespace

QString periodoBloqueadoCustoMedio(int fat, const QDate& inicio)
{
    static const BloqueioPeriodo bloqueios[] = {
        {{131}, QDate(2007, 12, 31), true, u"Periodo Sem Acesso"},
        {{160}, QDate(2008, 1, 1), true, u"Periodo Sem Acesso"},
        {{176}, QDate(2007, 3, 31), true, u"Periodo Sem Acesso"},
        {{121}, QDate(2004, 12, 31), true, u"Periodo Sem Acesso"},
        {{126}, QDate(2004, 7, 1), false, u"Periodo Sem Acesso"},
        {{112, 177}, QDate(2004, 1, 1), false, u"Periodo Sem Acesso"},
        {{51}, QDate(2004, 3, 1), false, u"Periodo Sem Acesso"},
        {{73, 83, 221, 304}, QDate(2000, 11, 30), true, u"Periodo sem acesso"},
        {{62}, QDate(2001, 4, 30), true, u"Periodo sem acesso"},
        {{74}, QDate(2002, 11, 30), true, u"Periodo sem acesso"},
    };
    for (const BloqueioPeriodo& b : bloqueios) {
        if (std::find(b.fatModNf.begin(), b.fatModNf.end(), fat) == b.fatModNf.end())
            continue;
        if (b.inclusive ? inicio <= b.limite : inicio < b.limite)
            return QString::fromUtf16(b.mensagem);
    }
    return {};
}


}  // namespace pcp
