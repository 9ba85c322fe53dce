// The formula recalculation on numbers, on the tables and on a version; the
// component check and the component store that triggers the recalculation.
#include "FormulaFixture.h"

#include "DbError.h"
#include "RecusaNoBanco.h"
#include "Transaction.h"

#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;

namespace {

struct CasoPartes {
    const char* nome;
    QList<ComponenteCalculo> componentes;
    double taxa;
    QList<double> percentuais, custos, percCustos;
    double soma, custo;
};

class PartesTest : public ::testing::TestWithParam<CasoPartes> {};

TEST_P(PartesTest, SharesCostsAndResidue)
{
    const CasoPartes& c = GetParam();
    const RecalculoFormula r = recalculaComponentes(c.componentes, c.taxa);
    ASSERT_EQ(r.partes.size(), c.percentuais.size());
    for (int i = 0; i < r.partes.size(); ++i) {
        EXPECT_DOUBLE_EQ(r.partes[i].percentual, c.percentuais[i]) << i;
        EXPECT_DOUBLE_EQ(r.partes[i].custoItem, c.custos[i]) << i;
        EXPECT_DOUBLE_EQ(r.partes[i].percCusto, c.percCustos[i]) << i;
    }
    EXPECT_DOUBLE_EQ(r.soma, c.soma);
    EXPECT_DOUBLE_EQ(r.custo, c.custo);
}

INSTANTIATE_TEST_SUITE_P(
    Formula, PartesTest,
    ::testing::Values(
        // the residue lands on the last one, after its cost was taken from 33.3333
        CasoPartes{"ThreeEqual", {{1, 0, 1000}, {1, 0, 1000}, {1, 0, 1000}}, 1.0,
                   {33.3333, 33.3333, 33.3334}, {333.333, 333.333, 333.333}, {33.3333, 33.3333, 33.3333}, 3,
                   999.999},
        CasoPartes{"Quarters", {{1, 0, 2}, {3, 0, 4}}, 3.0, {25, 75}, {1.5, 9}, {14.2857, 85.7143}, 4, 10.5},
        CasoPartes{"ZeroBatchTotal", {{0, 1, 2}, {0, 1, 4}}, 3.0, {0, 0}, {0, 0}, {0, 0}, 0, 0},
        CasoPartes{"ZeroCost", {{1, 0, 0}, {1, 0, 0}}, 3.0, {50, 50}, {0, 0}, {0, 0}, 2, 0},
        CasoPartes{"NoRate", {{2, 0, 5}}, 0.0, {100}, {0}, {0}, 2, 0},
        CasoPartes{"NoComponents", {}, 3.0, {}, {}, {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(FormulaDensity, SumsOverComponentsWithADensityWithoutRenormalising)
{
    // a component without density keeps its share and contributes nothing
    EXPECT_DOUBLE_EQ(recalculaComponentes({{1, 1.2, 0}, {1, 1.0, 0}}, 0).densidade, 1.1);
    EXPECT_DOUBLE_EQ(recalculaComponentes({{1, 1.2, 0}, {1, 0.0, 0}}, 0).densidade, 0.6);
}

TEST(FormulaCostTotal, CarriesFourDecimalsHalfToEven)
{
    EXPECT_DOUBLE_EQ(arredondaPar4(1.00005), 1.0);
    EXPECT_DOUBLE_EQ(arredondaPar4(1.00015), 1.0002);
    EXPECT_DOUBLE_EQ(arredondaPar4(2.123449), 2.1234);
}

struct CasoClasse {
    const char *nivel1, *nivel2;
    bool invalido;
};

class ComponenteInvalidoTest : public ::testing::TestWithParam<CasoClasse> {};

TEST_P(ComponenteInvalidoTest, MachineTintGroupIsRefused)
{
    const CasoClasse& c = GetParam();
    EXPECT_EQ(componenteInvalido(QString::fromLatin1(c.nivel1), QString::fromLatin1(c.nivel2)), c.invalido)
        << c.nivel1 << c.nivel2;
}

INSTANTIATE_TEST_SUITE_P(Formula, ComponenteInvalidoTest,
                         ::testing::Values(CasoClasse{"01", "077", true}, CasoClasse{"01", "089", true},
                                           CasoClasse{"01", "080", true}, CasoClasse{"01", "076", false},
                                           CasoClasse{"01", "090", false}, CasoClasse{"02", "080", false},
                                           CasoClasse{"00", "089", false}));

class RecalculoTabelas : public FormulaFixture {};

TEST_F(RecalculoTabelas, ModeQStoresBatchTotalAndCostsModeDTheDensity)
{
    formula({{10, 1}, {11, 1}, {13, 2}}, 7.0);
    recalculaFormula(db(), 1, kCodigo, 3.0, ModoRecalculo::Q);
    EXPECT_EQ(coluna(u"Percentual"_s), (QList<double>{25, 25, 50}));
    // 2 x 3 x 25%, 4 x 3 x 25%, 1 x 3 x 50%: the inactive product still has a cost
    EXPECT_EQ(coluna(u"CustoItem"_s), (QList<double>{1.5, 3, 1.5}));
    EXPECT_EQ(coluna(u"PercCusto"_s), (QList<double>{25, 50, 25}));
    EXPECT_DOUBLE_EQ(campo(u"SELECT QtdTotal FROM Formula"_s).toDouble(), 4);
    EXPECT_DOUBLE_EQ(campo(u"SELECT UltimoCusto FROM Formula"_s).toDouble(), 6);
    EXPECT_DOUBLE_EQ(campo(u"SELECT Densidade FROM Formula"_s).toDouble(), 7.0);  // Q leaves it

    recalculaFormula(db(), 1, kCodigo, 3.0, ModoRecalculo::D);
    // the inactive product's density is not read
    EXPECT_DOUBLE_EQ(campo(u"SELECT Densidade FROM Formula"_s).toDouble(), 0.55);
}

TEST_F(RecalculoTabelas, VersionRecalculationStoresItsCostTotal)
{
    formula({{10, 1}, {11, 3}});
    gravaFormula(db(), 1, kCodigo, 3.0, QDate(2026, 5, 4));
    db().prepare(u"UPDATE FormulaiVersao SET QUANTIDADE = 1"_s).run();
    recalculaVersao(db(), 1, kCodigo, 1, 3.0);
    EXPECT_EQ(coluna(u"Percentual"_s, 1), (QList<double>{50, 50}));
    EXPECT_DOUBLE_EQ(campo(u"SELECT CustoTotal FROM FormulaVersao"_s).toDouble(), 9);  // 3 + 6
    EXPECT_EQ(coluna(u"Percentual"_s), (QList<double>{25, 75}));  // the formula is untouched
}

TEST_F(RecalculoTabelas, ComponentStoreRecalculatesAndRefusesTheTintGroup)
{
    formula({});
    EXPECT_EQ(gravaComponente(db(), 1, kCodigo, 0, 10, 1, 3.0), 1);
    EXPECT_EQ(gravaComponente(db(), 1, kCodigo, 0, 11, 3, 3.0), 2);
    EXPECT_EQ(coluna(u"Percentual"_s), (QList<double>{25, 75}));

    script.expect(u"Componente inválido"_s);
    EXPECT_EQ(gravaComponente(db(), 1, kCodigo, 0, 14, 5, 3.0), 0);
    checkScript();
    EXPECT_EQ(coluna(u"Componente"_s), (QList<double>{10, 11}));

    excluiComponente(db(), 1, kCodigo, 1, 3.0);
    EXPECT_EQ(coluna(u"Percentual"_s), (QList<double>{100}));
    EXPECT_DOUBLE_EQ(campo(u"SELECT QtdTotal FROM Formula"_s).toDouble(), 3);
}

TEST_F(RecalculoTabelas, AFailedRecalculationTakesTheComponentChangeBack)
{
    formula({{10, 1}, {11, 1}});
    // the recalculation after the new component fails half-way
    recusaNoBanco(db(), u"recusa"_s, u"BEFORE UPDATE OF Percentual ON Formulai"_s, {}, u"recusado"_s);
    EXPECT_ANY_THROW(gravaComponente(db(), 1, kCodigo, 0, 11, 2, 3.0));
    EXPECT_EQ(coluna(u"QUANTIDADE"_s), (QList<double>{1, 1}));
    EXPECT_FALSE(db().inTransaction());
}

}  // namespace
