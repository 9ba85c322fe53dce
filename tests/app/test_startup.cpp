// Start-up: company and branch choice driven through the real screens.
#include "Aplicacao.h"
#include "Instalacao.h"
#include "Parametros.h"
#include "ScenarioRunner.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "uMenuEmpresa.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        sessao() = {};
        Aplicacao::setTimerInterval(20);
    }
    void TearDown() override { app.reset(); }

    void start(const QList<EmpresaTeste>& empresas, const QStringList& args = {})
    {
        paths = criaInstalacao(tmp.path(), empresas);
        app = std::make_unique<Aplicacao>(paths, args);
        app->start();
    }
    // Runs the script and fails the test with the runner's message.
    void roteiro(const QString& script)
    {
        ScenarioRunner runner;
        EXPECT_TRUE(runner.run(script)) << runner.error().toStdString();
    }

    QTemporaryDir tmp;
    Paths paths;
    std::unique_ptr<Aplicacao> app;
};

TEST_F(Startup, OneCompanyGoesStraightToTheBranchAndSairEndsTheProgram)
{
    start({{1, u"UNICA"_s, 1, {}, {u"MATRIZ"_s, u"FILIAL 2"_s}}});
    roteiro(u"aguarda 100 ms\n"
            "janela MenuFilial\n"
            "confere ComboBox1 \"MATRIZ\"\n"
            "preenche ComboBox1 \"FILIAL 2\"\n"
            "clica BotaoOK\n"
            "janela MenuPcp\n"
            "confere-titulo \"Planejamento e Controle da Produção\"\n"
            "menu \"Cadastros/Sair\"\n"
            "janela MenuFilial\n"
            "confere-estado ComboBox1 desabilitado\n"
            "mensagem \"Deseja encerrar do programa?\" botoes SimNao responde Sim\n"
            "clica BotaoSair\n"
            "aguarda 100 ms\n"_s);
    EXPECT_FALSE(app->companyScreen()->isVisible()) << "the single company never shows the list";
    EXPECT_TRUE(app->finished());
    EXPECT_EQ(sessao().FilialAtual, 2);
    EXPECT_EQ(sessao().FatModNf, 12);
    EXPECT_EQ(sessao().ModuloAtual, u"PCP"_s);
    EXPECT_EQ(sessao().QtdEmpresas, 1);
    EXPECT_EQ(sessao().DiretorioEmpresa, paths.companyFolder(diretorioDe(1)));
}

TEST_F(Startup, TwoGroupsAskTheGroupAndRefuseAnUnknownOne)
{
    for (const QString& answer : {u"A"_s, u""_s, u"7"_s}) {
        SCOPED_TRACE(answer.toStdString());
        app.reset();
        tmp.remove();
        ASSERT_TRUE(QDir().mkpath(tmp.path()));
        start({{1, u"TINTAS"_s, 1}, {2, u"VERNIZES"_s, 2}});
        // "A" and "" sort outside "0".."9" and become group -1: none is found either way
        roteiro(u"entrada \"Grupo\" responde \"%1\"\n"
                u"mensagem \"Grupo não cadastrado\"\n"
                u"mensagem \"Acesso negado\"\naguarda 100 ms\n"_s.arg(answer));
        EXPECT_TRUE(app->finished());
    }
}

TEST_F(Startup, AValidGroupOffersOnlyItsCompanies)
{
    start({{1, u"TINTAS"_s, 1}, {2, u"VERNIZES"_s, 2}, {3, u"TINTAS SUL"_s, 1}});
    roteiro(u"entrada \"Grupo\" responde \"1\"\n"
            "aguarda 100 ms\n"
            "janela foMenuEmpresa\n"
            "confere-linhas DBGrid1 2\n"
            "confere-celula DBGrid1 2 Nome \"TINTAS SUL\"\n"
            "seleciona DBGrid1 2\n"
            "clica Button1\n"
            "janela MenuFilial\n"
            "clica BotaoOK\n"_s);
    EXPECT_EQ(sessao().QtdEmpresas, 2);
    ASSERT_EQ(sessao().ListaEmpresas.size(), 2);
    EXPECT_EQ(sessao().ListaEmpresas[1].nome, u"TINTAS SUL"_s);
    EXPECT_EQ(sessao().ListaEmpresas[1].loja, u"03"_s);
    EXPECT_EQ(sessao().NomeEmpresa, u"TINTAS SUL"_s);
    EXPECT_EQ(sessao().DiretorioCentral, diretorioDe(1));
}

