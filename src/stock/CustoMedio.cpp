// AtualizaCustoMedio: the month's balance rows are read in their key order and
// the month's items are brought into AnoMes order (the order from the index,
// the fields read in table order), and the two are merged on product, size and
// warehouse, so every item is read once and a row is valued from exactly its
// own items.
#include "L_Estoque.h"

#include "Decimal4.h"
#include "Messages.h"
#include "Sessao.h"
#include "Transaction.h"
#include "ValorizacaoMedia.h"

#include <algorithm>
#include <QHash>
#include <climits>
#include <optional>
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

// The month's items of the range in AnoMes order, read from the index alone:
// their rowids give the order in which they are valued.
const QString kOrdemItens = uR"(
SELECT i.rowid
  FROM Notai i
 WHERE i.Filial = ?1 AND i.ANO_MES = ?2 AND i.Cod_Reduz BETWEEN ?3 AND ?4
 ORDER BY i.Filial, i.ANO_MES, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi,
          i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

// The fields the valuation needs of the items, fetched in table order: a
// stretch of rowids at once when the month's items lie close together, or
// one rowid at a time (still ascending) when they are scattered.
#define PCP_CAMPOS_ITEM                                                                    \
    "i.rowid, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi, i.DT_ENTRADA, i.QUANTIDADE, "          \
    "i.Quantidade2, i.CUSTO_INF, i.VLR_CUSTO, i.VLR_MEDIO, i.Num_Nota, i.Tipo_Nota, "      \
    "i.Cod_Clifor"
const QString kTrechoItens = QStringLiteral(
    "SELECT " PCP_CAMPOS_ITEM " FROM Notai i WHERE i.rowid BETWEEN ?1 AND ?2 ORDER BY i.rowid");
const QString kUmItem = QStringLiteral("SELECT " PCP_CAMPOS_ITEM " FROM Notai i WHERE i.rowid = ?1");
#undef PCP_CAMPOS_ITEM

const QString kCabecalho = uR"(
SELECT n.Est_Hist, n.COMPLNATOP, h.rowid, h.Param_Hist
  FROM Notas n LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist
 WHERE n.Filial = ?1 AND n.Num_Nota = ?2 AND n.Tipo_Nota = ?3 AND n.Cod_Clifor = ?4
   AND n.DT_ENTRADA = ?5)"_s;

// What the valuation needs of a document header, and the document's key as
// its items give it (for the messages).
struct Cabecalho {
    qint64 numNota = 0, tipoNota = 0, codClifor = 0;
    QString data;
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

// Each header is read once and kept; the items refer to it by its number.
class CabecalhosLidos {
public:
    CabecalhosLidos(Database& db, int filial) : consulta_(db.cached(kCabecalho)), filial_(filial) {}
    int busca(const ChaveNota& k)
    {
        // The items of one document usually lie together in table order.
        if (ultimo_ >= 0 && ultimaChave_ == k)
            return ultimo_;
        auto it = lidos_.constFind(k);
        if (it == lidos_.cend()) {
            Cabecalho c;
            c.numNota = k.numNota;
            c.tipoNota = k.tipoNota;
            c.codClifor = k.codClifor;
            c.data = k.data;
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
            cabecalhos_.push_back(c);
            it = lidos_.insert(k, int(cabecalhos_.size() - 1));
        }
        ultimaChave_ = k;
        ultimo_ = *it;
        return ultimo_;
    }
    const Cabecalho& operator[](int i) const { return cabecalhos_[size_t(i)]; }

private:
    Statement& consulta_;
    int filial_;
    QHash<ChaveNota, int> lidos_;
    std::vector<Cabecalho> cabecalhos_;
    ChaveNota ultimaChave_{0, 0, 0, {}};
    int ultimo_ = -1;
};

// Product, size and warehouse of a balance row or an item, compared as the
// indexes order them (a blank size first, then by character code).
// A blank number sorts first, as in the indexes.
qint64 inteiroOuMinimo(const Statement& st, int coluna)
{
    return st.isNull(coluna) ? LLONG_MIN : st.intValue(coluna);
}

struct ChaveSaldo {
    qint64 codReduz = 0;
    QString tamanho;
    qint64 deposito = 0;

