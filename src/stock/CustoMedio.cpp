// AtualizaCustoMedio: the month's balance rows and the month's items are read
// by two queries, each in its own index order (Sldpr by its key, Notai by
// AnoMes), and merged on product, size and warehouse, so every item is read
// once and a row is valued from exactly its own items.
#include "L_Estoque.h"

#include "Decimal4.h"
#include "Messages.h"
#include "Sessao.h"
#include "Transaction.h"
#include "ValorizacaoMedia.h"

#include <algorithm>
#include <QHash>
#include <climits>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kSaldos = uR"(
SELECT s.rowid, s.Cod_Reduz, s.Tamanho, s.Cod_Deposi, s.Medio, s.Fisico, s.Fisico2,
       p.rowid, p.Medio, p.Fisico, p.Fisico2, e.rowid, e.ULTIMOCUST, e.CustoMedio
  FROM Sldpr s
  LEFT JOIN Sldpr p ON p.Filial = s.Filial AND p.Ano_Mes = ?3 AND p.Cod_Reduz = s.Cod_Reduz
       AND p.Tamanho IS s.Tamanho AND p.Cod_Deposi = s.Cod_Deposi
  LEFT JOIN Estproma e ON e.Filial = s.Filial AND e.Cod_Reduz = s.Cod_Reduz
 WHERE s.Filial = ?1 AND s.Ano_Mes = ?2 AND s.Cod_Reduz BETWEEN ?4 AND ?5
 ORDER BY s.Filial, s.Ano_Mes, s.Cod_Reduz, s.Tamanho, s.Cod_Deposi)"_s;

// The month's items in AnoMes order. Their headers are looked up apart and
// remembered: the items of one document lie far apart in this order, and
// each header is read once instead of once per item.
const QString kItens = uR"(
SELECT i.rowid, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi, i.DT_ENTRADA, i.QUANTIDADE,
       i.Quantidade2, i.CUSTO_INF, i.VLR_CUSTO, i.VLR_MEDIO, i.Num_Nota, i.Tipo_Nota,
       i.Cod_Clifor
  FROM Notai i
 WHERE i.Filial = ?1 AND i.ANO_MES = ?2 AND i.Cod_Reduz BETWEEN ?3 AND ?4
 ORDER BY i.Filial, i.ANO_MES, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi,
          i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

const QString kCabecalho = uR"(
SELECT n.Est_Hist, n.COMPLNATOP, h.rowid, h.Param_Hist
  FROM Notas n LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist
 WHERE n.Filial = ?1 AND n.Num_Nota = ?2 AND n.Tipo_Nota = ?3 AND n.Cod_Clifor = ?4
   AND n.DT_ENTRADA = ?5)"_s;

// What the valuation needs of a document header.
struct Cabecalho {
    bool existe = false;
    bool temHistorico = false;
    qint64 estHist = 0;
    int classe = 0;  // Param_Hist; 0 when the history code is missing
    bool complementoOD = false;  // COMPLNATOP is "O" or "D"
};

struct ChaveNota {
    qint64 numNota, tipoNota, codClifor;
    QString data;
    bool operator==(const ChaveNota& o) const
    {
        return numNota == o.numNota && tipoNota == o.tipoNota && codClifor == o.codClifor &&
               data == o.data;
    }
};

size_t qHash(const ChaveNota& k, size_t seed = 0)
{
    return qHashMulti(seed, k.numNota, k.tipoNota, k.codClifor, k.data);
}

class CabecalhosLidos {
public:
    CabecalhosLidos(Database& db, int filial) : consulta_(db.prepare(kCabecalho)), filial_(filial) {}
    const Cabecalho& busca(const ChaveNota& k)
    {
        auto it = lidos_.find(k);
        if (it != lidos_.end())
            return *it;
        Cabecalho c;
        consulta_.bindList({filial_, k.numNota, k.tipoNota, k.codClifor, k.data});
        if (consulta_.next()) {
            c.existe = true;
            c.estHist = consulta_.intValue(0);
            const QString complemento = consulta_.textValue(1);
            c.complementoOD = complemento == u"O"_s || complemento == u"D"_s;
            c.temHistorico = !consulta_.isNull(2);
            c.classe = int(consulta_.intValue(3));
            consulta_.reset();
        }
        return *lidos_.insert(k, c);
    }

private:
    Statement consulta_;
    int filial_;
    QHash<ChaveNota, Cabecalho> lidos_;
};

