// AtualizaSaldoFisico: the physical balance of one product, size and
// warehouse for one month, in exact fixed point.
#include "EstoqueFixture.h"
#include "L_Estoque.h"
#include "Sessao.h"

namespace pcp::test {
namespace {

class SaldoFisicoTest : public EstoqueFixture {
protected:
    ResultadoSaldoFisico roda(const QString& anoMes = u"200501"_s, const QString& tam = {}, bool qtdFis = false,
                              const AndamentoEstoque& andamento = {})
    {
        return saldoFisico(anoMes, 100, tam, 1, qtdFis, andamento);
    }
};

TEST_F(SaldoFisicoTest, CreatesTheMonthRowWithZeroesWhenThereIsNothing)
{
    roda();
    const auto s = saldoDe(u"200501"_s);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->fisico, 0);
    EXPECT_EQ(s->financeiro, 0);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Sldpr"_s).toInt(), 1);
}

TEST_F(SaldoFisicoTest, AddsEntriesSubtractsExitsAndSkipsFlaggedItems)
{
    saldo(u"200412"_s, 10, 0, 4);
    grava({{.nota = 1, .data = u"2005-01-03"_s, .hist = kEntrada, .qtd = 5, .qtd2 = 2},
           {.nota = 2, .data = u"2005-01-04"_s, .hist = kSaida, .qtd = 3, .qtd2 = 1},
           {.nota = 3, .data = u"2005-01-05"_s, .hist = kSaida, .qtd = 2, .naoAtualiza = true},
           {.nota = 4, .data = u"2005-01-06"_s, .hist = kNeutro, .qtd = 8},
           {.nota = 5, .data = u"2005-01-07"_s, .hist = kSoQuantidade, .qtd = 0.5},
           // other month, size and warehouse stay out
           {.nota = 6, .data = u"2005-02-01"_s, .qtd = 100},
           {.nota = 7, .data = u"2005-01-08"_s, .qtd = 100, .tam = u"P"_s},
           {.nota = 8, .data = u"2005-01-08"_s, .qtd = 100, .dep = 2}});
    roda();
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 12.5);
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico2, 5);
}

TEST_F(SaldoFisicoTest, KeepsTheOtherColumnsOfAnExistingRow)
{
    saldo(u"200501"_s, 99, 55);
    grava(Mov{.nota = 1, .data = u"2005-01-03"_s, .qtd = 5});
    roda();
    const auto s = saldoDe(u"200501"_s);
    EXPECT_EQ(s->fisico, 5);
    EXPECT_EQ(s->medio, 55);
    EXPECT_EQ(s->financeiro, 7);
}

TEST_F(SaldoFisicoTest, AccumulatesInTenThousandthsWithoutDrift)
{
    QList<Mov> movs;
    for (int i = 1; i <= 10; ++i)
        movs << Mov{.nota = i, .data = u"2005-01-03"_s, .qtd = 0.1};
    movs << Mov{.nota = 11, .data = u"2005-01-04"_s, .hist = kSaida, .qtd = 1.0};
    movs << Mov{.nota = 12, .data = u"2005-01-05"_s, .qtd = 1.23456};  // counts as 1.2346
    grava(movs);
    roda();
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 1.2346);
}

TEST_F(SaldoFisicoTest, JanuaryOpensFromDecemberOfTheYearBefore)
{
    saldo(u"200412"_s, 10);
    saldo(u"200501"_s, 4);  // not an opening balance of its own month
    roda(u"200501"_s);
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 10);
}

TEST_F(SaldoFisicoTest, EachSizeFeedsItsOwnRow)
{
    grava({{.nota = 1, .data = u"2005-01-03"_s, .qtd = 5},
           {.nota = 2, .data = u"2005-01-03"_s, .qtd = 7, .tam = u"P"_s}});
    roda(u"200501"_s, {});
    roda(u"200501"_s, u"P"_s);
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 5);
    EXPECT_EQ(saldoDe(u"200501"_s, 100, u"P"_s)->fisico, 7);
}