TEST_F(Startup, SixtyCompaniesKeepTheFirstFiftyInTheList)
{
    QList<EmpresaTeste> empresas;
    for (int i = 1; i <= 60; ++i)
        empresas << EmpresaTeste{i, u"EMPRESA %1"_s.arg(i, 2, 10, QChar(u'0')), 5};
    start(empresas);
    roteiro(u"aguarda 100 ms\njanela foMenuEmpresa\nseleciona DBGrid1 55\nclica OK\n"
            "janela MenuFilial\nclica BotaoOK\n"_s);
    EXPECT_EQ(sessao().QtdEmpresas, 60);
    ASSERT_EQ(sessao().ListaEmpresas.size(), 50);
    EXPECT_EQ(sessao().ListaEmpresas.last().nome, u"EMPRESA 50"_s);
    EXPECT_EQ(sessao().NomeEmpresa, u"EMPRESA 55"_s);
}

TEST_F(Startup, ACompanyPasswordInAnotherCaseIsRefused)
{
    start({{1, u"A"_s, 1, u"Sul2024"_s}, {2, u"B"_s, 1}});
    roteiro(u"aguarda 100 ms\n"
            "janela foMenuEmpresa\n"
            "clica OK\n"
            "confere-titulo \"Verificação de Senha\"\n"
            "preenche MaskEdit1 \"sul2024\"\n"
            "mensagem \"Senha invalida\"\n"
            "clica OK\n"
            "aguarda 50 ms\n"_s);
    EXPECT_TRUE(app->finished());
    EXPECT_TRUE(sessao().DiretorioEmpresa.isEmpty());
}

// Enter in the company password acts as "OK": one Enter confirms it.
TEST_F(Startup, OneEnterInTheCompanyPasswordConfirmsIt)
{
    start({{1, u"A"_s, 1, u"Sul2024"_s}, {2, u"B"_s, 1}});
    roteiro(u"aguarda 100 ms\n"
            "janela foMenuEmpresa\n"
            "clica OK\n"
            "preenche MaskEdit1 \"Sul2024\"\n"
            "tecla Enter\n"
            "aguarda 50 ms\n"
            "janela MenuFilial\nclica BotaoOK\n"_s);
    EXPECT_FALSE(app->finished());
    EXPECT_EQ(sessao().NomeEmpresa, u"A"_s);
}

TEST_F(Startup, TwoBranchesOfTheSameNameChooseTheFirstRow)
{
    start({{1, u"A"_s, 1, {}, {u"CENTRO"_s, u"Centro"_s, u"NORTE"_s}}});
    roteiro(u"aguarda 100 ms\njanela MenuFilial\npreenche ComboBox1 \"Centro\"\nclica BotaoOK\n"_s);
    EXPECT_EQ(sessao().FilialAtual, 1);
    EXPECT_EQ(sessao().NomeFilial, u"CENTRO"_s);
}

TEST_F(Startup, ExternalLoginChoosesTheCompanyAndTheUser)
{
    QList<EmpresaTeste> empresas{{1, u"A"_s, 1}, {2, u"B"_s, 2}, {3, u"C"_s, 2, u"abc"_s}};
    paths = criaInstalacao(tmp.path(), empresas);
    QFile ini(paths.newLoginIni());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[BaseLogin]\r\nBase=\\Dados\\Login\r\n");
    ini.close();
    app = std::make_unique<Aplicacao>(paths, QStringList{u"Os_Exec"_s, u" 3 "_s, u"x"_s, u"U01"_s, u"SUP"_s});
    QTimer::singleShot(0, [this] { app->start(); });
    roteiro(u"aguarda 10 ms\n"
            "confere-titulo \"Verificação de Senha\"\n"
            "preenche MaskEdit1 \"abc\"\n"
            "clica OK\n"
            "janela MenuFilial\n"
            "clica BotaoOK\n"
            "aguarda 100 ms\n"_s);
    EXPECT_EQ(sessao().UsuarioAtual, u"U01"_s);
    EXPECT_EQ(sessao().NivelUsuario, u"SUP"_s);
    EXPECT_TRUE(sessao().LoginExterno);
    EXPECT_EQ(sessao().BaseLogin, paths.localFolder(u"\\Dados\\Login"_s) + u"/"_s);
    EXPECT_EQ(sessao().NomeEmpresa, u"C"_s);
    EXPECT_EQ(sessao().FilialAtual, 1);
    EXPECT_FALSE(app->finished()) << "the timer's group question must not come";
}

