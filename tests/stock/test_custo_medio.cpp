// AtualizaCustoMedio: moving-average valuation of a month's items, the
// balances it rewrites and each product's unit average cost.
#include "RecusaNoBanco.h"
#include "EstoqueFixture.h"
#include "L_Estoque.h"
#include "Sessao.h"
#include "Transaction.h"

namespace pcp::test {
namespace {

class CustoMedioTest : public EstoqueFixture {
protected:
    ResultadoCustoMedio roda(const QString& mesAno = u"012005"_s, qint64 ini = 100, qint64 fim = 100)
    {
        return custoMedio(mesAno, ini, fim);
    }
    double custoDoProduto(qint64 cod)
    {
        return sql(u"SELECT CustoMedio FROM Estproma WHERE Cod_Reduz = ?"_s, {cod}).toDouble();
    }
};

TEST_F(CustoMedioTest, ValuesEntriesAtTheirCostAndExitsAtTheRunningAverage)
{
    produto(100, 0, 3);
    saldo(u"200412"_s, 10, 100);
    saldo(u"200501"_s, 0);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .hist = kEntrada, .qtd = 10, .custo = 300},
           {.nota = 2, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 5},
           {.nota = 3, .data = u"2005-01-04"_s, .hist = kSaida, .qtd = 15}});
    // A second run reads the same opening balance and gives the same figures.
    for (int vez = 0; vez < 2; ++vez) {
        const ResultadoCustoMedio r = roda();
        EXPECT_TRUE(r.executado);
        EXPECT_EQ(r.saldos, 1);
        EXPECT_EQ(r.itens, 3);
        EXPECT_EQ(custoDoItem(1), std::pair(300.0, 20.0));
        EXPECT_EQ(custoDoItem(2), std::pair(100.0, 20.0));
        EXPECT_EQ(custoDoItem(3), std::pair(300.0, 20.0));  // everything leaves
        const auto s = saldoDe(u"200501"_s);
        EXPECT_EQ(s->medio, 0);
        EXPECT_EQ(s->fisico, 0);
        EXPECT_EQ(custoDoProduto(100), 3);  // nothing on hand: the product keeps its average
    }
}

// One balance key valued from an opening balance and a list of items.
struct Caso {
    const char* nome;
    double abreQtd, abreValor;
    QList<Mov> movs;
    QList<std::pair<double, double>> custos;  // VLR_CUSTO, VLR_MEDIO per document 1, 2, ...
    double medio, fisico, custoMedio;
};

class CustoMedioCasos : public CustoMedioTest, public ::testing::WithParamInterface<Caso> {};

TEST_P(CustoMedioCasos, ValuesTheKey)
{
    const Caso& c = GetParam();
    produto(100, 0, 7.5);
    saldo(u"200412"_s, c.abreQtd, c.abreValor);
    saldo(u"200501"_s, 0);
    QList<Mov> movs = c.movs;
    for (int i = 0; i < movs.size(); ++i) {
        movs[i].nota = i + 1;
        movs[i].data = u"2005-01-%1"_s.arg(i + 10);
    }
    grava(movs);
    roda();
    for (int i = 0; i < c.custos.size(); ++i)
        EXPECT_EQ(custoDoItem(i + 1), c.custos[i]) << "document " << i + 1;
    const auto s = saldoDe(u"200501"_s);
    EXPECT_DOUBLE_EQ(s->medio, c.medio);
    EXPECT_DOUBLE_EQ(s->fisico, c.fisico);
    EXPECT_DOUBLE_EQ(custoDoProduto(100), c.custoMedio);
}

