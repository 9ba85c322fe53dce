#include "MesLido.h"

#include <QHash>
#include <algorithm>
#include <climits>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The balance rows with the previous month's row of the same key and the
// product. A key held twice (a blank size stored as NULL and as '') gives its
// first written row first; the later ones are passed over.
const QString kSaldos = uR"(
SELECT s._rowid_, s.Cod_Reduz, s.Tamanho, s.Cod_Deposi, s.Medio, s.Fisico, s.Fisico2,
       p._rowid_, p.Medio, p.Fisico, p.Fisico2, e._rowid_, e.ULTIMOCUST, e.CustoMedio
  FROM Sldpr s
  LEFT JOIN Sldpr p ON p.Filial = s.Filial AND p.Ano_Mes = ? AND p.Cod_Reduz = s.Cod_Reduz
       AND coalesce(p.Tamanho, '') = coalesce(s.Tamanho, '') AND p.Cod_Deposi = s.Cod_Deposi
  LEFT JOIN Estproma e ON e.Filial = s.Filial AND e.Cod_Reduz = s.Cod_Reduz
 WHERE s.Filial = ? AND s.Ano_Mes = ? AND s.Cod_Reduz BETWEEN ? AND ?
 ORDER BY s.Cod_Reduz, coalesce(s.Tamanho, ''), s.Cod_Deposi, s._rowid_, p._rowid_)"_s;

// The month's items of the range in AnoMes order, read from the index alone:
// their _rowid_ give the order in which they are valued. The second column
// tells an item whose size is stored as ''.
const QString kOrdemItens = uR"(
SELECT i._rowid_, i.TAMANHO = ''
  FROM Notai i
 WHERE i.Filial = ? AND i.ANO_MES = ? AND i.Cod_Reduz BETWEEN ? AND ?
 ORDER BY i.Filial, i.ANO_MES, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi,
          i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

// The same order with both blank sizes as one, for a month that holds ''.
const QString kOrdemItensTamanhoVazio = uR"(
SELECT i._rowid_, 0
  FROM Notai i
 WHERE i.Filial = ? AND i.ANO_MES = ? AND i.Cod_Reduz BETWEEN ? AND ?
 ORDER BY i.Cod_Reduz, coalesce(i.TAMANHO, ''), i.Cod_Deposi,
          i.DT_ENTRADA, i.Num_Nota, i.Tipo_Nota, i.Cod_Clifor, i.Num_Item)"_s;

// The fields the valuation needs of the items, fetched in table order: a
// stretch of rows at once when the month's items lie close together, or one
// row at a time (still ascending) when they are scattered.
#define PCP_CAMPOS_ITEM                                                                    \
    "i._rowid_, i.Cod_Reduz, i.TAMANHO, i.Cod_Deposi, i.DT_ENTRADA, i.QUANTIDADE, "        \
    "i.Quantidade2, i.CUSTO_INF, i.VLR_CUSTO, i.VLR_MEDIO, i.Num_Nota, i.Tipo_Nota, "      \
    "i.Cod_Clifor"
const QString kTrechoItens = QStringLiteral(
    "SELECT " PCP_CAMPOS_ITEM " FROM Notai i WHERE i._rowid_ BETWEEN ? AND ? ORDER BY i._rowid_");
const QString kUmItem = QStringLiteral("SELECT " PCP_CAMPOS_ITEM " FROM Notai i WHERE i._rowid_ = ?");
#undef PCP_CAMPOS_ITEM

// The headers of a batch of documents, found by their keys: one statement
// for many documents, so a month over the network is not a round trip per
// document. The key columns come back to tell which header is which.
constexpr int kCabecalhosPorConsulta = 100;

