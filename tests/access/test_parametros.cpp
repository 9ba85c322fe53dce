// Company parameters through their cache, and the "Parametrização do PCP" screen.
#include "AccessScreens.h"
#include "AccessTables.h"
#include "CompanyScreens.h"
#include "Parametros.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TableCursor.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

class ParametrosTest : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        LimpaCacheParametros();
        sessao() = {};
        Catalog c;
        declareAccessTables(c);
        store = Store::openCompany(tmp.path(), c);
        parametro(1, 10, u"DirImpTmp"_s, u"/tmp/imp"_s, false);
        parametro(1, 11, u"PermiteExcluirProdutos"_s, {}, true);
        parametro(1, 13, u"CodPaisPadraoCadClifor"_s, u"1058"_s, true);
        parametro(1, 12, u"CodPaisPadraoCadClifor"_s, u"0105"_s, false);  // lower code: read first
        parametro(2, 10, u"DirImpTmp"_s, u"/tmp/filial2"_s, false);
        parametro(2, 11, u"PermiteExcluirProdutos"_s, {}, false);
    }
    void TearDown() override
    {
        LimpaCacheParametros();
        test::ScriptedTest::TearDown();
    }
    void parametro(int filial, int codigo, const QString& nome, const QString& texto, bool logico)
    {
        store->db()
            .prepare(u"INSERT INTO ParametrosEmpresa (Filial, CodParametro, NomeParametro, ValorStr, ValorBoolean) "
                     "VALUES (?, ?, ?, ?, ?)"_s)
            .bindList({filial, codigo, nome, texto, logico ? 1 : 0})
            .run();
    }
    Database& db() { return store->db(); }
    std::shared_ptr<Store> store;
};

TEST_F(ParametrosTest, ReadsByExactNameAndMissingOnesSilently)
{
    struct Caso {
        QString nome;
        QString texto;
        bool logico;
    };
    const Caso casos[] = {
        {u"DirImpTmp"_s, u"/tmp/imp"_s, false},
        {u"PermiteExcluirProdutos"_s, u""_s, true},
        {u"CodPaisPadraoCadClifor"_s, u"0105"_s, false},
        {u"dirimptmp"_s, u""_s, false},
        {u"NaoExiste"_s, u""_s, false},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(LeParametroTexto(db(), u"1"_s, c.nome), c.texto) << c.nome.toStdString();
        EXPECT_EQ(LeParametroLogico(db(), u"1"_s, c.nome), c.logico) << c.nome.toStdString();
    }
}

TEST_F(ParametrosTest, CacheAnswersForItsBranchUntilCleared)
{
    EXPECT_TRUE(LeParametroLogico(db(), u"1"_s, u"PermiteExcluirProdutos"_s));
    parametro(1, 20, u"CAPSAutomaticoCadClifor"_s, {}, true);
    EXPECT_FALSE(LeParametroLogico(db(), u"1"_s, u"CAPSAutomaticoCadClifor"_s));
    EXPECT_TRUE(LeParametroLogico(db(), u"2"_s, u"PermiteExcluirProdutos"_s));  // still branch 1's rows
    EXPECT_EQ(LeParametroTexto(db(), u"2"_s, u"DirImpTmp"_s), u"/tmp/imp"_s);

    LimpaCacheParametros();  // what the menu does when shown
    EXPECT_EQ(LeParametroTexto(db(), u"2"_s, u"DirImpTmp"_s), u"/tmp/filial2"_s);
    EXPECT_FALSE(LeParametroLogico(db(), u"2"_s, u"PermiteExcluirProdutos"_s));
    LimpaCacheParametros();
    EXPECT_TRUE(LeParametroLogico(db(), u"1"_s, u"CAPSAutomaticoCadClifor"_s));
}

TEST_F(ParametrosTest, LoadErrorIsShownAndTheReadFindsNothing)
{
    db().exec(u"ALTER TABLE ParametrosEmpresa RENAME TO Outra"_s);
    EXPECT_EQ(LeParametroTexto(db(), u"1"_s, u"DirImpTmp"_s), QString());
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().contains(u"Erro na abertura da sessão de parametros : "_s));
    script.clear();
    EXPECT_TRUE(cacheParametros().isEmpty());

    db().exec(u"ALTER TABLE Outra RENAME TO ParametrosEmpresa"_s);  // the next read tries again
    EXPECT_EQ(LeParametroTexto(db(), u"1"_s, u"DirImpTmp"_s), u"/tmp/imp"_s);
}

// ---- Parametrização do PCP ----------------------------------------------------

class ParametrizacaoTest : public test::CompanyScreens {
protected:
    void declareTables(Catalog& c) override { declareAccessTables(c); }
    void registerScreens(ScreenRegistry& registry) override { registerAccessScreens(registry); }
    void SetUp() override
    {
        CompanyScreens::SetUp();
        exec(u"INSERT INTO Pcpcfg (Filial, UltimaFormula) VALUES (1, 41), (2, 77)"_s);
    }
    // Runs the script, which opens the modal screen and answers it; the
    // screen is gone once the script is over.
    void executa(const QString& roteiro)
    {
        run(u"abre TfoParametrizacao\n"_s + roteiro);
        EXPECT_FALSE(ui.isOpen(u"TfoParametrizacao"_s));
    }
};

TEST_F(ParametrizacaoTest, OkStoresTheCurrentBranchCounter)
{
    sessao().FilialAtual = 2;
    executa(uR"S(
        confere-titulo "Parametrização do PCP"
        confere edUltimaFormula "77"
        preenche edUltimaFormula "80"
        clica btOK
        confere-sql "select UltimaFormula from Pcpcfg where Filial = 2" "80"
        confere-sql "select UltimaFormula from Pcpcfg where Filial = 1" "41"
    )S"_s);
}

TEST_F(ParametrizacaoTest, FecharDiscardsAndReleasesTheRow)
{
    sessao().FilialAtual = 1;
    executa(uR"S(
        preenche edUltimaFormula "99"
        clica btFechar
        confere-sql "select UltimaFormula from Pcpcfg where Filial = 1" "41"
    )S"_s);

    TableCursor outro(store, u"Pcpcfg"_s);  // the lock was released
    outro.open();
    ASSERT_TRUE(outro.findKey({1}));
    EXPECT_NO_THROW(outro.edit());
    outro.cancel();
}

TEST_F(ParametrizacaoTest, BranchWithoutRowGetsOne)
{
    sessao().FilialAtual = 5;
    executa(uR"S(
        confere edUltimaFormula "0"
        preenche edUltimaFormula "12"
        clica btOK
        confere-sql "select UltimaFormula from Pcpcfg where Filial = 5" "12"
    )S"_s);
}

}  // namespace