    static ChaveSaldo de(const Statement& st, int primeira)
    {
        return {inteiroOuMinimo(st, primeira), st.textValue(primeira + 1), inteiroOuMinimo(st, primeira + 2)};
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

// One item as the valuation reads it: a million of them may be held at once,
// so sizes and dates are numbers into the month's lists of them, and the
// document's key is kept with its header.
struct ItemLido {
    qint64 linha = 0;  // Notai rowid
    qint64 codReduz = 0, deposito = 0;
    double quantidade = 0, quantidade2 = 0, custoInf = 0, vlrCusto = 0, vlrMedio = 0;
    int tamanho = 0, data = 0;  // in ItensDoMes::tamanhos and ::datas
    int cabecalho = -1;         // in CabecalhosLidos
    bool custoNulo = false, medioNulo = false;
};

struct ItensDoMes {
    std::vector<ItemLido> itens;  // in AnoMes order
    QStringList tamanhos, datas;

    ChaveSaldo chave(const ItemLido& it) const { return {it.codReduz, tamanhos[it.tamanho], it.deposito}; }
    const QString& data(const ItemLido& it) const { return datas[it.data]; }
};

// The distinct texts of a column, numbered as they come; a text the row
// before had is known by its bytes, without making a new text.
class TextosDaColuna {
public:
    explicit TextosDaColuna(QStringList& textos) : textos_(textos) {}
    int de(const Statement& st, int coluna)
    {
        const bool nulo = st.isNull(coluna);
        const QByteArrayView v = st.utf8View(coluna);
        if (ultimo_ >= 0 && nulo == ultimoNulo_ && v == ultimosBytes_)
            return ultimo_;
        ultimoNulo_ = nulo;
        ultimosBytes_ = v.toByteArray();
        const QString texto = nulo ? QString() : QString::fromUtf8(ultimosBytes_);
        auto it = numeros_.constFind(texto);
        if (it == numeros_.cend()) {
            it = numeros_.insert(texto, int(textos_.size()));
            textos_ << texto;
        }
        ultimo_ = *it;
        return ultimo_;
    }

private:
    QStringList& textos_;
    QHash<QString, int> numeros_;
    QByteArray ultimosBytes_;
    bool ultimoNulo_ = true;
    int ultimo_ = -1;
};

// The month's items of the range in AnoMes order, each with its header. The
// index gives the order (a sequential read of the index alone); the fields are
// then read in table order, so no row of Notai is fetched at random, and each
// item is put at its place in the index order.
ItensDoMes leItens(Database& db, int filial, const QString& anoMes, qint64 codIni, qint64 codFim,
                   CabecalhosLidos& cabecalhos)
{
    // (rowid, place in the index order), sorted by rowid.
    std::vector<std::pair<qint64, qint64>> lugares;
    {
        Statement& ordem = db.cached(kOrdemItens);
        ordem.bindList({filial, anoMes, codIni, codFim});
        while (ordem.next())
            lugares.emplace_back(ordem.intValue(0), qint64(lugares.size()));
    }
    ItensDoMes mes;
    std::vector<ItemLido>& itens = mes.itens;
    itens.resize(lugares.size());
    if (lugares.empty())
        return mes;
    std::sort(lugares.begin(), lugares.end());

    TextosDaColuna tamanho(mes.tamanhos), data(mes.datas);
    auto le = [&](const Statement& st, ItemLido& it) {
        it.linha = st.intValue(0);
        it.codReduz = inteiroOuMinimo(st, 1);
        it.tamanho = tamanho.de(st, 2);
        it.deposito = inteiroOuMinimo(st, 3);
        it.data = data.de(st, 4);
        it.quantidade = st.doubleValue(5);
        it.quantidade2 = st.doubleValue(6);
        it.custoInf = st.doubleValue(7);
        it.vlrCusto = st.doubleValue(8);
        it.vlrMedio = st.doubleValue(9);
        it.custoNulo = st.isNull(8);
        it.medioNulo = st.isNull(9);
        // Looked up here, in table order, where the headers lie in the order
        // their documents were written.
        it.cabecalho = cabecalhos.busca({st.intValue(10), st.intValue(11), st.intValue(12), mes.datas[it.data]});
    };

    const qint64 primeira = lugares.front().first, ultima = lugares.back().first;
    if (ultima - primeira < 4 * qint64(lugares.size())) {
        // One pass over the stretch of the table that holds the items.
        Statement& trecho = db.cached(kTrechoItens);
        trecho.bindInt(1, primeira).bindInt(2, ultima);
        auto proximo = lugares.cbegin();
        while (proximo != lugares.cend() && trecho.next()) {
            const qint64 linha = trecho.intValue(0);
            while (proximo != lugares.cend() && proximo->first < linha)
                ++proximo;
            if (proximo != lugares.cend() && proximo->first == linha)
                le(trecho, itens[size_t(proximo++->second)]);
        }
        if (proximo != lugares.cend())
            trecho.reset();
    } else {
        Statement& um = db.cached(kUmItem);
        for (const auto& [linha, lugar] : lugares) {
            um.bindInt(1, linha);
            if (um.next()) {
                le(um, itens[size_t(lugar)]);
                um.reset();
            }
        }
    }
    return mes;
}

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
    // A range of products may read a large part of the store; one product
    // does not need the larger cache, whose setting costs more than it saves.
    std::optional<CacheDoMotor> cache;
    if (CodFim > CodIni)
        cache.emplace(db);
    Transaction tx(db);
    Statement& saldos = db.cached(kSaldos);
    saldos.bindList({filial, anoMes, mesAnterior(anoMes), CodIni, CodFim});
    Statement& gravaItem = db.cached(u"UPDATE Notai SET VLR_CUSTO = ?1, VLR_MEDIO = ?2 WHERE rowid = ?3"_s);
    Statement& gravaSaldo =
        db.cached(u"UPDATE Sldpr SET Medio = ?1, Fisico = ?2, Fisico2 = ?3 WHERE rowid = ?4"_s);
    Statement& gravaProduto = db.cached(u"UPDATE Estproma SET CustoMedio = ?1 WHERE rowid = ?2"_s);

    std::vector<AlteracaoItem> alteracoes;
    ProdutoEmCurso produto;
    auto encerraProduto = [&] {
        if (produto.linha && produto.mudou)
            gravaProduto.bindDouble(1, produto.custoMedio).bindInt(2, produto.linha).run();
    };

    CabecalhosLidos cabecalhos(db, filial);
    const ItensDoMes mes = leItens(db, filial, anoMes, CodIni, CodFim, cabecalhos);
    const std::vector<ItemLido>& itens = mes.itens;
    auto atual = itens.cbegin();
    alteracoes.reserve(itens.size());

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
        while (atual != itens.cend() && mes.chave(*atual).compara(chave) < 0)
            ++atual;
        for (; atual != itens.cend() && mes.chave(*atual).compara(chave) == 0; ++atual) {
            const ItemLido& lido = *atual;
            if (fat == 101 && mes.data(lido) < u"2002-03-19"_s)
                continue;
            const Cabecalho& cab = cabecalhos[lido.cabecalho];
            if (!cab.existe) {
                avisos.nota(cab.numNota, cab.tipoNota, cab.codClifor, cab.data);
                continue;
            }
            if (fat == 144 && !cab.complementoOD)
                continue;
            // A history code missing from HistEst is class 0, an entry, as in
            // AtualizaSaldoFisico; it is reported once.
            if (!cab.temHistorico)
                avisos.historico(cab.estHist, cab.numNota, cab.tipoNota, cab.codClifor, cab.data);
            ItemCusto item{lido.quantidade, lido.quantidade2, lido.custoInf, lido.vlrCusto,
                           lido.vlrMedio};
            if (!corrente.aplica(cab.classe, item, produto.ultimoCust,
                                 produto.custoMedio))
                continue;
            ++resultado.itens;
            const bool custoDifere = lido.custoNulo || lido.vlrCusto != item.vlrCusto;
            const bool medioDifere = lido.medioNulo || lido.vlrMedio != item.vlrMedio;
            if ((item.custoMudou && custoDifere) || (item.medioMudou && medioDifere))
                // A cost the item keeps is written back as stored (blank stays blank).
                alteracoes.push_back({lido.linha, item.vlrCusto, item.vlrMedio,
                                      !item.custoMudou && lido.custoNulo,
                                      !item.medioMudou && lido.medioNulo});
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
