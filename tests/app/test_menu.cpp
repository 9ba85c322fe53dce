// The production menu: entries reach their screens, guarded ones ask first.
#include "Aplicacao.h"
#include "Instalacao.h"
#include "ScenarioRunner.h"
#include "ResultadoExecucao.h"
#include "Sessao.h"

#include <QMenuBar>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class Menu : public ::testing::Test {
protected:
    void SetUp() override
    {
        sessao() = {};
        Aplicacao::setTimerInterval(20);
        paths = criaInstalacao(tmp.path(), {{1, u"A"_s, 1}});
        auto store = Store::openCompany(paths.companyFolder(diretorioDe(1)));
        store->db().exec(u"INSERT INTO Acesso (Codigo, Conteudo, Inf_Usuario) VALUES (101, 'baixa', 'N')"_s);
        app = std::make_unique<Aplicacao>(paths, QStringList{});
        app->start();
        run(u"aguarda 100 ms\njanela MenuFilial\nclica BotaoOK\njanela MenuPcp\n"_s);
    }
    void run(const QString& script)
    {
        ScenarioRunner runner;
        runner.setSqlScalar([this](const QString& sql) {
            return Store::openCompany(paths.companyFolder(diretorioDe(1)))->db().prepare(sql).scalar();
        });
        EXPECT_TRUE(runner.run(script)) << runner.error().toStdString();
    }
    QTemporaryDir tmp;
    Paths paths;
    std::unique_ptr<Aplicacao> app;
};

TEST_F(Menu, HasTheFiveMenusInOrderAtTheTopLeftCorner)
{
    QStringList menus;
    for (QAction* a : app->menu()->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{u"Cadastros"_s, u"Movimento"_s, u"Consulta"_s, u"Relatorios"_s, u"Utilitarios"_s}));
    EXPECT_EQ(app->menu()->pos(), QPoint(0, 0));
    EXPECT_EQ(app->menu()->width(), 800);
}

// Only a company on a server shows where its tables are.
TEST_F(Menu, ALocalCompanyShowsNoServer)
{
    const auto* servidor = app->menu()->findChild<QLabel*>(u"lbServidor"_s);
    ASSERT_NE(servidor, nullptr);
    EXPECT_TRUE(servidor->text().isEmpty());
    EXPECT_TRUE(servidor->isHidden());
}

TEST_F(Menu, EntriesOpenTheirScreenOrSayItIsNotThereYet)
{
    run(u"mensagem \"\\\"Fatores\\\" (TfoCadFatores) ainda não está disponível nesta versão do programa.\"\n"
        "menu \"Cadastros/Fatores\"\n"
        "menu \"Movimento/Gera Talões\"\n"
        "menu \"Cadastros/Parametrização\"\n"
        "confere-titulo \"Parametrização do PCP\"\n"
        "preenche edUltimaFormula \"77\"\n"
        "clica btOK\n"
        "janela MenuPcp\n"
        "confere-sql \"select UltimaFormula from Pcpcfg where Filial = 1\" \"77\"\n"_s);
}

TEST_F(Menu, RawMaterialWriteOffAsksForAccessCode101)
{
    run(u"menu \"Utilitarios/Baixa Estoque Materia Prima\"\n"
        "preenche EdSenha \"outra\"\n"
        "mensagem \"Senha invalida\"\n"
        "clica btOK\n"
        "janela MenuPcp\n"
        "menu \"Utilitarios/Baixa Estoque Materia Prima\"\n"
        "preenche EdSenha \"baixa\"\n"
        "clica btOK\n"
        "janela foBaixaEstoqueMatPrima\n"
        "confere-titulo \"Baixa Estoque Materia Prima\"\n"_s);
}

TEST_F(Menu, TheAverageCostUpdateIsUnderUtilitarios)
{
    run(u"menu \"Utilitarios/Atualiza Custo Medio\"\n"
        "janela foAtuCustoMedio\n"
        "confere-titulo \"Atualização do Custo Medio\"\n"
        "confere meClassFim \"999999999999999999999999\"\n"_s);
}

}  // namespace

namespace {

TEST_F(Menu, GravaCustoNaLista6FillsOnlyTheBlankPriceLists)
{
    auto store = Store::openCompany(paths.companyFolder(diretorioDe(1)));
    store->db().exec(u"INSERT INTO Estproma (Filial, Cod_Reduz, NOME1, ULTIMOCUST, LISTA6) VALUES "
                     u"(1, 1, 'VAZIO', 2.5, NULL), (1, 2, 'ZERO', 3.5, 0), (2, 3, 'OUTRA FILIAL', 4.5, NULL), "
                     u"(1, 4, 'CHEIO', 5.5, 9)"_s);
    // the price list 6 of products 1 to 4 (blank reads as "")
    const auto lista6 = [](const QStringList& valores) {
        QString passos;
        for (int i = 0; i < valores.size(); ++i)
            passos += u"confere-sql \"select LISTA6 from Estproma where Cod_Reduz = %1\" \"%2\"\n"_s.arg(i + 1).arg(
                valores[i]);
        return passos;
    };
    run(u"mensagem \"Confirma atualização ?\" responde Nao\n"
        "menu \"Utilitarios/Grava Custo na Lista 6\"\n"_s +
        lista6({u""_s, u"0"_s, u""_s, u"9"_s}) +
        u"mensagem \"Confirma atualização ?\" responde Sim\n"
        "mensagem \"Processo de atualização finalizado\"\n"
        "menu \"Utilitarios/Grava Custo na Lista 6\"\n"_s +
        lista6({u"2.5"_s, u"0"_s, u"4.5"_s, u"9"_s}));
}

// The status bar names company, branch and user, and keeps the last long run's
// result until the next run; a menu built again after "Sair" takes the results.
TEST_F(Menu, TheStatusBarShowsWhereWeAreAndTheLastRunsResult)
{
    run(u"confere lbEmpresa \"Empresa: A\"\n"
        "confere lbFilial \"Filial: 1 - MATRIZ\"\n"
        "confere lbResultado \"\"\n"_s);
    mostraResultadoExecucao(u"12 documentos"_s);
    run(u"confere lbResultado \"12 documentos\"\n"
        "menu \"Cadastros/Sair\"\n"
        "janela MenuFilial\nclica BotaoOK\n"
        "aguarda 10 ms\n"
        "janela MenuPcp\n"
        "confere lbResultado \"\"\n"_s);
    mostraResultadoExecucao(u"nada a processar"_s);
    run(u"confere lbResultado \"nada a processar\"\n"_s);
    EXPECT_GT(app->menu()->height(), app->menu()->menuBar()->height());
}

}  // namespace