TEST_F(Startup, ACompanyChangeLeavesNothingOfTheFirst)
{
    start({{1, u"PRIMEIRA"_s, 1, {}, {u"F1"_s}}, {2, u"SEGUNDA"_s, 1, {}, {u"F2"_s}}});
    roteiro(u"aguarda 100 ms\n"
            "janela foMenuEmpresa\nclica OK\n"
            "janela MenuFilial\nclica BotaoOK\n"
            "janela MenuPcp\nmenu \"Cadastros/Sair\"\n"
            "janela MenuFilial\nmensagem \"Deseja encerrar do programa?\" responde Sim\nclica BotaoSair\n"
            "aguarda 100 ms\n"
            "janela foMenuEmpresa\nseleciona DBGrid1 2\nclica OK\n"
            "janela MenuFilial\nconfere ComboBox1 \"F2\"\nclica BotaoOK\n"_s);
    EXPECT_EQ(sessao().NomeEmpresa, u"SEGUNDA"_s);
    EXPECT_EQ(sessao().LojaEmpresa, 2);
    EXPECT_EQ(sessao().NomeFilial, u"F2"_s);
    EXPECT_EQ(sessao().DiretorioEmpresa, paths.companyFolder(diretorioDe(2)));
    ASSERT_NE(DMFilial(), nullptr);
    EXPECT_EQ(DMFilial()->store().folder(), paths.companyFolder(diretorioDe(2)));
}

TEST_F(Startup, TheBranchChoiceAsksForAccessCode157)
{
    start({{1, u"A"_s, 1, {}, {u"MATRIZ"_s}, u"filial"_s}});
    roteiro(u"aguarda 100 ms\n"
            "janela MenuFilial\n"
            "clica BotaoOK\n"
            "preenche EdSenha \"errada\"\n"
            "mensagem \"Senha invalida\"\n"
            "clica btOK\n"
            "janela MenuFilial\n"
            "confere-estado ComboBox1 habilitado\n"
            "clica BotaoOK\n"
            "preenche EdSenha \"FILIAL\"\n"
            "clica btOK\n"
            "janela MenuPcp\n"_s);
    EXPECT_EQ(sessao().FilialAtual, 1);
}

TEST_F(Startup, EachNewMenuReloadsTheParameterCache)
{
    start({{1, u"A"_s, 1}});
    const QString folder = paths.companyFolder(diretorioDe(1));
    auto store = Store::openCompany(folder);
    store->db().exec(u"INSERT INTO ParametrosEmpresa (Filial, CodParametro, NomeParametro, ValorStr) "
                     u"VALUES (1, 1, 'NomeQuimicoResponsavel', 'ANA')"_s);
    roteiro(u"aguarda 100 ms\njanela MenuFilial\nclica BotaoOK\n"_s);
    EXPECT_EQ(LeParametroTexto(u"1"_s, u"NomeQuimicoResponsavel"_s), u"ANA"_s);
    store->db().exec(u"UPDATE ParametrosEmpresa SET ValorStr = 'BETO'"_s);
    EXPECT_EQ(LeParametroTexto(u"1"_s, u"NomeQuimicoResponsavel"_s), u"ANA"_s) << "read from the cache";
    roteiro(u"janela MenuPcp\nmenu \"Cadastros/Sair\"\njanela MenuFilial\nclica BotaoOK\n"_s);
    EXPECT_EQ(LeParametroTexto(u"1"_s, u"NomeQuimicoResponsavel"_s), u"BETO"_s);
}

// A group-2 user leaving the branch screen gets the group's companies back,
// without being asked the group again, and the session never grows beyond them.
TEST_F(Startup, LeavingTheBranchScreenOffersTheGroupsCompaniesAgain)
{
    start({{1, u"TINTAS"_s, 1}, {2, u"VERNIZES"_s, 2}, {3, u"VERNIZES NORTE"_s, 2}, {4, u"TINTAS SUL"_s, 1}});
    roteiro(u"entrada \"Grupo\" responde \"2\"\n"
            "aguarda 100 ms\n"
            "janela foMenuEmpresa\nclica OK\n"
            "janela MenuFilial\nclica BotaoOK\n"
            "janela MenuPcp\nmenu \"Cadastros/Sair\"\n"
            "janela MenuFilial\nmensagem \"Deseja encerrar do programa?\" responde Sim\nclica BotaoSair\n"
            "aguarda 100 ms\n"
            "janela foMenuEmpresa\n"
            "confere-linhas DBGrid1 2\n"
            "confere-celula DBGrid1 2 Nome \"VERNIZES NORTE\"\n"
            "seleciona DBGrid1 2\nclica OK\n"
            "janela MenuFilial\nclica BotaoOK\n"_s);
    EXPECT_FALSE(app->finished());
    EXPECT_EQ(sessao().NomeEmpresa, u"VERNIZES NORTE"_s);
    EXPECT_EQ(sessao().QtdEmpresas, 2);
    ASSERT_EQ(sessao().ListaEmpresas.size(), 2);
    EXPECT_EQ(sessao().ListaEmpresas[0].nome, u"VERNIZES"_s);
    EXPECT_EQ(sessao().ListaEmpresas[1].nome, u"VERNIZES NORTE"_s);
}

