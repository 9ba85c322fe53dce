// Company parameters through their cache, and the "Parametrização do PCP" screen.
#include "AccessTables.h"
#include "Parametros.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TableCursor.h"
#include "TfoParametrizacao.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

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

class ParametrizacaoTest : public ParametrosTest {
protected:
    void SetUp() override
    {
        ParametrosTest::SetUp();
        db().exec(u"INSERT INTO Pcpcfg (Filial, UltimaFormula) VALUES (1, 41), (2, 77)"_s);
    }
    qint64 ultima(int filial)
    {
        return db().prepare(u"SELECT UltimaFormula FROM Pcpcfg WHERE Filial = ?"_s).bindList({filial}).scalar().toLongLong();
    }
    // Runs the screen modally; `acao` answers it once it is shown.
    void executa(const std::function<void(TfoParametrizacao&)>& acao)
    {
        TfoParametrizacao tela(store);
        QTimer::singleShot(0, &tela, [&] { acao(tela); });
        tela.exec();
        EXPECT_FALSE(tela.isVisible());
    }
};

TEST_F(ParametrizacaoTest, OkStoresTheCurrentBranchCounter)
{
    sessao().FilialAtual = 2;
    executa([](TfoParametrizacao& t) {
        EXPECT_EQ(t.windowTitle(), u"Parametrização do PCP"_s);
        EXPECT_EQ(t.edUltimaFormula->text(), u"77"_s);
        t.edUltimaFormula->setText(u"80"_s);
        t.btOK->click();
    });
    EXPECT_EQ(ultima(2), 80);
    EXPECT_EQ(ultima(1), 41);
}

TEST_F(ParametrizacaoTest, FecharDiscardsAndReleasesTheRow)
{
    sessao().FilialAtual = 1;
    executa([](TfoParametrizacao& t) {
        t.edUltimaFormula->setText(u"99"_s);
        t.btFechar->click();
    });
    EXPECT_EQ(ultima(1), 41);

    TableCursor outro(store, u"Pcpcfg"_s);  // the lock was released
    outro.open();
    ASSERT_TRUE(outro.findKey({1}));
    EXPECT_NO_THROW(outro.edit());
    outro.cancel();
}

TEST_F(ParametrizacaoTest, BranchWithoutRowGetsOne)
{
    sessao().FilialAtual = 5;
    executa([](TfoParametrizacao& t) {
        EXPECT_EQ(t.edUltimaFormula->text(), u"0"_s);
        t.edUltimaFormula->setText(u"12"_s);
        t.btOK->click();
    });
    EXPECT_EQ(ultima(5), 12);
}

}  // namespace