INSTANTIATE_TEST_SUITE_P(
    Valorizacao, CustoMedioCasos,
    ::testing::Values(
        Caso{"class2_on_empty_stock_uses_the_average_cost", 0, 0,
             {{.hist = kEntradaMedia, .qtd = 4}}, {{30, 7.5}}, 30, 4, 7.5},
        Caso{"class2_at_the_running_average", 10, 50,
             {{.hist = kEntradaMedia, .qtd = 4, .custo = 999}}, {{20, 5}}, 70, 14, 5},
        Caso{"typed_cost_replaces_the_line_cost", 0, 0,
             {{.hist = kEntrada, .qtd = 2, .custo = 10, .custoInf = 16}}, {{16, 8}}, 16, 2, 8},
        Caso{"classes_49_and_50_are_not_valued_nor_counted", 10, 100,
             {{.hist = kSoQuantidade, .qtd = 5, .custo = 1}, {.hist = kNeutro, .qtd = 3, .custo = 2}},
             {{1, 0}, {2, 0}}, 100, 10, 10},
        Caso{"the_exit_that_takes_everything_takes_the_exact_value", 0, 0,
             {{.hist = kEntrada, .qtd = 7, .custo = 10.00004}, {.hist = kSaida, .qtd = 7}},
             {{10.00004, 1.4286}, {10.00004, 1.4286}}, 0, 0, 7.5},
        Caso{"an_exit_on_zero_stock_is_not_valued_and_the_value_stays", 0, 40,
             {{.hist = kSaida, .qtd = 5, .custo = 3}}, {{3, 0}}, 40, -5, -8},
        Caso{"no_value_left_clears_medio_when_quantity_is_zero", 2, 0,
             {{.hist = kSaida, .qtd = 2}}, {{0, 0}}, 0, 0, 7.5}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(CustoMedioTest, TheProductAverageComesFromItsLastNonZeroWarehouseOneRow)
{
    produto(100);
    saldo(u"200501"_s, 0);
    saldo(u"200501"_s, 0, 0, 0, 100, u"P"_s);
    saldo(u"200501"_s, 0, 0, 0, 100, u"P"_s, 2);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20},
           {.nota = 2, .data = u"2005-01-02"_s, .qtd = 3, .custo = 90, .tam = u"P"_s},
           {.nota = 3, .data = u"2005-01-02"_s, .qtd = 1, .custo = 500, .tam = u"P"_s, .dep = 2}});
    roda();
    EXPECT_EQ(saldoDe(u"200501"_s)->medio, 20);
    EXPECT_EQ(saldoDe(u"200501"_s, 100, u"P"_s)->medio, 90);
    EXPECT_EQ(saldoDe(u"200501"_s, 100, u"P"_s, 2)->medio, 500);
    EXPECT_EQ(custoDoProduto(100), 30);
}

TEST_F(CustoMedioTest, ItemsWithoutABalanceRowAreNotValued)
{
    saldo(u"200501"_s, 0, 0, 0, 200);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20},
           {.nota = 2, .data = u"2005-01-03"_s, .qtd = 2, .custo = 20, .cod = 200}});
    const ResultadoCustoMedio r = roda(u"012005"_s, 100, 200);
    EXPECT_EQ(r.saldos, 1);
    EXPECT_EQ(custoDoItem(1), std::pair(20.0, 0.0));
    EXPECT_EQ(custoDoItem(2), std::pair(20.0, 10.0));
    EXPECT_FALSE(saldoDe(u"200501"_s));
}

TEST_F(CustoMedioTest, ARangeRunGivesEveryProductItsOwnAverage)
{
    produto(100, 0, 1);
    produto(200, 0, 2);
    produto(300, 0, 3);  // balance in warehouse 2 only: keeps its average
    produto(400, 0, 4);  // out of the range
    for (qint64 cod : {100, 200, 400})
        saldo(u"200501"_s, 0, 0, 0, cod);
    saldo(u"200501"_s, 0, 0, 0, 300, {}, 2);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20, .cod = 100},
           {.nota = 2, .data = u"2005-01-02"_s, .qtd = 4, .custo = 100, .cod = 200},
           {.nota = 3, .data = u"2005-01-02"_s, .qtd = 1, .custo = 70, .dep = 2, .cod = 300},
           {.nota = 4, .data = u"2005-01-02"_s, .qtd = 1, .custo = 90, .cod = 400},
           // product 200 opens the month empty: its class-2 entry is priced
           // at product 200's own average
           {.nota = 5, .data = u"2005-01-01"_s, .hist = kEntradaMedia, .qtd = 1, .cod = 200}});
    EXPECT_EQ(roda(u"012005"_s, 100, 300).saldos, 3);
    EXPECT_EQ(custoDoProduto(100), 10);
    EXPECT_EQ(custoDoProduto(200), 20.4);
    EXPECT_EQ(custoDoProduto(300), 3);
    EXPECT_EQ(custoDoProduto(400), 4);
    EXPECT_EQ(custoDoItem(5), std::pair(2.0, 2.0));
    EXPECT_EQ(saldoDe(u"200501"_s, 200)->medio, 102);
}