// Product, size and warehouse of a balance row or an item, compared as the
// indexes order them (a blank size first, then by character code).
struct ChaveSaldo {
    qint64 codReduz = 0;
    QString tamanho;
    qint64 deposito = 0;

    static ChaveSaldo de(const Statement& st, int primeira)
    {
        auto inteiro = [&](int c) { return st.isNull(c) ? LLONG_MIN : st.intValue(c); };
        return {inteiro(primeira), st.textValue(primeira + 1), inteiro(primeira + 2)};
    }
    int compara(const ChaveSaldo& o) const
    {
        if (codReduz != o.codReduz)
            return codReduz < o.codReduz ? -1 : 1;
        if (tamanho != o.tamanho) {
            const QList<uint> a = tamanho.toUcs4(), b = o.tamanho.toUcs4();
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end()) ? -1 : 1;
        }
        if (deposito != o.deposito)
            return deposito < o.deposito ? -1 : 1;
        return 0;
    }
};

// The product whose rows are being valued: its prices and the average cost
// its warehouse-1 rows set, written once when its last row is done.
struct ProdutoEmCurso {
    qint64 codReduz = LLONG_MIN;
    qint64 linha = 0;  // Estproma rowid, 0 when the product is not registered
    double ultimoCust = 0;
    double custoMedio = 0;
    bool mudou = false;
};

// The new cost fields of one item, kept until the month's items are read.
struct AlteracaoItem {
    qint64 linha;  // Notai rowid
    double vlrCusto, vlrMedio;
    bool custoNulo, medioNulo;
};

bool difere(const Statement& st, int coluna, double valor)
{
    return st.isNull(coluna) || st.doubleValue(coluna) != valor;
}

bool periodoFechado(int fat, const QString& anoMes)
{
    return (fat == 74 || fat == 131) && anoMes <= u"200312"_s;
}

}  // namespace

