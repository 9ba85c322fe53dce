// Raw-material write-off benchmark over a generated year of sales: 50,000
// sales documents (and 2,000 of another history, passed over), each selling
// two items made by formulas and one bought for resale; 300 formulas of 20
// components over 2,000 raw materials, so a run writes 2,000,000 write-off
// items. Measures
//   - floor: the same number of item rows inserted with one prepared
//     statement, committed in groups like the run's (deleted afterwards);
//   - first run: every write-off document is new;
//   - second run: every write-off document is replaced.
// Usage: bench_baixa [FILE [DOCUMENTS]]   (the file is generated once and
// reused; the first timed run starts from a store without write-offs)
#include "BaixaMateriaPrima.h"
#include "EstpromaTable.h"
#include "FormulaTables.h"
#include "Messages.h"
#include "StockTables.h"
#include "Transaction.h"
#include "BaseDeBench.h"

#include <QElapsedTimer>
#include <cstdio>
#include <optional>

using namespace pcp;
using pcp::bench::segundos;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMateriasPrimas = 2000;
constexpr int kFormulas = 300;
constexpr int kComponentes = 20;
int kNotas = 50000;
int kOutrasNotas = 2000;  // another history: passed over (one in 26)
constexpr int kHistVenda = 5, kHistBaixa = 55;
constexpr qint64 kFornecedor = 900;

QString formula(int f) { return u"ST %1"_s.arg(f + 1); }

void gera(Store& store)
{
    Database& db = store.db();
    Transaction tx(db);
    quint32 semente = 4242;
    auto aleatorio = [&](quint32 n) {
        semente = semente * 1664525u + 1013904223u;
        return (semente >> 8) % n;
    };
    Statement prod(db, u"INSERT INTO Estproma (Filial, Cod_Reduz, NOME1, Formula) VALUES (1, ?, ?, ?)"_s);
    for (int c = 1; c <= kMateriasPrimas; ++c)
        prod.bindInt(1, c).bindText(2, u"MATERIA PRIMA %1 - RESINA/PIGMENTO/SOLVENTE"_s.arg(c)).bindNull(3).queue();
    for (int f = 0; f < kFormulas; ++f)
        prod.bindInt(1, 10000 + f).bindText(2, u"TINTA ESMALTE SINTETICO %1"_s.arg(f)).bindText(3, formula(f)).queue();

    Statement cab(db, u"INSERT INTO Formula (Filial, Formula, Cod_Clifor, Cod_Reduz, QtdTotal) VALUES (1, ?, ?, ?, 100)"_s);
    Statement comp(db, u"INSERT INTO Formulai (Filial, Formula, OrdComp, Componente, QUANTIDADE, Percentual) "
                       "VALUES (1, ?, ?, ?, ?, ?)"_s);
    for (int f = 0; f < kFormulas; ++f) {
        cab.bindText(1, formula(f)).bindInt(2, 1 + f % 50).bindInt(3, 10000 + f).queue();
        double resto = 100;
        for (int c = 1; c <= kComponentes; ++c) {
            const double parte = c == kComponentes ? resto : std::min(resto, 1 + aleatorio(800) / 100.0);
            resto -= parte;
            comp.bindText(1, formula(f)).bindInt(2, c).bindInt(3, 1 + aleatorio(kMateriasPrimas))
                .bindDouble(4, parte).bindDouble(5, parte).queue();
        }
    }

    Statement nota(db, u"INSERT INTO Notas (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Est_Hist, "
                       "SISTEMA) VALUES (1, ?, 1, ?, ?, ?, 'F')"_s);
    Statement item(db, u"INSERT INTO Notai (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Num_Item, "
                       "Parametro, Cod_Reduz, Cod_Deposi, ANO_MES, QUANTIDADE, PRECO_UNIT, FORMULA) "
                       "VALUES (1, ?, 1, ?, ?, ?, 51, ?, 1, ?, ?, ?, ?)"_s);
    const QDate inicio(2005, 1, 1);
    for (int n = 1; n <= kNotas + kOutrasNotas; ++n) {
        const QDate d = inicio.addDays((n - 1) * 365 / (kNotas + kOutrasNotas));
        const QString data = d.toString(u"yyyy-MM-dd"_s);
        const QString anoMes = d.toString(u"yyyyMM"_s);
        const qint64 cliente = 1 + aleatorio(800);
        nota.bindInt(1, n).bindInt(2, cliente).bindText(3, data)
            .bindInt(4, n % 26 == 0 ? 6 : kHistVenda).queue();
        for (int i = 1; i <= 3; ++i) {
            const bool revenda = i == 3;
            const int f = int(aleatorio(kFormulas));
            item.bindInt(1, n).bindInt(2, cliente).bindText(3, data).bindInt(4, i)
                .bindInt(5, revenda ? 1 + aleatorio(kMateriasPrimas) : 10000 + f)
                .bindText(6, anoMes)
                .bindDouble(7, 1 + aleatorio(2000) / 4.0)
                .bindDouble(8, 10 + aleatorio(5000) / 100.0)
                .bindText(9, revenda ? QString() : formula(f))
                .queue();
        }
    }
    tx.commit();
}

