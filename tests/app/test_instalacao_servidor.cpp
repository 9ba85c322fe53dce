// An install folder whose servidor.conf puts the company list and the login
// tables on the server: a workstation needs no local file of either.
#include "AccessTables.h"
#include "Aplicacao.h"
#include "Empresas.h"
#include "L_AutSen.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "Tabelas.h"
#include "uMenuPcp.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class InstalacaoNoServidor : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        // the fixture put the temporary folder on the test server
        if (!companyOnServer(tmp.path()))
            GTEST_SKIP() << "the install folder is on a server only in a server run";
        declaraTabelas();
        paths.instalacao = paths.programa = paths.dados = tmp.path();
    }
    Paths paths;
};

TEST_F(InstalacaoNoServidor, TheCompanyListIsReadFromTheServer)
{
    {
        auto lista = Store::open(paths.empresaDb(), {empresaTable()});
        ASSERT_TRUE(lista->onServer());
        lista->db().exec(u"INSERT INTO Empresa (Codigo, Nome, Diretorio, Grupo) VALUES "
                         u"(1, 'TINTAS', '\\Dados\\Emp1', 1), (2, 'VERNIZES', '\\Dados\\Emp2', 1)"_s);
    }
    ASSERT_FALSE(QFile::exists(paths.empresaDb()));
    Empresas empresas;
    ASSERT_TRUE(empresas.open(paths.empresaDb()));
    ASSERT_EQ(empresas.count(), 2);
    EXPECT_EQ(empresas.rows()[1].Nome, u"VERNIZES"_s);
    EXPECT_EQ(empresas.rows()[1].LOJA, 2) << "the layout upgrade ran on the server";
}

// newlogin.ini names a local folder with a login store of its own; the
// install folder's server holds the groups that count.
TEST_F(InstalacaoNoServidor, ThePermissionsAreReadFromTheInstallFoldersServer)
{
    const QString local = paths.localFolder(u"\\Dados\\Login"_s);
    ASSERT_TRUE(QDir().mkpath(local));
    Store::open(loginStorePath(local), loginTables());
    QFile ini(paths.newLoginIni());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[BaseLogin]\r\nBase=\\Dados\\Login\r\n");
    ini.close();
    {
        auto login = Store::open(loginStorePath(paths.instalacao), loginTables());
        ASSERT_TRUE(login->onServer());
        login->db().exec(u"INSERT INTO GruposUsuarios (CodigoGrupo, DescGrupo, Ativo) VALUES (7, 'LAB', 'S')"_s);
        login->db().exec(u"INSERT INTO GruposPorUsuario (CodFilGrupo, CodGrupo, CodUsuario) VALUES (1, 7, 'U02')"_s);
        login->db().exec(u"INSERT INTO PermissoesPorGrupo (CodGrupoUsuario, Permissao, NomePermissao) "
                         u"VALUES (7, 1, 'AcessoCadFormula')"_s);
    }
    ASSERT_EQ(paths.baseLogin(), paths.instalacao + u"/"_s);
    LimpaCachePermissoes();
    EXPECT_TRUE(TemPermissao(paths.baseLogin(), u"1"_s, u"U02"_s, false, u"OPE"_s, u"AcessoCadFormula"_s));
    EXPECT_FALSE(TemPermissao(paths.baseLogin(), u"1"_s, u"U02"_s, false, u"OPE"_s, u"AcessoCadProduto"_s));
    LimpaCachePermissoes();
}

// The production menu's status bar names the company's server and schema.
TEST_F(InstalacaoNoServidor, TheMenuShowsWhereTheCompanysTablesAre)
{
    sessao() = {};
    const QString pasta = paths.companyFolder(u"\\Dados\\Emp1"_s);
    ASSERT_TRUE(QDir().mkpath(pasta));
    test::preparaPastaDeTeste(pasta);
    Store::open(paths.empresaDb(), {empresaTable()})
        ->db()
        .exec(u"INSERT INTO Empresa (Codigo, Nome, Diretorio, Grupo) VALUES (1, 'TINTAS', '\\Dados\\Emp1', 1)"_s);
    Store::openCompany(pasta)->db().exec(u"INSERT INTO Filial (Filial, NOME, FATMODNF) VALUES (1, 'MATRIZ', 0)"_s);
    Aplicacao app(paths, {});
    ASSERT_TRUE(app.entraDireto(0, 1));
    TMenuPcp menu;
    menu.atualizaStatus();
    const auto* servidor = menu.findChild<QLabel*>(u"lbServidor"_s);
    ASSERT_NE(servidor, nullptr);
    const ServidorConf conf = *leServidorConf(pasta);
    EXPECT_EQ(servidor->text(), u"Servidor: "_s + descricaoServidor(conf));
    EXPECT_TRUE(servidor->text().endsWith(u" esquema "_s + conf.esquema)) << servidor->text().toStdString();
    EXPECT_FALSE(servidor->isHidden());
}

}  // namespace
