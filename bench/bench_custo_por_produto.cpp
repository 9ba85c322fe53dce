// The average-cost update screen values a month one product at a time: it
// walks Estproma on its Classificacao index, locks each product and calls
// AtualizaCustoMedio with the product as both ends of the range. This
// benchmark generates a month of 2,000 products with 10 items each (2,000
// documents of 10 items of different products, so a product's items lie
// apart in the table) and times
//   - por-produto: that walk (cursor, lock, engine call, release) on items
//     whose costs still have to be written, and again on valued items;
//   - vazio: the engine's fixed cost per call (a code with no rows);
//   - caminho: the walk with its locks and no engine call;
//   - faixa: one engine call over the whole code range, for comparison.
// Usage: bench_custo_por_produto [FILE]   (the file is generated once and reused)
#include "EstpromaTable.h"
#include "L_Estoque.h"
#include "Messages.h"
#include "StockTables.h"
#include "TableCursor.h"
#include "Transaction.h"
#include "BaseDeBench.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

using namespace pcp;
using pcp::bench::segundos;
using namespace Qt::Literals::StringLiterals;

namespace {

const ContextoEstoque kContexto{1, 0};
const Mes kMesDoCusto = *Mes::deMesAno(u"012005"_s);


constexpr int kProdutos = 2000;
constexpr int kItensPorProduto = 10;
constexpr int kItensPorDocumento = 10;
const QString kMes = u"200501"_s;

void gera(Store& store)
{
    Database& db = store.db();
    Transaction tx(db);
    Statement hist(db, u"INSERT INTO HistEst (Est_Hist, Param_Hist) VALUES (?, ?)"_s);
    for (auto [codigo, classe] : {std::pair{1, 1}, {51, 51}})
        hist.bindInt(1, codigo).bindInt(2, classe).run();
    Statement prod(db, u"INSERT INTO Estproma (Filial, Cod_Reduz, Nivel1, Nivel2, Nivel3, Nivel4, Nivel5, "
                       "Nivel6, ULTIMOCUST, CustoMedio) VALUES (1, ?, ?, '001', '0001', '001', '000001', ?, "
                       "9.5, 10)"_s);
    Statement sld(db, u"INSERT INTO Sldpr (Filial, Ano_Mes, Cod_Reduz, Cod_Deposi, Fisico, Financeiro, "
                      "Dolar, Fisico2, Medio) VALUES (1, ?, ?, 1, ?, 0, 0, 0, ?)"_s);
    for (qint64 cod = 1; cod <= kProdutos; ++cod) {
        prod.bindInt(1, cod)
            .bindText(2, cod % 2 ? u"01"_s : u"02"_s)
            .bindText(3, u"%1"_s.arg(cod, 6, 10, QChar(u'0')))
            .run();
        sld.bindText(1, u"200412"_s).bindInt(2, cod).bindDouble(3, 1000).bindDouble(4, 10000).run();
        sld.bindText(1, kMes).bindInt(2, cod).bindDouble(3, 0).bindDouble(4, 0).run();
    }
    Statement nota(db, u"INSERT INTO Notas (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Est_Hist, "
                       "SISTEMA) VALUES (1, ?, 3, 9, ?, ?, 'E')"_s);
    Statement item(db, u"INSERT INTO Notai (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Num_Item, "
                       "Cod_Reduz, Cod_Deposi, ANO_MES, QUANTIDADE, VLR_CUSTO) "
                       "VALUES (1, ?, 3, 9, ?, ?, ?, 1, ?, ?, ?)"_s);
    const int documentos = kProdutos * kItensPorProduto / kItensPorDocumento;
    for (int n = 1; n <= documentos; ++n) {
        const bool entrada = n % 3 != 0;
        const QString data = u"2005-01-%1"_s.arg(1 + n * 28 / documentos, 2, 10, QChar(u'0'));
        nota.bindInt(1, n).bindText(2, data).bindInt(3, entrada ? 1 : 51).run();
        for (int i = 0; i < kItensPorDocumento; ++i) {
            // Document n takes products spread over the whole code range.
            const qint64 cod = 1 + (qint64(n) * 7 + qint64(i) * (kProdutos / kItensPorDocumento)) % kProdutos;
            const double qtd = 1 + (n + i) % 40;
            item.bindInt(1, n).bindText(2, data).bindInt(3, i + 1).bindInt(4, cod).bindText(5, kMes)
                .bindDouble(6, qtd);
            entrada ? item.bindDouble(7, qtd * 11) : item.bindNull(7);
            item.run();
        }
    }
    tx.commit();
}

// Back to unvalued items and balances.
void reinicia(Store& store)
{
    store.db().exec(u"UPDATE Notai SET VLR_MEDIO = NULL; "
                    "UPDATE Notai SET VLR_CUSTO = NULL WHERE Num_Nota % 3 = 0; "
                    "UPDATE Sldpr SET Medio = 0, Fisico = 0 WHERE Ano_Mes = '200501'; "
                    "UPDATE Estproma SET CustoMedio = 10"_s);
}

// The screen's walk over every product of branch 1.
int porProduto(const std::shared_ptr<Store>& store, qint64& itens, bool chamaMotor = true)
{
    TableCursor produtos(store, u"Estproma"_s);
    produtos.setIndexName(u"Classificacao"_s);
    produtos.open();
    int n = 0;
    itens = 0;
    if (!produtos.findNearest({1, u"00"_s, u"000"_s, u"0000"_s, u"000"_s, u"000000"_s, u"000000"_s}))
        return 0;
    while (!produtos.eof() && produtos.asInteger(u"Filial"_s) == 1) {
        const qint64 cod = produtos.asInteger(u"Cod_Reduz"_s);
        produtos.edit();
        if (chamaMotor)
            itens += AtualizaCustoMedio(*store, kContexto, kMesDoCusto, cod, cod).itens;
        produtos.cancel();
        ++n;
        produtos.next();
    }
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_custo_por_produto.sqlite"_s;
    bench::BaseDeBench base(file, gera);
    const std::shared_ptr<Store>& store = base.store;
    const qint64 total = store->db().prepare(u"SELECT count(*) FROM Notai"_s).scalar().toLongLong();
    std::printf("items in the month: %lld, products: %d\n", total, kProdutos);

    for (int rodada = 1; rodada <= 2; ++rodada) {
        reinicia(*store);
        QElapsedTimer t;
        t.start();
        qint64 itens = 0;
        const int n = porProduto(store, itens);
        const double tPrimeira = segundos(t);
        t.start();
        qint64 deNovo = 0;
        porProduto(store, deNovo);
        const double tValorizados = segundos(t);

        t.start();
        for (int i = 0; i < n; ++i)
            AtualizaCustoMedio(*store, kContexto, kMesDoCusto, 900000 + i, 900000 + i);
        const double tVazio = segundos(t);
        t.start();
        qint64 nenhum = 0;
        porProduto(store, nenhum, false);
        const double tCaminho = segundos(t);

        reinicia(*store);
        t.start();
        const ResultadoCustoMedio faixa = AtualizaCustoMedio(*store, kContexto, kMesDoCusto, 0, 1000000);
        const double tFaixa = segundos(t);

        std::printf("round %d: por-produto %.2f s for %d products (%.2f ms each, %lld items); "
                    "again on valued items %.2f s (%.2f ms each); vazio %.3f ms per call; "
                    "caminho %.3f ms per product; faixa %.2f s (%lld items)\n",
                    rodada, tPrimeira, n, tPrimeira * 1000 / n, itens, tValorizados, tValorizados * 1000 / n,
                    tVazio * 1000 / n, tCaminho * 1000 / n, tFaixa, faixa.itens);
    }
    return 0;
}