void apagaBaixas(Store& store)
{
    Transaction tx(store.db());
    store.db().exec(u"DELETE FROM Notai WHERE Tipo_Nota IN (3, 4); DELETE FROM Notas WHERE Tipo_Nota = 3"_s);
    tx.commit();
    store.db().checkpoint();
}

// The floor: as many item rows as a run writes, inserted with one prepared
// statement and committed every 25,000 rows (about what one of the run's
// transactions holds), with the engine's cache; deleted again afterwards.
qint64 piso(Store& store, qint64 itens)
{
    Database& db = store.db();
    qint64 n = 0;
    {
        LongRunCache cache(db);
        Statement grava(db, u"INSERT INTO Notai (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Num_Item, "
                            "Cod_Reduz, DESCR_PROD, QUANTIDADE, Parametro, Cod_Deposi, DT_LANCAM, ANO_MES) "
                            "VALUES (1, ?, 4, 900, ?, ?, ?, ?, ?, 51, 1, '2025-01-01', ?)"_s);
        const QString nome = u"MATERIA PRIMA 1234 - RESINA/PIGMENTO/SOLVENTE"_s;
        std::optional<Transaction> tx;
        for (int doc = 1; n < itens; ++doc) {
            if (!tx)
                tx.emplace(db);
            const QDate d = QDate(2005, 1, 1).addDays(doc * 365 / kNotas);
            const QString data = d.toString(u"yyyy-MM-dd"_s);
            const QString anoMes = d.toString(u"yyyyMM"_s);
            for (int i = 1; i <= 2 * kComponentes && n < itens; ++i, ++n)
                grava.bindInt(1, doc).bindText(2, data).bindInt(3, i).bindInt(4, 1 + (doc * 7 + i * 13) % kMateriasPrimas)
                    .bindText(5, nome).bindDouble(6, i * 1.5).bindText(7, anoMes).queue();
            if (n % 25000 < 2 * kComponentes) {
                tx->commit();
                tx.reset();
            }
        }
        if (tx)
            tx->commit();
    }
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_baixa.sqlite"_s;
    if (argc > 2) {
        kNotas = std::max(1, atoi(argv[2]));
        kOutrasNotas = kNotas / 25;
    }
    bench::BaseDeBench base(file, gera, declareFormulaTables);
    const std::shared_ptr<Store>& store = base.store;
    apagaBaixas(*store);
    const ParametrosBaixa p{QDate(2005, 1, 1), QDate(2005, 12, 31), kHistVenda, kHistBaixa, kFornecedor};

    QElapsedTimer t;
    t.start();
    const qint64 n = piso(*store, qint64(kNotas) * 2 * kComponentes);
    const double tPiso = segundos(t);
    std::printf("floor: %lld item inserts: %.2f s (%.0f items/s)\n", n, tPiso, n / tPiso);
    apagaBaixas(*store);

    for (const char* rodada : {"first run (new write-offs)", "second run (replacing them)"}) {
        int chamadas = 0;
        t.start();
        const ResultadoBaixa r = BaixaEstoqueMateriaPrima(*store, base.contexto, p, [&](int, int) { ++chamadas; });
        const double s = segundos(t);
        std::printf("%s: %d documents, %lld items, %d failures in %.2f s: %.0f items/s, %.0f documents/s "
                    "(%.2fx floor, %d progress calls)\n",
                    rodada, r.documentos, r.itens, r.falhas, s, r.itens / s, r.documentos / s, s / tPiso,
                    chamadas);
        if (r.interrompido || r.itens != qint64(kNotas) * 2 * kComponentes)
            return 1;
    }
    return 0;
}
