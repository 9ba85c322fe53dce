// AtualizaCustoMedio: the month is read first (MesLido), with no write lock
// held; the balance rows and the items, both in key order, are merged on
// product, size and warehouse, so every item is read once and a row is valued
// from exactly its own items. The results are written in steps of whole
// products, each step one short transaction.
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
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The new cost fields of one item.
struct AlteracaoItem {
    qint64 linha;  // the item's _rowid_
    double vlrCusto, vlrMedio;
    bool custoNulo, medioNulo;
};

struct AlteracaoSaldo {
    qint64 linha;
    SaldoCorrente::Fechamento f;
};

struct AlteracaoProduto {
    qint64 linha;
    double custoMedio;
};

// The writes of one step: whole products, written in one transaction.
class Passo {
public:
    explicit Passo(Database& db)
        : db_(db),
          item_(db.cached(u"UPDATE Notai SET VLR_CUSTO = ?, VLR_MEDIO = ? WHERE _rowid_ = ?"_s)),
          saldo_(db.cached(u"UPDATE Sldpr SET Medio = ?, Fisico = ?, Fisico2 = ? WHERE _rowid_ = ?"_s)),
          produto_(db.cached(u"UPDATE Estproma SET CustoMedio = ? WHERE _rowid_ = ?"_s))
    {
    }

    std::vector<AlteracaoItem> itens;
    std::vector<AlteracaoSaldo> saldos;
    std::vector<AlteracaoProduto> produtos;

    size_t escritas() const { return itens.size() + saldos.size() + produtos.size(); }

    // Writes everything in one transaction; the milliseconds it was open.
    qint64 grava()
    {
        QElapsedTimer relogio;
        relogio.start();
        Transaction tx(db_);
        for (const AlteracaoProduto& p : produtos)
            produto_.bindDouble(1, p.custoMedio).bindInt(2, p.linha).run();
        for (const AlteracaoSaldo& s : saldos)
            saldo_.bindDouble(1, s.f.medio).bindDouble(2, s.f.fisico).bindDouble(3, s.f.fisico2).bindInt(4, s.linha).run();
        // In table order, so each page of Notai is visited once.
        std::sort(itens.begin(), itens.end(),
                  [](const AlteracaoItem& a, const AlteracaoItem& b) { return a.linha < b.linha; });
        for (const AlteracaoItem& a : itens) {
            a.custoNulo ? item_.bindNull(1) : item_.bindDouble(1, a.vlrCusto);
            a.medioNulo ? item_.bindNull(2) : item_.bindDouble(2, a.vlrMedio);
            item_.bindInt(3, a.linha).run();
        }
        tx.commit();
        itens.clear();
        saldos.clear();
        produtos.clear();
        return relogio.elapsed();
    }

private:
    Database& db_;
    Statement& item_;
    Statement& saldo_;
    Statement& produto_;
};

// How many writes fit in a step: the first step is a guess, the next ones
// follow the time the steps before took per write.
class TamanhoDoPasso {
public:
    explicit TamanhoDoPasso(int passoMs) : passoMs_(std::max(passoMs, 0)) {}
    bool cheio(size_t escritas, qint64 decorridoMs) const
    {
        return decorridoMs >= passoMs_ || double(escritas) * msPorEscrita_ >= passoMs_;
    }
    void mediu(size_t escritas, qint64 ms)
    {
        if (escritas >= 100)
            msPorEscrita_ = std::max(double(ms) / double(escritas), 1e-4);
    }

private:
    int passoMs_;
    double msPorEscrita_ = double(passoMs_) / 5000;
};

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

    AvisosEstoque avisos;
    Passo passo(db);
    TamanhoDoPasso tamanho(contexto.passoMs);
    QElapsedTimer relogio;
    relogio.start();
    auto encerraPasso = [&](qint64 ultimoProduto) {
        if (passo.escritas() > 0) {
            const size_t escritas = passo.escritas();
            const qint64 ms = passo.grava();
            tamanho.mediu(escritas, ms);
            ++resultado.passos;
            resultado.maiorPassoMs = std::max(resultado.maiorPassoMs, ms);
        }
        avisos.mostra();
        if (andamento)
            andamento(u"Produto: "_s + QString::number(ultimoProduto));
        relogio.restart();
    };

    auto atual = itens.cbegin();
    size_t s = 0;
    while (s < saldos.size()) {
        // One product: its rows in key order, each valued from its own items.
        const SaldoLido& primeiro = saldos[s];
        const qint64 codReduz = primeiro.chave.codReduz;
        double custoMedio = primeiro.custoMedio;
        bool custoMudou = false;
        for (; s < saldos.size() && saldos[s].chave.codReduz == codReduz; ++s) {
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
                    passo.itens.push_back({item.linha, novo.vlrCusto, novo.vlrMedio,
                                           !novo.custoMudou && item.custoNulo,
                                           !novo.medioMudou && item.medioNulo});
            }

            const SaldoCorrente::Fechamento f = corrente.fechamento();
            if (saldo.algumNulo || saldo.medio != f.medio || saldo.fisico != f.fisico || saldo.fisico2 != f.fisico2)
                passo.saldos.push_back({saldo.linha, f});
            ++resultado.saldos;
            if (saldo.chave.deposito == 1 && f.medio != 0 && f.fisico != 0) {
                const double custo = Decimal4::fromDouble(f.medio / f.fisico).toDouble();
                custoMudou = custoMudou || custo != custoMedio;
                custoMedio = custo;
            }
        }
        if (primeiro.produto && custoMudou)
            passo.produtos.push_back({primeiro.produto, custoMedio});
        ++resultado.produtos;
        if (s == saldos.size() || tamanho.cheio(passo.escritas(), relogio.elapsed()))
            encerraPasso(codReduz);
    }
    if (saldos.empty())
        avisos.mostra();
    resultado.executado = true;
    return resultado;
}

}  // namespace pcp