// A group of one company shows no list: leaving the branch screen ends the program.
TEST_F(Startup, LeavingTheBranchScreenOfAOneCompanyGroupEndsTheProgram)
{
    start({{1, u"TINTAS"_s, 1}, {2, u"VERNIZES"_s, 2}});
    roteiro(u"entrada \"Grupo\" responde \"2\"\n"
            "aguarda 100 ms\n"
            "janela MenuFilial\nmensagem \"Deseja encerrar do programa?\" responde Sim\nclica BotaoSair\n"
            "aguarda 100 ms\n"_s);
    EXPECT_TRUE(app->finished());
    EXPECT_FALSE(app->companyScreen()->isVisible());
    EXPECT_EQ(sessao().NomeEmpresa, u"VERNIZES"_s);
}

// The launcher chose the company; going back to it would only log in again.
TEST_F(Startup, AfterAnExternalLoginSairEndsTheProgram)
{
    paths = criaInstalacao(tmp.path(), {{1, u"A"_s, 1}, {2, u"B"_s, 1}});
    app = std::make_unique<Aplicacao>(paths, QStringList{u"Os_Exec"_s, u"2"_s, u"x"_s, u"U01"_s, u"SUP"_s});
    QTimer::singleShot(0, [this] { app->start(); });
    roteiro(u"aguarda 10 ms\n"
            "janela MenuFilial\n"
            "mensagem \"Deseja encerrar do programa?\" responde Nao\nclica BotaoSair\n"
            "janela MenuFilial\n"
            "mensagem \"Deseja encerrar do programa?\" responde Sim\nclica BotaoSair\n"
            "aguarda 100 ms\n"_s);
    EXPECT_TRUE(app->finished());
    EXPECT_FALSE(app->companyScreen()->isVisible());
    EXPECT_TRUE(app->branchScreen() == nullptr || !app->branchScreen()->isVisible());
}

// The head office is told by the company's own folder, never by where the data root lies.
TEST_F(Startup, TheHeadOfficeIsToldByTheCompanysFolderOnly)
{
    struct Caso {
        const char* raiz;
        QString diretorio;
        bool matriz;
    };
    for (const Caso& c : {Caso{"MatrizDados", u"\\Dados\\Sul"_s, false},
                          Caso{"dados", u"\\Dados\\Matriz"_s, true},
                          Caso{"dados", u"C:\\dados\\fabrica matriz sp"_s, true},
                          Caso{"dados", u"\\Dados\\Sul"_s, false}}) {
        SCOPED_TRACE(c.diretorio.toStdString());
        app.reset();
        sessao() = {};
        const QString raiz = tmp.filePath(QString::fromLatin1(c.raiz));
        QDir(raiz).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(raiz));
        paths = criaInstalacao(raiz, {{1, u"A"_s, 1, {}, {u"CENTRO"_s}, {}, c.diretorio}});
        app = std::make_unique<Aplicacao>(paths, QStringList{});
        ASSERT_TRUE(app->entraDireto(0, 1));
        EXPECT_EQ(sessao().EmpresaMatriz, c.matriz);
    }
}

// Enter moves through the company and branch screens, then presses the focused "OK".
TEST_F(Startup, EnterWalksToOkAndPressesIt)
{
    start({{1, u"TINTAS"_s, 1}, {2, u"TINTAS SUL"_s, 1}});
    roteiro(u"aguarda 100 ms\n"
            "janela foMenuEmpresa\n"
            "seleciona DBGrid1 2\n"
            "tecla Enter\n"
            "confere-estado Button1 focado\n"
            "tecla Enter\n"
            "janela MenuFilial\n"
            "confere-estado ComboBox1 focado\n"
            "tecla Enter\n"
            "confere-estado BotaoOK focado\n"
            "tecla Enter\n"
            "janela MenuPcp\n"_s);
    EXPECT_EQ(sessao().NomeEmpresa, u"TINTAS SUL"_s);
    EXPECT_EQ(sessao().FilialAtual, 1);
}

}  // namespace