ResultadoCustoMedio AtualizaCustoMedio(Store& store, const QString& MesAno, qint64 CodIni,
                                       qint64 CodFim, const AndamentoEstoque& andamento)
{
    ResultadoCustoMedio resultado;
    const QString anoMes = MesAno.mid(2, 4) + MesAno.left(2);
    if (MesAno.size() != 6 || !mesValido(anoMes)) {
        mostraErro(u"Mes/Ano invalido: "_s + MesAno);
        return resultado;
    }
    const int filial = sessao().FilialAtual;
    const int fat = sessao().FatModNf;
    if (fat == 121 && anoMes <= u"200412"_s) {
        mostraMensagem(u"Periodo indisponível"_s);
        return resultado;
    }
    if (periodoFechado(fat, anoMes))
        return resultado;

    Database& db = store.db();
    AvisosEstoque avisos;
    CacheDoMotor cache(db);
    Transaction tx(db);
    Statement saldos = db.prepare(kSaldos);
    saldos.bindList({filial, anoMes, mesAnterior(anoMes), CodIni, CodFim});
    Statement itens = db.prepare(kItens);
    itens.bindList({filial, anoMes, CodIni, CodFim});
    Statement gravaItem = db.prepare(u"UPDATE Notai SET VLR_CUSTO = ?1, VLR_MEDIO = ?2 WHERE rowid = ?3"_s);
    Statement gravaSaldo =
        db.prepare(u"UPDATE Sldpr SET Medio = ?1, Fisico = ?2, Fisico2 = ?3 WHERE rowid = ?4"_s);
    Statement gravaProduto = db.prepare(u"UPDATE Estproma SET CustoMedio = ?1 WHERE rowid = ?2"_s);

    std::vector<AlteracaoItem> alteracoes;
    CabecalhosLidos cabecalhos(db, filial);
    ProdutoEmCurso produto;
    auto encerraProduto = [&] {
        if (produto.linha && produto.mudou)
            gravaProduto.bindDouble(1, produto.custoMedio).bindInt(2, produto.linha).run();
    };

    bool haItem = itens.next();
    ChaveSaldo chaveItem = haItem ? ChaveSaldo::de(itens, 1) : ChaveSaldo{};
    auto proximoItem = [&] {
        haItem = itens.next();
        if (haItem)
            chaveItem = ChaveSaldo::de(itens, 1);
    };

    while (saldos.next()) {
        const ChaveSaldo chave = ChaveSaldo::de(saldos, 1);
        if (chave.codReduz != produto.codReduz) {
            encerraProduto();
            produto = {chave.codReduz, saldos.isNull(11) ? 0 : saldos.intValue(11),
                       saldos.doubleValue(12), saldos.doubleValue(13), false};
        }
        if (andamento)
            andamento(u"Produto: "_s + QString::number(chave.codReduz));

        SaldoCorrente corrente;
        if (!saldos.isNull(7))
            corrente = {saldos.doubleValue(8), saldos.doubleValue(9), saldos.doubleValue(10)};

        // Items of a key without a balance row of the month are not valued.
        while (haItem && chaveItem.compara(chave) < 0)
            proximoItem();
        for (; haItem && chaveItem.compara(chave) == 0; proximoItem()) {
            if (fat == 101 && itens.textValue(4) < u"2002-03-19"_s)
                continue;
            const QString data = itens.textValue(4);
            const Cabecalho& cab = cabecalhos.busca(
                {itens.intValue(10), itens.intValue(11), itens.intValue(12), data});
            if (!cab.existe) {
                avisos.nota(itens.intValue(10), itens.intValue(11), itens.intValue(12), data);
                continue;
            }
            if (fat == 144 && !cab.complementoOD)
                continue;
            // A history code missing from HistEst is class 0, an entry, as in
            // AtualizaSaldoFisico; it is reported once.
            if (!cab.temHistorico)
                avisos.historico(cab.estHist, itens.intValue(10), itens.intValue(11),
                                 itens.intValue(12), data);
            ItemCusto item{itens.doubleValue(5), itens.doubleValue(6), itens.doubleValue(7),
                           itens.doubleValue(8), itens.doubleValue(9)};
            if (!corrente.aplica(cab.classe, item, produto.ultimoCust,
                                 produto.custoMedio))
                continue;
            ++resultado.itens;
            if ((item.custoMudou && difere(itens, 8, item.vlrCusto)) ||
                (item.medioMudou && difere(itens, 9, item.vlrMedio)))
                // A cost the item keeps is written back as stored (blank stays blank).
                alteracoes.push_back({itens.intValue(0), item.vlrCusto, item.vlrMedio,
                                      !item.custoMudou && itens.isNull(8),
                                      !item.medioMudou && itens.isNull(9)});
        }

        const SaldoCorrente::Fechamento f = corrente.fechamento();
        if (difere(saldos, 4, f.medio) || difere(saldos, 5, f.fisico) || difere(saldos, 6, f.fisico2))
            gravaSaldo.bindDouble(1, f.medio)
                .bindDouble(2, f.fisico)
                .bindDouble(3, f.fisico2)
                .bindInt(4, saldos.intValue(0))
                .run();
        ++resultado.saldos;
        if (chave.deposito == 1 && f.medio != 0 && f.fisico != 0) {
            const double custo = Decimal4::fromDouble(f.medio / f.fisico).toDouble();
            produto.mudou = produto.mudou || custo != produto.custoMedio;
            produto.custoMedio = custo;
        }
    }
    encerraProduto();
    if (haItem)
        itens.reset();
    // Written in table order, so each page of Notai is visited once.
    std::sort(alteracoes.begin(), alteracoes.end(),
              [](const AlteracaoItem& a, const AlteracaoItem& b) { return a.linha < b.linha; });
    for (const AlteracaoItem& a : alteracoes) {
        a.custoNulo ? gravaItem.bindNull(1) : gravaItem.bindDouble(1, a.vlrCusto);
        a.medioNulo ? gravaItem.bindNull(2) : gravaItem.bindDouble(2, a.vlrMedio);
        gravaItem.bindInt(3, a.linha).run();
    }
    tx.commit();
    avisos.mostra();
    resultado.executado = true;
    return resultado;
}

}  // namespace pcp