TEST_F(CustoMedioTest, ItemsWithoutHeaderAreReportedAndLeftAlone)
{
    saldo(u"200501"_s, 0);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20, .cabecalho = false},
           {.nota = 2, .data = u"2005-01-03"_s, .qtd = 1, .custo = 10}});
    script.expect(u"Nota nao cadastrada:1-3-9-02/01/2005"_s).before = [this] {
        EXPECT_FALSE(db().inTransaction());
    };
    roda();
    EXPECT_EQ(custoDoItem(1), std::pair(20.0, 0.0));
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 1);
}

TEST_F(CustoMedioTest, BothOperationsCountAMissingHistoryAsAnEntryAndSaySo)
{
    saldo(u"200501"_s, 0);
    grava(Mov{.nota = 1, .data = u"2005-01-02"_s, .hist = kSemHistorico, .qtd = 2, .custo = 20});
    const QString aviso = u"Historico de estoque nao cadastrado:77 (Nota 1-3-9-02/01/2005)"_s;
    script.expect(aviso);
    roda();
    const double valorizado = saldoDe(u"200501"_s)->fisico;
    script.expect(aviso);
    saldoFisico(u"200501"_s);
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, valorizado);
    EXPECT_EQ(valorizado, 2);
}

TEST_F(CustoMedioTest, CountsFlaggedItemsThatThePhysicalBalanceSkips)
{
    saldo(u"200501"_s, 0);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 5, .custo = 50},
           {.nota = 2, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 2, .naoAtualiza = true}});
    roda();
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 3);
    saldoFisico(u"200501"_s);
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 5);
}

// The month's items are valued in movement-date order wherever they lie in
// the table: written in reverse, and either together or scattered among
// other months' items.
TEST_F(CustoMedioTest, ValuesInDateOrderWhereverTheItemsLie)
{
    for (const bool espalhados : {false, true}) {
        SCOPED_TRACE(espalhados ? "scattered" : "together");
        db().exec(u"DELETE FROM Notai; DELETE FROM Notas; DELETE FROM Sldpr; DELETE FROM Estproma"_s);
        produto(100);
        saldo(u"200501"_s, 0);
        const QList<Mov> mes = {{.nota = 4, .data = u"2005-01-04"_s, .hist = kSaida, .qtd = 5},
                                {.nota = 3, .data = u"2005-01-03"_s, .qtd = 10, .custo = 300},
                                {.nota = 2, .data = u"2005-01-02"_s, .hist = kSaida, .qtd = 5},
                                {.nota = 1, .data = u"2005-01-01"_s, .qtd = 10, .custo = 100}};
        int outra = 100;
        for (const Mov& m : mes) {
            grava(m);
            for (int i = 0; espalhados && i < 10; ++i)
                grava(Mov{.nota = ++outra, .data = u"2004-12-01"_s, .qtd = 1, .custo = 1});
        }
        roda();
        EXPECT_EQ(custoDoItem(2).second, 10);
        EXPECT_EQ(custoDoItem(4).second, 23.3333);
        EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 10);
    }
}

// Installation variants: refused periods and ignored items.
struct VarianteCusto {
    int fat;
    const char* mesAno;
    bool executa;
    QString mensagem;
    double fisico;  // of the month's row, after the run
};

class CustoMedioVariantes : public CustoMedioTest,
                            public ::testing::WithParamInterface<VarianteCusto> {};

TEST_P(CustoMedioVariantes, AppliesTheVariantRules)
{
    const VarianteCusto& v = GetParam();
    contexto.fatModNf = v.fat;
    const QString mesAno = QString::fromLatin1(v.mesAno);
    const QString ano = mesAno.mid(2, 4), mes = mesAno.left(2);
    saldo(ano + mes, -1);
    grava({{.nota = 1, .data = ano + u'-' + mes + u"-18"_s, .qtd = 2, .complemento = u"O"_s},
           {.nota = 2, .data = ano + u'-' + mes + u"-19"_s, .qtd = 4, .complemento = u"D"_s},
           {.nota = 3, .data = ano + u'-' + mes + u"-19"_s, .qtd = 8}});
    if (!v.mensagem.isEmpty())
        script.expect(v.mensagem);
    EXPECT_EQ(roda(mesAno).executado, v.executa);
    EXPECT_EQ(saldoDe(ano + mes)->fisico, v.fisico);
}