QString consultaDeCabecalhos()
{
    QStringList chaves;
    for (int i = 0; i < kCabecalhosPorConsulta; ++i)
        chaves << u"(n.Num_Nota = ? AND n.Tipo_Nota = ? AND n.Cod_Clifor = ? AND n.DT_ENTRADA = ?)"_s;
    return u"SELECT n.Num_Nota, n.Tipo_Nota, n.Cod_Clifor, n.DT_ENTRADA, n.Est_Hist, n.COMPLNATOP, h._rowid_, "
           u"h.Param_Hist FROM Notas n LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist WHERE n.Filial = ? AND ("_s +
           chaves.join(u" OR "_s) + u')';
}

// A read transaction for the duration of the reading, unless one is open.
class Leitura {
public:
    explicit Leitura(Database& db) : db_(db), propria_(!db.inTransaction())
    {
        if (propria_)
            db_.exec(u"BEGIN"_s);
    }
    ~Leitura()
    {
        if (propria_ && db_.inTransaction()) {
            try {
                db_.exec(u"COMMIT"_s);
            } catch (const DbError&) {
                // nothing was written; the next statement starts afresh
            }
        }
    }
    Leitura(const Leitura&) = delete;
    Leitura& operator=(const Leitura&) = delete;

private:
    Database& db_;
    bool propria_;
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
    CabecalhosLidos(Database& db, int filial, std::vector<Cabecalho>& cabecalhos)
        : db_(db), filial_(filial), cabecalhos_(cabecalhos)
    {
    }
    // The number of the document's header; it is read later, with others, by le().
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
            cabecalhos_.push_back(c);
            it = lidos_.insert(k, int(cabecalhos_.size() - 1));
        }
        ultimaChave_ = k;
        ultimo_ = *it;
        return ultimo_;
    }
    // Reads every header asked for; one that is not found stays missing.
    void le()
    {
        Statement& consulta = db_.cached(consultaDeCabecalhos());
        for (size_t inicio = 0; inicio < cabecalhos_.size(); inicio += kCabecalhosPorConsulta) {
            consulta.bindInt(1, filial_);
            for (int i = 0; i < kCabecalhosPorConsulta; ++i) {
                // the last batch repeats its last document to fill the statement
                const Cabecalho& c = cabecalhos_[std::min(inicio + size_t(i), cabecalhos_.size() - 1)];
                consulta.bindInt(2 + 4 * i, c.numNota).bindInt(3 + 4 * i, c.tipoNota)
                    .bindInt(4 + 4 * i, c.codClifor).bindText(5 + 4 * i, c.data);
            }
            while (consulta.next()) {
                const auto it = lidos_.constFind({consulta.intValue(0), consulta.intValue(1), consulta.intValue(2),
                                                  consulta.textValue(3)});
                if (it == lidos_.cend())
                    continue;
                Cabecalho& c = cabecalhos_[size_t(*it)];
                if (c.existe)
                    continue;  // a key held twice: the first row found
                c.existe = true;
                c.estHist = consulta.intValue(4);
                const QString complemento = consulta.textValue(5);
                c.complementoOD = complemento == u"O"_s || complemento == u"D"_s;
                c.temHistorico = !consulta.isNull(6);
                c.classe = int(consulta.intValue(7));
            }
        }
    }

private:
    Database& db_;
    int filial_;
    std::vector<Cabecalho>& cabecalhos_;
    QHash<ChaveNota, int> lidos_;
    ChaveNota ultimaChave_{0, 0, 0, {}};
    int ultimo_ = -1;
};

// A blank number sorts first, as in the indexes.
qint64 inteiroOuMinimo(const Statement& st, int coluna)
{
    return st.isNull(coluna) ? LLONG_MIN : st.intValue(coluna);
}

