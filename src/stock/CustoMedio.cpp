// AtualizaCustoMedio: the month is read first (MesLido), with no write lock
// held; the balance rows and the items, both in key order, are merged on
// product, size and warehouse, so every item is read once and a row is valued
// from exactly its own items. The results are then written in steps, each
// step one short transaction of whole documents or whole products.
#include "L_Estoque.h"

#include "Decimal4.h"
#include "Messages.h"
#include "MesLido.h"
#include "Transaction.h"
#include "ValorizacaoMedia.h"

#include <QElapsedTimer>
#include <algorithm>
#include <climits>
#include <optional>
#include <unordered_map>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The new cost fields of one item.
struct AlteracaoItem {
    qint64 linha;  // the item's _rowid_
    int cabecalho; // its document, in MesLido::cabecalhos
    double vlrCusto, vlrMedio;
    bool custoNulo, medioNulo;
};

struct AlteracaoSaldo {
    qint64 linha;
    SaldoCorrente::Fechamento f;
};

// What the valuation decided for one product: its balance rows and its cost.
struct AlteracaoProduto {
    qint64 codReduz;
    std::vector<AlteracaoSaldo> saldos;
    qint64 linha = 0;  // Estproma _rowid_; 0: nothing to write
    double custoMedio = 0;
};

// The run's writes, in steps: each step one transaction of whole groups (a
// document's items, a product's balance rows and cost) that is committed once
// it has been open about half the step's time, leaving the other half for the
// commit. Between two steps the write lock is free and the progress callback
// runs.
class Passos {
public:
    Passos(Database& db, int passoMs, const AndamentoEstoque& andamento, ResultadoCustoMedio& resultado)
        : db_(db), passoMs_(std::max(passoMs, 0)), andamento_(andamento), resultado_(resultado),
          item_(db.cached(u"UPDATE Notai SET VLR_CUSTO = ?, VLR_MEDIO = ? WHERE _rowid_ = ?"_s)),
          saldo_(db.cached(u"UPDATE Sldpr SET Medio = ?, Fisico = ?, Fisico2 = ? WHERE _rowid_ = ?"_s)),
          produto_(db.cached(u"UPDATE Estproma SET CustoMedio = ? WHERE _rowid_ = ?"_s))
    {
    }

    void item(const AlteracaoItem& a)
    {
        abre();
        a.custoNulo ? item_.bindNull(1) : item_.bindDouble(1, a.vlrCusto);
        a.medioNulo ? item_.bindNull(2) : item_.bindDouble(2, a.vlrMedio);
        item_.bindInt(3, a.linha).queue();
    }
    void produto(const AlteracaoProduto& p)
    {
        abre();
        for (const AlteracaoSaldo& s : p.saldos)
            saldo_.bindDouble(1, s.f.medio).bindDouble(2, s.f.fisico).bindDouble(3, s.f.fisico2).bindInt(4, s.linha).queue();
        if (p.linha)
            produto_.bindDouble(1, p.custoMedio).bindInt(2, p.linha).queue();
    }
    // The end of a group: the step is committed when it has had its time.
    void fimDoGrupo(const QString& texto)
    {
        if (tx_ && relogio_.elapsed() * 2 >= passoMs_)
            encerra(texto);
    }
    // The last step; the progress callback hears of the run at least once.
    void termina(const QString& texto)
    {
        if (tx_ || !avisou_)
            encerra(texto);
    }

private:
    void encerra(const QString& texto)
    {
        avisou_ = true;
        if (tx_) {
            tx_->commit();
            tx_.reset();
            ++resultado_.passos;
            resultado_.maiorPassoMs = std::max(resultado_.maiorPassoMs, relogio_.elapsed());
        }
        if (andamento_)
            andamento_(texto);
    }

    void abre()
    {
        if (tx_)
            return;
        relogio_.start();
        tx_.emplace(db_);
    }

    Database& db_;
    int passoMs_;
    const AndamentoEstoque& andamento_;
    ResultadoCustoMedio& resultado_;
    Statement& item_;
    Statement& saldo_;
    Statement& produto_;
    std::optional<Transaction> tx_;
    QElapsedTimer relogio_;
    bool avisou_ = false;
};

// The items' writes grouped by document, the documents in the order their
// first item lies in the table, so each step writes a stretch of the table
// and each page of Notai is visited about once in the whole run.
void ordenaPorDocumento(std::vector<AlteracaoItem>& itens)
{
    std::unordered_map<int, qint64> primeira;
    for (const AlteracaoItem& a : itens) {
        auto [it, nova] = primeira.try_emplace(a.cabecalho, a.linha);
        if (!nova)
            it->second = std::min(it->second, a.linha);
    }
    std::sort(itens.begin(), itens.end(), [&](const AlteracaoItem& a, const AlteracaoItem& b) {
        const qint64 pa = primeira.at(a.cabecalho), pb = primeira.at(b.cabecalho);
        return pa != pb ? pa < pb : a.linha < b.linha;
    });
}

}  // namespace

