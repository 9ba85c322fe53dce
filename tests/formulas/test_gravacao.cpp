// The save of a formula (density rule, a version at every save) and the
// numbering of new formulas with the give-back of a cancelled number.
#include "FormulaFixture.h"

#include "DbError.h"
#include "TDMFormula.h"

#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;

namespace {

class Gravacao : public FormulaFixture {};

struct CasoDensidade {
    const char* nome;
    double digitada;
    QList<std::pair<qint64, double>> componentes;
    double esperada;
};

class DensidadeTest : public FormulaFixture, public ::testing::WithParamInterface<CasoDensidade> {};

TEST_P(DensidadeTest, TypedDensityIsKeptZeroIsComputed)
{
    const CasoDensidade& c = GetParam();
    formula(c.componentes, c.digitada);
    gravaFormula(db(), 1, kCodigo, 3.0, QDate(2026, 5, 4));
    EXPECT_DOUBLE_EQ(campo(u"SELECT Densidade FROM Formula"_s).toDouble(), c.esperada);
}

INSTANTIATE_TEST_SUITE_P(Formula, DensidadeTest,
                         ::testing::Values(CasoDensidade{"Typed", 2.5, {{10, 1}, {11, 1}}, 2.5},
                                           CasoDensidade{"Computed", 0, {{10, 1}, {11, 1}}, 1.1},
                                           CasoDensidade{"ZeroDensityLowersIt", 0, {{10, 1}, {12, 1}}, 0.6},
                                           CasoDensidade{"NoComponentsKeepsIt", 1.7, {}, 1.7}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Gravacao, EverySaveStoresANewVersionWithItsComponents)
{
    formula({{10, 1}, {11, 1}, {12, 1}});
    EXPECT_EQ(gravaFormula(db(), 1, kCodigo, 3.0, QDate(2026, 5, 4)), 1);
    EXPECT_EQ(gravaFormula(db(), 1, kCodigo, 3.0, QDate(2026, 5, 5)), 2);
    for (int v : {1, 2}) {
        EXPECT_EQ(coluna(u"Percentual"_s, v), (QList<double>{33.3333, 33.3333, 33.3334})) << v;
        EXPECT_EQ(coluna(u"Componente"_s, v), (QList<double>{10, 11, 12})) << v;
        EXPECT_EQ(coluna(u"CustoItem"_s, v), coluna(u"CustoItem"_s)) << v;
    }
    auto st = db().prepare(u"SELECT Versao, Data, CustoTotal, Observacao FROM FormulaVersao ORDER BY Versao"_s);
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.textValue(1), u"2026-05-04"_s);
    EXPECT_DOUBLE_EQ(st.doubleValue(2), 9.5);  // the formula's UltimoCust
    EXPECT_EQ(st.textValue(3), u"base branca"_s);
    // numbers continue from the highest even after one in the middle is gone
    db().prepare(u"DELETE FROM FormulaVersao WHERE Versao = 1"_s).run();
    EXPECT_EQ(gravaFormula(db(), 1, kCodigo, 3.0, QDate(2026, 5, 6)), 3);
}

TEST_F(Gravacao, ModuleSavesThePendingEditWithTheVersion)
{
    formula({{10, 1}, {11, 1}});
    TDMFormula dm(store);
    dm.openAll();
    ASSERT_TRUE(dm.Formula.findKey({1, kCodigo}));
    dm.Formula.edit();
    dm.Formula.setValue(u"Densidade"_s, 0.0);
    dm.Formula.setValue(u"Observacao"_s, u"tom mais claro"_s);
    EXPECT_EQ(dm.grava(3.0, QDate(2026, 5, 4)), 1);
    EXPECT_DOUBLE_EQ(dm.Formula.value(u"Densidade"_s).toDouble(), 1.1);
    EXPECT_EQ(campo(u"SELECT Observacao FROM FormulaVersao"_s).toString(), u"tom mais claro"_s);
    EXPECT_EQ(coluna(u"Percentual"_s, 1), (QList<double>{50, 50}));
}

TEST_F(Gravacao, DollarRateIsTheFixedDayOrMissing)
{
    EXPECT_EQ(taxaDolar(db()), 3.0);
    db().prepare(u"UPDATE VALORES SET DATA = '2003-12-13'"_s).run();
    EXPECT_FALSE(taxaDolar(db()).has_value());
}

int ultima(Database& db) { return db.prepare(u"SELECT UltimaFormula FROM Pcpcfg"_s).scalar().toInt(); }

TEST_F(Gravacao, ConsecutiveNumbersAndTheTwoCancelOrders)
{
    const QDate hoje(2026, 5, 4);
    const auto a = novaFormula(*store, 1, u"Matriz"_s, hoje);
    const auto b = novaFormula(*store, 1, u"Matriz"_s, hoje);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, u"ST 121"_s);
    EXPECT_EQ(*b, u"ST 122"_s);
    auto st = db().prepare(u"SELECT DATACAD, PrecoEspecial, Amostra, CodResp FROM Formula WHERE Formula = ?"_s);
    st.bindList({*a});
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.textValue(0), u"2026-05-04"_s);
    EXPECT_EQ(st.textValue(1), u"N"_s);
    EXPECT_EQ(st.intValue(2), 1);
    EXPECT_EQ(st.intValue(3), 117);
    st.reset();

    // the first cancelled after the second was drawn keeps the counter
    linha(u"Formulai"_s, {{u"Filial"_s, 1}, {u"Formula"_s, *a}, {u"OrdComp"_s, 1}, {u"Componente"_s, 10}});
    cancelaNovaFormula(*store, 1, *a);
    EXPECT_EQ(ultima(db()), 122);
    EXPECT_EQ(campo(u"SELECT COUNT(*) FROM Formulai"_s).toInt(), 0);
    // the last one drawn gives its number back
    cancelaNovaFormula(*store, 1, *b);
    EXPECT_EQ(ultima(db()), 121);
    EXPECT_EQ(campo(u"SELECT COUNT(*) FROM Formula"_s).toInt(), 0);
}