// The distinct texts of a column, numbered as they come; a text the row
// before had is known by its bytes, without making a new text. A blank and
// an empty text are one.
class TextosDaColuna {
public:
    explicit TextosDaColuna(QStringList& textos) : textos_(textos) {}
    int de(const Statement& st, int coluna)
    {
        const QByteArrayView v = st.utf8View(coluna);
        if (ultimo_ >= 0 && v == ultimosBytes_)
            return ultimo_;
        ultimosBytes_ = v.toByteArray();
        const QString texto = QString::fromUtf8(ultimosBytes_);
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
    int ultimo_ = -1;
};

// (_rowid_, place in the valuation order), sorted by _rowid_.
std::vector<std::pair<qint64, qint64>> ordemDosItens(Database& db, const QVariantList& faixa)
{
    std::vector<std::pair<qint64, qint64>> lugares;
    bool tamanhoVazio = false;
    {
        Statement& ordem = db.cached(kOrdemItens);
        ordem.bindList(faixa);
        while (ordem.next()) {
            lugares.emplace_back(ordem.intValue(0), qint64(lugares.size()));
            tamanhoVazio = tamanhoVazio || ordem.intValue(1) == 1;
        }
    }
    if (tamanhoVazio) {
        lugares.clear();
        Statement& ordem = db.cached(kOrdemItensTamanhoVazio);
        ordem.bindList(faixa);
        while (ordem.next())
            lugares.emplace_back(ordem.intValue(0), qint64(lugares.size()));
    }
    std::sort(lugares.begin(), lugares.end());
    return lugares;
}

// The items in valuation order, each with its header. The index gives the
// order (a sequential read of the index alone); the fields are then read in
// table order, so no row of Notai is fetched at random, and each item is put
// at its place in the valuation order.
void leItens(Database& db, int filial, const QVariantList& faixa, MesLido& mes)
{
    const std::vector<std::pair<qint64, qint64>> lugares = ordemDosItens(db, faixa);
    std::vector<ItemLido>& itens = mes.itens;
    itens.resize(lugares.size());
    if (lugares.empty())
        return;

    CabecalhosLidos cabecalhos(db, filial, mes.cabecalhos);
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
        // Stopped at the last item wanted, the statement would keep its read
        // open, and the run's first write would meet a stale snapshot.
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
    cabecalhos.le();
}

void leSaldos(Database& db, const QString& anoMesAnterior, const QVariantList& faixa, MesLido& mes)
{
    Statement& st = db.cached(kSaldos);
    st.bind(1, anoMesAnterior);
    for (int i = 0; i < faixa.size(); ++i)
        st.bind(i + 2, faixa[i]);
    qint64 ultimaLinha = 0;
    while (st.next()) {
        SaldoLido s;
        s.linha = st.intValue(0);
        s.chave = {inteiroOuMinimo(st, 1), st.textValue(2), inteiroOuMinimo(st, 3)};
        // A row met again with a second previous row, or a second row of one key.
        if (s.linha == ultimaLinha || (!mes.saldos.empty() && mes.saldos.back().chave.compara(s.chave) == 0))
            continue;
        ultimaLinha = s.linha;
        s.medio = st.doubleValue(4);
        s.fisico = st.doubleValue(5);
        s.fisico2 = st.doubleValue(6);
        s.algumNulo = st.isNull(4) || st.isNull(5) || st.isNull(6);
        s.temAnterior = !st.isNull(7);
        s.medioAnterior = st.doubleValue(8);
        s.fisicoAnterior = st.doubleValue(9);
        s.fisico2Anterior = st.doubleValue(10);
        s.produto = st.isNull(11) ? 0 : st.intValue(11);
        s.ultimoCust = st.doubleValue(12);
        s.custoMedio = st.doubleValue(13);
        mes.saldos.push_back(std::move(s));
    }
}

}  // namespace

int ChaveSaldo::compara(const ChaveSaldo& o) const
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

MesLido leMes(Database& db, int filial, const QString& anoMes, const QString& anoMesAnterior,
              qint64 codIni, qint64 codFim)
{
    MesLido mes;
    Leitura leitura(db);
    const QVariantList faixa{filial, anoMes, codIni, codFim};
    leSaldos(db, anoMesAnterior, faixa, mes);
    leItens(db, filial, faixa, mes);
    return mes;
}

}  // namespace pcp