ResultadoCustoMedio AtualizaCustoMedio(Store& store, const ContextoEstoque& contexto, const Mes& mes,
                                       qint64 CodIni, qint64 CodFim, const AndamentoEstoque& andamento)
{
    ResultadoCustoMedio resultado;
    const int fat = contexto.fatModNf;
    if (const BloqueioMesCusto bloqueio = bloqueioMesCustoMedio(fat, mes); bloqueio.bloqueado) {
        if (!bloqueio.mensagem.isEmpty())
            mostraMensagem(bloqueio.mensagem);
        return resultado;
    }
    const QString primeiraData = primeiraDataDosItens(MotorEstoque::CustoMedio, fat);
    const bool soOD = soComplementoOD(fat);

    Database& db = store.db();
    // A range of products may read a large part of the store; one product
    // does not need the larger cache, whose setting costs more than it saves.
    std::optional<LongRunCache> cache;
    if (CodFim > CodIni)
        cache.emplace(db);
    const MesLido lido = leMes(db, contexto.filial, mes.anoMes(),
                               mes.anterior() ? mes.anterior()->anoMes() : QString(), CodIni, CodFim);
    const std::vector<ItemLido>& itens = lido.itens;
    const std::vector<SaldoLido>& saldos = lido.saldos;

    // The whole month is valued first, with no lock held; then written.
    AvisosEstoque avisos;
    std::vector<AlteracaoItem> itensAlterados;
    std::vector<AlteracaoProduto> produtos;
    auto atual = itens.cbegin();
    size_t s = 0;
    while (s < saldos.size()) {
        // One product: its rows in key order, each valued from its own items.
        const SaldoLido& primeiro = saldos[s];
        AlteracaoProduto produto{primeiro.chave.codReduz, {}};
        double custoMedio = primeiro.custoMedio;
        bool custoMudou = false;
        for (; s < saldos.size() && saldos[s].chave.codReduz == produto.codReduz; ++s) {
            const SaldoLido& saldo = saldos[s];
            SaldoCorrente corrente;
            if (saldo.temAnterior)
                corrente = {saldo.medioAnterior, saldo.fisicoAnterior, saldo.fisico2Anterior};

            // Items of a key without a balance row of the month are not valued.
            while (atual != itens.cend() && lido.chave(*atual).compara(saldo.chave) < 0)
                ++atual;
            for (; atual != itens.cend() && lido.chave(*atual).compara(saldo.chave) == 0; ++atual) {
                const ItemLido& item = *atual;
                if (item.cabecalho < 0 || lido.data(item) < primeiraData)
                    continue;
                const Cabecalho& cab = lido.cabecalhos[size_t(item.cabecalho)];
                if (!cab.existe) {
                    avisos.nota(cab.numNota, cab.tipoNota, cab.codClifor, cab.data);
                    continue;
                }
                if (soOD && !cab.complementoOD)
                    continue;
                // A history code missing from HistEst is class 0, an entry, as in
                // AtualizaSaldoFisico; it is reported once.
                if (!cab.temHistorico)
                    avisos.historico(cab.estHist, cab.numNota, cab.tipoNota, cab.codClifor, cab.data);
                ItemCusto novo{item.quantidade, item.quantidade2, item.custoInf, item.vlrCusto, item.vlrMedio};
                if (!corrente.aplica(cab.classe, novo, primeiro.ultimoCust, custoMedio))
                    continue;
                ++resultado.itens;
                const bool custoDifere = item.custoNulo || item.vlrCusto != novo.vlrCusto;
                const bool medioDifere = item.medioNulo || item.vlrMedio != novo.vlrMedio;
                if ((novo.custoMudou && custoDifere) || (novo.medioMudou && medioDifere))
                    // A cost the item keeps is written back as stored (blank stays blank).
                    itensAlterados.push_back({item.linha, item.cabecalho, novo.vlrCusto, novo.vlrMedio,
                                              !novo.custoMudou && item.custoNulo,
                                              !novo.medioMudou && item.medioNulo});
            }

            const SaldoCorrente::Fechamento f = corrente.fechamento();
            if (saldo.algumNulo || saldo.medio != f.medio || saldo.fisico != f.fisico || saldo.fisico2 != f.fisico2)
                produto.saldos.push_back({saldo.linha, f});
            ++resultado.saldos;
            if (saldo.chave.deposito == 1 && f.medio != 0 && f.fisico != 0) {
                const double custo = Decimal4::fromDouble(f.medio / f.fisico).toDouble();
                custoMudou = custoMudou || custo != custoMedio;
                custoMedio = custo;
            }
        }
        if (primeiro.produto && custoMudou) {
            produto.linha = primeiro.produto;
            produto.custoMedio = custoMedio;
        }
        ++resultado.produtos;
        if (!produto.saldos.empty() || produto.linha)
            produtos.push_back(std::move(produto));
    }

    // The items first, document by document; the balances and the products'
    // costs last, product by product, so a run stopped half-way leaves the
    // balances as they were, and running it again finishes it.
    Passos passos(db, contexto.passoMs, andamento, resultado);
    ordenaPorDocumento(itensAlterados);
    for (size_t i = 0; i < itensAlterados.size(); ++i) {
        passos.item(itensAlterados[i]);
        if (i + 1 == itensAlterados.size() || itensAlterados[i + 1].cabecalho != itensAlterados[i].cabecalho)
            passos.fimDoGrupo(u"Itens: %1 de %2"_s.arg(i + 1).arg(itensAlterados.size()));
    }
    for (const AlteracaoProduto& p : produtos) {
        passos.produto(p);
        passos.fimDoGrupo(u"Produto: "_s + QString::number(p.codReduz));
    }
    passos.termina(saldos.empty() ? QString() : u"Produto: "_s + QString::number(saldos.back().chave.codReduz));
    avisos.mostra();
    resultado.executado = true;
    return resultado;
}

}  // namespace pcp