TEST_F(Gravacao, ExistingCodeConsumesTheNumberAndBranchPrefix)
{
    linha(u"Formula"_s, {{u"Filial"_s, 1}, {u"Formula"_s, u"QV 121"_s}});
    script.expect(u"Formula já existe"_s);
    EXPECT_FALSE(novaFormula(*store, 1, u"Tintas Quorvela Sul"_s, QDate(2026, 5, 4)).has_value());
    checkScript();
    EXPECT_EQ(ultima(db()), 121);
    EXPECT_EQ(novaFormula(*store, 1, u"Tintas Quorvela Sul"_s, QDate(2026, 5, 4)), u"QV 122"_s);
}

TEST_F(Gravacao, NoParametersRowWritesNothing)
{
    EXPECT_THROW(novaFormula(*store, 2, u"Filial 2"_s, QDate(2026, 5, 4)), DbError);
    EXPECT_EQ(campo(u"SELECT COUNT(*) FROM Formula"_s).toInt(), 0);
}

TEST_F(Gravacao, TwoWorkstationsNeverDrawTheSameNumber)
{
    auto outra = abre();
    TDMFormula dmOutra(outra);
    dmOutra.openAll();  // the other workstation read the parameters before any draw
    QStringList codigos;
    for (int i = 0; i < 10; ++i)
        for (Store* s : {store.get(), outra.get()})
            codigos << novaFormula(*s, 1, u"Matriz"_s, QDate(2026, 5, 4)).value_or(QString());
    codigos.removeDuplicates();
    EXPECT_EQ(codigos.size(), 20);
    EXPECT_FALSE(codigos.contains(QString()));
    EXPECT_EQ(ultima(outra->db()), 140);
}

}  // namespace
