// The client data module: the partner record and its satellites, lookups,
// the children's derived flags and the fixed statements of the register.
#include "CliforFixture.h"
#include "TableRoutines.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

class TDMCliforTest : public test::CliforFixture {};

TEST(CalcCep, PadsTheRangeNumberToThreeDigits)
{
    const struct {
        QString coCep, inFaixa, esperado;
    } casos[] = {
        {u"95000"_s, u"1"_s, u"95000-001"_s},
        {u"95000"_s, u"12"_s, u"95000-012"_s},
        {u"95000"_s, u"123"_s, u"95000-123"_s},
        {u"95000"_s, QString(), u"95000-"_s},
        {u"95000"_s, u" "_s, u"95000-"_s},
    };
    for (const auto& c : casos)
        EXPECT_EQ(CalcCep(c.coCep, c.inFaixa), c.esperado) << c.inFaixa.toStdString();
}

TEST_F(TDMCliforTest, CalcCepFollowsTheCurrentMunicipality)
{
    insere(u"MUNIC"_s, {{u"NoMunicipio"_s, u"PORTO ALEGRE"_s}, {u"CoMunicipio"_s, u"4314902"_s},
                        {u"InFaixa"_s, u"2"_s}, {u"CoCep"_s, u"90000"_s}});
    insere(u"MUNIC"_s, {{u"NoMunicipio"_s, u"PORTO ALEGRE"_s}, {u"CoMunicipio"_s, u"4314902"_s},
                        {u"InFaixa"_s, u"3"_s}, {u"CoCep"_s, u"91000"_s}});
    dm->TMunic.refresh();
    dm->TMunic.first();
    EXPECT_EQ(dm->CalcCep(), u"90000-002"_s);
    dm->TMunic.next();
    EXPECT_EQ(dm->CalcCep(), u"91000-003"_s);
}

TEST_F(TDMCliforTest, PartnersAreKeyedByBranchAndCodeAndListedByName)
{
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 7}, {u"NOME"_s, u"zinco sul"_s}});
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 8}, {u"NOME"_s, u"Acabamentos Norte"_s}});
    insere(u"Clifor"_s, {{u"Filial"_s, 2}, {u"Cod_Clifor"_s, 7}, {u"NOME"_s, u"BRANCO LESTE"_s}});
    try {
        insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 7}, {u"NOME"_s, u"REPETIDO"_s}});
        ADD_FAILURE() << "a duplicate code was accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf16(kKeyViolation));
    }

    dm->TClifor.refresh();
    QStringList nomes;
    for (dm->TClifor.first(); !dm->TClifor.eof(); dm->TClifor.next())
        nomes << dm->TClifor.asString(u"NOME"_s);
    EXPECT_EQ(nomes, (QStringList{u"Acabamentos Norte"_s, u"zinco sul"_s, u"BRANCO LESTE"_s}));
}

TEST_F(TDMCliforTest, SatellitesAndTheRatingFollowTheCurrentPartner)
{
    insere(u"Conceito"_s, {{u"Filial"_s, 1}, {u"Cod_Conc"_s, 3}, {u"DESC_CONC"_s, u"BOM PAGADOR"_s}});
    insere(u"Conceito"_s, {{u"Filial"_s, 2}, {u"Cod_Conc"_s, 3}, {u"DESC_CONC"_s, u"OUTRA FILIAL"_s}});
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 7}, {u"NOME"_s, u"ALFA"_s}, {u"Cod_Conc"_s, 3}});
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 8}, {u"NOME"_s, u"BETA"_s}});
    insere(u"CLIFOR2"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 7}, {u"NOMEPAI"_s, u"PAI DO ALFA"_s}});
    insere(u"CLIFOR2"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 8}, {u"NOMEPAI"_s, u"PAI DO BETA"_s}});
    for (int n = 1; n <= 2; ++n)
        insere(u"FILHOS"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 8}, {u"Numero"_s, n}});
    dm->TClifor.refresh();

    struct {
        int codigo;
        QString pai, conceito;
        int filhos;
    } casos[] = {{7, u"PAI DO ALFA"_s, u"BOM PAGADOR"_s, 0}, {8, u"PAI DO BETA"_s, QString(), 2}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.codigo);
        ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, c.codigo}));
        EXPECT_EQ(dm->TCliFor2.asString(u"NOMEPAI"_s), c.pai);
        EXPECT_EQ(dm->NomeConc(), c.conceito);
        EXPECT_EQ(dm->TFilhos.recordCount(), c.filhos);
    }
}