TEST_F(SaldoFisicoTest, CopiesTheBalanceIntoTheProductOnlyWhenAsked)
{
    produto(100);
    grava(Mov{.nota = 1, .data = u"2005-01-03"_s, .qtd = 5});
    roda(u"200501"_s, {}, false);
    EXPECT_TRUE(sql(u"SELECT Qtd_Fis FROM Estproma"_s).isNull());
    roda(u"200501"_s, {}, true);
    EXPECT_EQ(sql(u"SELECT Qtd_Fis FROM Estproma"_s).toDouble(), 5);
}

TEST_F(SaldoFisicoTest, ReportsItemsWithoutHeaderOrHistoryAfterWriting)
{
    grava({{.nota = 1, .data = u"2005-01-03"_s, .qtd = 5, .cabecalho = false},
           {.nota = 2, .data = u"2005-01-04"_s, .hist = kSemHistorico, .qtd = 3},
           {.nota = 3, .data = u"2005-01-05"_s, .hist = kSemHistorico, .qtd = 1}});
    script.expect(u"Nota nao cadastrada:1-3-9-03/01/2005"_s).before = [this] {
        EXPECT_FALSE(db().inTransaction());
    };
    script.expect(u"Historico de estoque nao cadastrado:77 (Nota 2-3-9-04/01/2005)"_s);
    roda();
    // no header: not counted; unknown history: an entry
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, 4);
}

// Installation variants: which items count, which messages and progress appear.
struct VarianteSaldo {
    int fat;
    double fisico;
    QStringList mensagens;
    bool andamento;
};

class SaldoFisicoVariantes : public SaldoFisicoTest,
                             public ::testing::WithParamInterface<VarianteSaldo> {};

TEST_P(SaldoFisicoVariantes, AppliesTheVariantRules)
{
    const VarianteSaldo& v = GetParam();
    contexto.fatModNf = v.fat;
    saldo(u"200311"_s, 1);
    grava({{.nota = 1, .data = u"2003-12-30"_s, .hist = kSaida, .qtd = 2, .complemento = u"O"_s},
           {.nota = 2, .data = u"2003-12-31"_s, .hist = kSaida, .qtd = 4, .complemento = u"D"_s},
           {.nota = 3, .data = u"2003-12-31"_s, .hist = kEntrada, .qtd = 8, .complemento = u"X"_s}});
    for (const QString& m : v.mensagens)
        script.expect(m);
    QStringList legendas;
    roda(u"200312"_s, {}, false, [&](const QString& t) { legendas << t; });
    EXPECT_EQ(saldoDe(u"200312"_s)->fisico, v.fisico);
    if (v.andamento)
        EXPECT_EQ(legendas, (QStringList{u"30/12/2003 1-3/1 9"_s, u"31/12/2003 2-3/1 9"_s,
                                         u"31/12/2003 3-3/1 9"_s}));
    else
        EXPECT_TRUE(legendas.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    FatModNf, SaldoFisicoVariantes,
    ::testing::Values(VarianteSaldo{0, 3, {}, true},
                      VarianteSaldo{131, 5, {}, true},    // before 31/12/2003 ignored
                      VarianteSaldo{144, -5, {}, false},  // only "O" and "D" count
                      VarianteSaldo{135, 3, {}, false}, VarianteSaldo{167, 3, {}, false},
                      VarianteSaldo{73, 3, {}, true}, VarianteSaldo{83, 3, {}, true}));

TEST_F(SaldoFisicoTest, ReportsANegativeBalanceOnTheInstallationsThatAskForIt)
{
    grava(Mov{.nota = 1, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 3});
    for (int fat : {73, 83, 221, 304, 0}) {
        contexto.fatModNf = fat;
        if (fat)
            script.expect(u"Produto sem saldo:        -3,00"_s);
        roda();
        checkScript();
    }
    EXPECT_EQ(saldoDe(u"200501"_s)->fisico, -3);
}

}  // namespace
}  // namespace pcp::test