INSTANTIATE_TEST_SUITE_P(
    FatModNf, CustoMedioVariantes,
    ::testing::Values(VarianteCusto{0, "122003", true, {}, 14},
                      VarianteCusto{121, "122004", false, u"Periodo indisponível"_s, -1},
                      VarianteCusto{121, "012005", true, {}, 14},
                      VarianteCusto{74, "122003", false, {}, -1},
                      VarianteCusto{131, "122003", false, {}, -1},
                      VarianteCusto{131, "012004", true, {}, 14},
                      VarianteCusto{101, "032002", true, {}, 12},  // before 19/03/2002 ignored
                      VarianteCusto{144, "012005", true, {}, 6}));  // only "O" and "D"

// Stores written by other tools may hold '' where the table layer writes a
// blank (NULL) size: both engines read them as one key, in date order across
// both spellings and whichever warehouse comes between them in key order.
TEST_F(CustoMedioTest, BlankAndEmptySizesAreOneKeyForBothEngines)
{
    produto(100);
    saldo(u"200412"_s, 10, 100);
    db().exec(u"UPDATE Sldpr SET Tamanho = '' WHERE Ano_Mes = '200412'"_s);
    saldo(u"200501"_s, 0);
    saldo(u"200501"_s, 0, 0, 0, 100, {}, 2);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 40},
           {.nota = 2, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 4},
           {.nota = 3, .data = u"2005-01-04"_s, .qtd = 1, .custo = 5, .dep = 2},
           {.nota = 4, .data = u"2005-01-05"_s, .qtd = 3, .custo = 30},
           {.nota = 5, .data = u"2005-01-06"_s, .qtd = 2, .custo = 10, .tam = u"P"_s}});
    db().exec(u"UPDATE Notai SET TAMANHO = '' WHERE Num_Nota IN (2, 4)"_s);

    const ResultadoCustoMedio r = roda();
    EXPECT_EQ(r.itens, 5 - 1);  // the size-P item has no balance row
    const auto valorizado = saldoDe(u"200501"_s);
    // 10 worth 100, +2 worth 40, -4 at 140/12, +3 worth 30
    EXPECT_EQ(valorizado->fisico, 11);
    EXPECT_EQ(valorizado->medio, 123.3333);
    EXPECT_EQ(custoDoItem(2), std::pair(46.6667, 11.6667));
    EXPECT_EQ(saldoDe(u"200501"_s, 100, {}, 2)->fisico, 1);

    EXPECT_EQ(saldoFisico(u"200501"_s).fisico, valorizado->fisico);
    EXPECT_EQ(saldoFisico(u"200501"_s, 100, {}, 2).fisico, 1);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Sldpr WHERE Ano_Mes = '200501'"_s).toInt(), 2) << "no second row for ''";
}

// A key held twice (a blank size written both ways): the first written row is
// the balance, for both engines; the other is left as it was.
TEST_F(CustoMedioTest, OfABlankKeyHeldTwiceTheFirstRowIsTheBalance)
{
    saldo(u"200501"_s, 0);
    saldo(u"200501"_s, 77, 0, 0, 100, u"X"_s);
    db().exec(u"UPDATE Sldpr SET Tamanho = '' WHERE Tamanho = 'X'"_s);
    grava(Mov{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 40});
    EXPECT_EQ(roda().saldos, 1);
    EXPECT_EQ(saldoFisico(u"200501"_s).fisico, 2);
    EXPECT_EQ(colunaJunta(db(), u"SELECT Fisico FROM Sldpr ORDER BY _rowid_"_s), u"2 77"_s);
}

// The engines work on the branch and installation they are given, whatever
// the session holds.
TEST_F(CustoMedioTest, TheEnginesFollowTheirContextNotTheSession)
{
    sessao().FilialAtual = 2;
    sessao().FatModNf = 121;  // would refuse the month
    saldo(u"200411"_s, 1, 10);
    saldo(u"200412"_s, 0);
    grava(Mov{.nota = 1, .data = u"2004-12-02"_s, .qtd = 2, .custo = 40});
    EXPECT_TRUE(roda(u"122004"_s).executado);
    EXPECT_EQ(saldoDe(u"200412"_s)->fisico, 3);
    EXPECT_EQ(saldoFisico(u"200412"_s).fisico, 3);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Sldpr WHERE Filial <> 1"_s).toInt(), 0);
}