TEST_F(TDMCliforTest, AChildsFlagsFollowItsDatesOnEveryPost)
{
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 7}, {u"NOME"_s, u"ALFA"_s}});
    dm->TClifor.refresh();
    ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, 7}));

    const QVariantMap cerimonias = {
        {u"BT_LOCAL"_s, u"CAXIAS"_s},   {u"BT_IGREJA"_s, u"SAO PELEGRINO"_s}, {u"BT_PADRIN1"_s, u"JOAO"_s},
        {u"PC_LOCAL"_s, u"CAXIAS"_s},   {u"PC_IGREJA"_s, u"CATEDRAL"_s},     {u"PC_CATEQUI"_s, u"ANA"_s},
        {u"CR_LOCAL"_s, u"GRAMADO"_s},  {u"CR_IGREJA"_s, u"MATRIZ"_s},       {u"CR_PADRIN1"_s, u"PEDRO"_s},
    };
    const QString colunas =
        u"BATISMO, BT_LOCAL, BT_IGREJA, BT_PADRIN1, PRIM_COMUN, PC_LOCAL, PC_IGREJA, PC_CATEQUI, "
        u"CRISMA, CR_LOCAL, CR_IGREJA, CR_PADRIN1"_s;
    const struct {
        const char* nome;
        QVariantMap datas;
        QString esperado;
    } casos[] = {
        {"no dates", {}, u"<null>|<null>|<null>|JOAO|<null>|<null>|<null>|ANA|<null>|<null>|<null>|PEDRO"_s},
        {"baptism only",
         {{u"BT_DATA"_s, QDate(2010, 3, 7)}},
         u"S|CAXIAS|SAO PELEGRINO|JOAO|<null>|<null>|<null>|ANA|<null>|<null>|<null>|PEDRO"_s},
        {"all three",
         {{u"BT_DATA"_s, QDate(2010, 3, 7)}, {u"PC_DATA"_s, QDate(2019, 5, 5)}, {u"CR_DATA"_s, QDate(2024, 9, 1)}},
         u"S|CAXIAS|SAO PELEGRINO|JOAO|S|CAXIAS|CATEDRAL|ANA|S|GRAMADO|MATRIZ|PEDRO"_s},
    };
    int numero = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        dm->TFilhos.insert();
        dm->TFilhos.setValue(u"Filial"_s, 1);
        dm->TFilhos.setValue(u"Cod_Clifor"_s, 7);
        dm->TFilhos.setValue(u"Numero"_s, ++numero);
        for (const QVariantMap& campos : {cerimonias, c.datas})
            for (auto it = campos.begin(); it != campos.end(); ++it)
                dm->TFilhos.setValue(it.key(), it.value());
        ASSERT_TRUE(dm->gravaFilho());
        EXPECT_EQ(linhas(u"SELECT "_s + colunas + u" FROM FILHOS WHERE Numero = ?"_s, {numero}),
                  QStringList{c.esperado});
    }

    // a date removed later takes its flag, place and church with it
    ASSERT_TRUE(dm->TFilhos.locate({u"Numero"_s}, {3}));
    ASSERT_TRUE(EditaRegistro(dm->TFilhos));
    dm->TFilhos.setValue(u"PC_DATA"_s, QVariant());
    ASSERT_TRUE(dm->gravaFilho());
    EXPECT_EQ(linhas(u"SELECT "_s + colunas + u" FROM FILHOS WHERE Numero = 3"_s),
              QStringList{u"S|CAXIAS|SAO PELEGRINO|JOAO|<null>|<null>|<null>|ANA|S|GRAMADO|MATRIZ|PEDRO"_s});
}

TEST_F(TDMCliforTest, PartnersWithoutSituationBecomeActive)
{
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 1}});
    insere(u"Clifor"_s, {{u"Filial"_s, 1}, {u"Cod_Clifor"_s, 2}, {u"Ativo"_s, false}});
    insere(u"Clifor"_s, {{u"Filial"_s, 2}, {u"Cod_Clifor"_s, 3}, {u"Ativo"_s, true}});
    EXPECT_EQ(dm->ativaSemSituacao(), 1);
    EXPECT_EQ(linhas(u"SELECT Cod_Clifor, Ativo FROM Clifor ORDER BY Cod_Clifor"_s),
              (QStringList{u"1|1"_s, u"2|0"_s, u"3|1"_s}));
}

TEST_F(TDMCliforTest, AccountPlanLevelsOfTheBranchByDescription)
{
    insere(u"Conniv2"_s, {{u"Filial"_s, 1}, {u"Nivel2"_s, 10}, {u"Descric2"_s, u"fornecedores"_s}});
    insere(u"Conniv2"_s, {{u"Filial"_s, 1}, {u"Nivel2"_s, 20}, {u"Descric2"_s, u"CLIENTES"_s}});
    insere(u"Conniv2"_s, {{u"Filial"_s, 2}, {u"Nivel2"_s, 30}, {u"Descric2"_s, u"BANCOS"_s}});
    insere(u"Conniv3"_s, {{u"Filial"_s, 1}, {u"Nivel3"_s, 40}, {u"Descric3"_s, u"ATIVO"_s}});
    QStringList niveis;
    for (const TDMClifor::NivelConta& n : dm->niveisConta(2, 1))
        niveis << u"%1 %2"_s.arg(n.codigo).arg(n.descricao);
    EXPECT_EQ(niveis, (QStringList{u"20 CLIENTES"_s, u"10 fornecedores"_s}));
    EXPECT_THROW(dm->niveisConta(6, 1), DbError);
}

}  // namespace
