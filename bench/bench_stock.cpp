// Average-cost engine benchmark over a generated month: 1,000,000 document
// items (100,000 documents of 10 items) over 10,000 products, 2 sizes and 2
// warehouses, with the previous month's balances. Measures
//   - custo-medio: AtualizaCustoMedio over the whole code range, first on
//     items whose costs still have to be written, then again on valued items;
//   - floor: one pass that reads the same items once, in table order, and
//     writes the same item and balance columns once with plain statements;
//   - saldo-fisico: AtualizaSaldoFisico of one product with 1,000 items.
// The cost run commits in steps of about PASSO_MS (250 unless given); it
// reports how many and the longest, which is how long another workstation's
// save may have to wait.
// Usage: bench_stock [FILE [PASSO_MS]]   (the file is generated once and reused)
#include "EstpromaTable.h"
#include "L_Estoque.h"
#include "Messages.h"
#include "StockTables.h"
#include "Transaction.h"
#include "BaseDeBench.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace pcp;
using pcp::bench::segundos;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kProdutos = 10000;
constexpr int kDocumentos = 100000;
constexpr int kItensPorDocumento = 10;
constexpr qint64 kProdutoLongo = 50000;  // one product with 1,000 items of its own
const QString kMes = u"200501"_s;

void gera(Store& store)
{
    Database& db = store.db();
    Transaction tx(db);
    Statement hist(db, u"INSERT INTO HistEst (Est_Hist, Param_Hist) VALUES (?, ?)"_s);
    for (auto [codigo, classe] : {std::pair{1, 1}, {2, 2}, {51, 51}})
        hist.bindInt(1, codigo).bindInt(2, classe).queue();
    Statement prod(db, u"INSERT INTO Estproma (Filial, Cod_Reduz, ULTIMOCUST, CustoMedio) VALUES (1, ?, ?, ?)"_s);
    Statement sld(db, u"INSERT INTO Sldpr (Filial, Ano_Mes, Cod_Reduz, Tamanho, Cod_Deposi, Fisico, "
                      "Financeiro, Dolar, Fisico2, Medio) VALUES (1, ?, ?, ?, ?, ?, 0, 0, 0, ?)"_s);
    auto produto = [&](qint64 cod) {
        prod.bindInt(1, cod).bindDouble(2, 9.5).bindDouble(3, 10).queue();
        for (const QString& tam : {QString(), u"G"_s})
            for (int dep : {1, 2}) {
                sld.bindText(1, u"200412"_s).bindInt(2, cod).bind(3, tam).bindInt(4, dep)
                    .bindDouble(5, 1000).bindDouble(6, 10000).queue();
                sld.bindText(1, kMes).bindInt(2, cod).bind(3, tam).bindInt(4, dep)
                    .bindDouble(5, 0).bindDouble(6, 0).queue();
            }
    };
    for (qint64 cod = 1; cod <= kProdutos; ++cod)
        produto(cod);
    produto(kProdutoLongo);

    Statement nota(db, u"INSERT INTO Notas (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, "
                       "Est_Hist, SISTEMA) VALUES (1, ?, 3, ?, ?, ?, 'E')"_s);
    Statement item(db, u"INSERT INTO Notai (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, "
                       "Num_Item, Parametro, Cod_Reduz, Cod_Deposi, ANO_MES, TAMANHO, QUANTIDADE, "
                       "PRECO_UNIT, VLR_CUSTO) VALUES (1, ?, 3, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    quint32 semente = 12345;
    auto aleatorio = [&](quint32 n) {
        semente = semente * 1664525u + 1013904223u;
        return (semente >> 8) % n;
    };
    for (int n = 1; n <= kDocumentos; ++n) {
        // 60% purchases, 35% exits, 5% entries at the running average.
        const quint32 sorte = aleatorio(100);
        const int hist = sorte < 60 ? 1 : sorte < 95 ? 51 : 2;
        const int classe = hist;
        const QString data = u"2005-01-%1"_s.arg(1 + n * 28 / kDocumentos, 2, 10, QChar(u'0'));
        const qint64 clifor = 1 + n % 500;
        nota.bindInt(1, n).bindInt(2, clifor).bindText(3, data).bindInt(4, hist).queue();
        for (int i = 1; i <= kItensPorDocumento; ++i) {
            const bool longo = n % 100 == 0;  // 1,000 items of the long product
            const bool doLongo = longo && i == 1;
            const qint64 cod = doLongo ? kProdutoLongo : 1 + aleatorio(kProdutos);
            const int dep = doLongo ? 1 : 1 + int(aleatorio(2));
            const QString tam = doLongo || aleatorio(2) ? QString() : u"G"_s;
            const double qtd = 1 + aleatorio(400) / 4.0;
            const double preco = 5 + aleatorio(1000) / 100.0;
            item.bindInt(1, n).bindInt(2, clifor).bindText(3, data).bindInt(4, i)
                .bindInt(5, classe).bindInt(6, cod).bindInt(7, dep)
                .bindText(8, kMes).bind(9, tam)
                .bindDouble(10, qtd).bindDouble(11, preco)
                .bindDouble(12, classe == 1 ? qtd * preco : 0).queue();
        }
    }
    tx.commit();
}

// Puts the items back as the purchase side left them (untimed).
void reinicia(Store& store)
{
    Transaction tx(store.db());
    store.db().exec(u"UPDATE Notai SET VLR_MEDIO = NULL, "
                    "VLR_CUSTO = CASE WHEN Parametro = 1 THEN QUANTIDADE * PRECO_UNIT ELSE 0 END; "
                    "UPDATE Sldpr SET Medio = 0, Fisico = 0, Fisico2 = 0 WHERE Ano_Mes = '200501'"_s);
    tx.commit();
}

// The floor: read the month's items once in table order (the cheapest way to
// read each of them once), write both cost columns of every item and the three
// balance columns of every row once, all with plain statements.
qint64 piso(Store& store)
{
    Database& db = store.db();
    LongRunCache cache(db);
    Transaction tx(db);
    Statement le(db, u"SELECT _rowid_, QUANTIDADE, VLR_CUSTO, Filial, ANO_MES FROM Notai ORDER BY _rowid_"_s);
    Statement grava(db, u"UPDATE Notai SET VLR_CUSTO = ?, VLR_MEDIO = ? WHERE _rowid_ = ?"_s);
    qint64 n = 0;
    while (le.next()) {
        if (le.intValue(3) != 1 || le.textValue(4) != kMes)
            continue;
        grava.bindDouble(1, le.doubleValue(2) + 1).bindDouble(2, le.doubleValue(1) + 1)
            .bindInt(3, le.intValue(0)).queue();
        ++n;
    }
    Statement saldos(db, u"SELECT _rowid_, Fisico FROM Sldpr WHERE Filial = 1 AND Ano_Mes = ? "
                         "ORDER BY Filial, Ano_Mes, Cod_Reduz, Tamanho, Cod_Deposi"_s);
    Statement gravaSaldo(db, u"UPDATE Sldpr SET Medio = ?, Fisico = ?, Fisico2 = ? WHERE _rowid_ = ?"_s);
    saldos.bindText(1, kMes);
    while (saldos.next())
        gravaSaldo.bindDouble(1, 1).bindDouble(2, saldos.doubleValue(1) + 1).bindDouble(3, 1)
            .bindInt(4, saldos.intValue(0)).queue();
    tx.commit();
    return n;
}

// Processor time of the process (user and system), steadier than the clock on
// a machine shared with other work.
double cpu()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_stock.sqlite"_s;
    bench::BaseDeBench base(file, gera);
    const std::shared_ptr<Store>& store = base.store;
    ContextoEstoque contexto = base.contexto;
    if (argc > 2)
        contexto.passoMs = std::atoi(argv[2]);
    const Mes mes = *Mes::deAnoMes(kMes);
    const qint64 itens = store->db().prepare(u"SELECT count(*) FROM Notai"_s).scalar().toLongLong();
    std::printf("items in the month: %lld\n", itens);

    for (int rodada = 1; rodada <= 2; ++rodada) {
        reinicia(*store);
        QElapsedTimer t;
        t.start();
        double c0 = cpu();
        const qint64 n = piso(*store);
        const double tPiso = segundos(t), cPiso = cpu() - c0;
        reinicia(*store);
        t.start();
        c0 = cpu();
        const ResultadoCustoMedio r = AtualizaCustoMedio(*store, contexto, mes, 0, 1000000);
        const double tMotor = segundos(t), cMotor = cpu() - c0;
        t.start();
        const ResultadoCustoMedio deNovo = AtualizaCustoMedio(*store, contexto, mes, 0, 1000000);
        const double tDeNovo = segundos(t);
        std::printf("round %d: floor %.2f s (%lld items, %.0f items/s); custo-medio %.2f s "
                    "(%lld items, %d balances, %.0f items/s, %.2fx floor); again on valued items %.2f s\n",
                    rodada, tPiso, n, n / tPiso, tMotor, r.itens, r.saldos, r.itens / tMotor,
                    tMotor / tPiso, tDeNovo);
        std::printf("         processor time: floor %.2f s, custo-medio %.2f s (%.2fx)\n", cPiso, cMotor,
                    cMotor / cPiso);
        std::printf("         steps of %d ms: %d, the longest %lld ms; again: %d, the longest %lld ms\n",
                    contexto.passoMs, r.passos, r.maiorPassoMs, deNovo.passos, deNovo.maiorPassoMs);
    }

    QElapsedTimer t;
    t.start();
    const int vezes = 20;
    for (int i = 0; i < vezes; ++i)
        AtualizaSaldoFisico(*store, contexto, mes, kProdutoLongo, {}, 1, true);
    const qint64 longos = store->db().prepare(u"SELECT count(*) FROM Notai WHERE Cod_Reduz = ? AND "
                                              "TAMANHO IS NULL AND Cod_Deposi = 1"_s)
                              .bindList({kProdutoLongo}).scalar().toLongLong();
    std::printf("saldo-fisico: %.2f ms per call (%lld items of the key)\n",
                segundos(t) * 1000 / vezes, longos);
    return 0;
}