// A run over a range commits in steps: with short steps every document's
// items, then every product's balances, are a step of their own. Between two
// steps another connection writes at once (it would wait for the whole run,
// and fail after the busy wait, if the run held the write lock); a step that
// fails leaves its document as it was, the balances untouched, and the run
// done again finishes the month.
class CustoMedioEmPassos : public CustoMedioTest {
protected:
    void SetUp() override
    {
        CustoMedioTest::SetUp();
        contexto.passoMs = 0;
        for (qint64 cod : {100, 200, 300}) {
            produto(cod, 0, 1);
            saldo(u"200501"_s, 0, 0, 0, cod);
            grava(Mov{.nota = int(cod), .data = u"2005-01-02"_s, .qtd = 2, .custo = 40, .cod = cod});
        }
    }
    void confereValorizado(qint64 cod)
    {
        EXPECT_EQ(custoDoProduto(cod), 20) << cod;
        EXPECT_EQ(saldoDe(u"200501"_s, cod)->fisico, 2) << cod;
        EXPECT_EQ(custoDoItem(int(cod)), std::pair(40.0, 20.0)) << cod;
    }
};

TEST_F(CustoMedioEmPassos, AnotherConnectionWritesBetweenTwoSteps)
{
    auto outraLoja = Store::open(store->path());  // a second connection, as another workstation has
    Database& outra = outraLoja->db();
    QStringList passos;
    const ResultadoCustoMedio r = custoMedio(u"012005"_s, 100, 300, [&](const QString& texto) {
        EXPECT_FALSE(db().inTransaction());
        Transaction tx(outra);
        outra.prepare(u"UPDATE HistEst SET DESCR_HIST = ? WHERE Est_Hist = 1"_s).bindList({texto}).run();
        tx.commit();
        passos << texto;
    });
    EXPECT_EQ(passos, (QStringList{u"Itens: 1 de 3"_s, u"Itens: 2 de 3"_s, u"Itens: 3 de 3"_s,
                                   u"Produto: 100"_s, u"Produto: 200"_s, u"Produto: 300"_s}));
    EXPECT_EQ(r.passos, 6);
    EXPECT_EQ(r.produtos, 3);
    EXPECT_EQ(r.saldos, 3);
    EXPECT_EQ(r.itens, 3);
    EXPECT_EQ(sql(u"SELECT DESCR_HIST FROM HistEst WHERE Est_Hist = 1"_s).toString(), u"Produto: 300"_s);
    for (qint64 cod : {100, 200, 300})
        confereValorizado(cod);
}

TEST_F(CustoMedioEmPassos, AFailingStepLeavesItsDocumentAndTheBalancesAsTheyWere)
{
    recusaNoBanco(db(), u"falha"_s, u"BEFORE UPDATE ON Notai"_s, u"NEW.Cod_Reduz = 200"_s, u"disco cheio"_s);
    EXPECT_THROW(roda(u"012005"_s, 100, 300), DbError);
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(custoDoItem(100), std::pair(40.0, 20.0));
    for (qint64 cod : {100, 200, 300}) {
        EXPECT_EQ(custoDoProduto(cod), 1) << cod;
        EXPECT_EQ(saldoDe(u"200501"_s, cod)->fisico, 0) << cod;
    }
    for (int nota : {200, 300})
        EXPECT_EQ(sql(u"SELECT VLR_MEDIO IS NULL FROM Notai WHERE Num_Nota = ?"_s, {nota}).toInt(), 1) << nota;

    tiraRecusa(db(), u"falha"_s, u"Notai"_s);
    roda(u"012005"_s, 100, 300);
    for (qint64 cod : {100, 200, 300})
        confereValorizado(cod);
}

TEST_F(CustoMedioEmPassos, ASmallRunIsOneStep)
{
    contexto.passoMs = 250;
    QStringList passos;
    const ResultadoCustoMedio r = custoMedio(u"012005"_s, 100, 300, [&](const QString& t) { passos << t; });
    EXPECT_EQ(r.passos, 1);
    EXPECT_EQ(passos, QStringList{u"Produto: 300"_s});
    EXPECT_EQ(custoMedio(u"012005"_s, 100, 300).passos, 0) << "nothing left to write";
}

TEST(PercentualAumento, GivesThePercentAbovetheBase)
{
    const struct {
        double base, preco, esperado;
    } casos[] = {{8, 10, 25}, {0, 10, 0}, {10, 0, 0}, {3, 4, 33.3333}, {4, 3, -25},
                 {3, 2, -33.3333}, {3, 5, 66.6667}};
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(PercentualAumento(c.base, c.preco), c.esperado) << c.base << " " << c.preco;
}

}  // namespace
}  // namespace pcp::test
