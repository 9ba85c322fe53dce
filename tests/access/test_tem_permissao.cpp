// Group permissions from the login store: grants, the SUP rule, blocking
// permissions, the explained refusals and the caches.
#include "AccessTables.h"
#include "L_AutSen.h"
#include "ScriptedTest.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

const QString kCRLF = u"\r\n"_s;

QString recusa(const QString& usuario, const QString& descricao, const QString& permissao)
{
    return u"O usuário "_s + usuario + u" não possui permissão de acesso para esta função! "_s + kCRLF + kCRLF +
           u"Nome Permissão : "_s + descricao + kCRLF + u"Nome Interno   : "_s + permissao + kCRLF + kCRLF +
           u"Entre em contato com o administrador de sistema para que atribua esta permissão ao seu grupo de usuários!"_s;
}

QString bloqueio(const QString& usuario, const QString& descricao, const QString& permissao)
{
    return u"O usuário "_s + usuario + u" possui BLOQUEIO de acesso para esta função! "_s + kCRLF + kCRLF +
           u"Nome Bloqueio : "_s + descricao + kCRLF + u"Nome Interno   : "_s + permissao + kCRLF + kCRLF +
           u"Entre em contato com o administrador de sistema!"_s;
}

class TemPermissaoTest : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        LimpaCachePermissoes();
        base = tmp.path() + u"/login/"_s;
        QDir().mkpath(base);
        login = Store::open(loginStorePath(base), loginTables());
        // branch 1: ANA in group 10 (active) and 11 (inactive); branch 2: ANA in group 12
        sql(u"INSERT INTO GruposUsuarios VALUES (10, 'Vendas', 'S'), (11, 'Antigo', 'N'), (12, 'Filial 2', 'S')"_s);
        sql(u"INSERT INTO GruposPorUsuario VALUES (1, 10, 'ANA'), (1, 11, 'ANA'), (2, 12, 'ANA')"_s);
        sql(u"INSERT INTO PermissoesPorGrupo VALUES (10, 1, 'IncClifor', 'Inclui cliente'),"
            " (10, 2, 'Bloqueia(o)AltListaPrCadProd', 'Bloqueia listas'),"
            " (11, 3, 'ExcluirCliente', 'Exclui cliente'), (12, 4, 'EditarCliente', 'Edita cliente')"_s);
        sql(u"INSERT INTO permissoes VALUES ('IncClifor', 'Inclusão de clientes'),"
            " ('ExcluirCliente', 'Exclusão de clientes'), ('Bloqueia(o)AltListaPrCadProd', 'Listas de preço'),"
            " ('Bloqueia(o)AltVendedorCliFor', 'Vendedor do cliente')"_s);
    }
    void TearDown() override
    {
        LimpaCachePermissoes();
        test::ScriptedTest::TearDown();
    }
    void sql(const QString& text) { login->db().exec(text); }

    QString base;
    std::shared_ptr<Store> login;
};

TEST_F(TemPermissaoTest, GrantsSupRuleAndBlockingPermissions)
{
    struct Caso {
        QString usuario, nivel, permissao;
        bool esperado;
        QString explicacao;  // empty: nothing shown even when asked to explain
    };
    const Caso casos[] = {
        {u"ANA"_s, u"USU"_s, u"IncClifor"_s, true, {}},
        {u"ANA"_s, u"USU"_s, u"incclifor"_s, false, recusa(u"ANA"_s, {}, u"incclifor"_s)},  // exact name
        {u"ANA"_s, u"USU"_s, u"ExcluirCliente"_s, false,  // only in an inactive group
         recusa(u"ANA"_s, u"Exclusão de clientes"_s, u"ExcluirCliente"_s)},
        {u"ANA"_s, u"ADM"_s, u"EditarCliente"_s, false,  // granted in another branch only
         recusa(u"ANA"_s, {}, u"EditarCliente"_s)},
        {u"ANA"_s, u"USU"_s, u"Bloqueia(o)AltListaPrCadProd"_s, true,
         bloqueio(u"ANA"_s, u"Listas de preço"_s, u"Bloqueia(o)AltListaPrCadProd"_s)},
        {u"ANA"_s, u"USU"_s, u"Bloqueia(o)AltVendedorCliFor"_s, false, {}},
        {u"BIA"_s, u"SUP"_s, u"ExcluirCliente"_s, true, {}},  // no group at all
        {u"BIA"_s, u"SUP"_s, u"Bloqueia(o)AltVendedorCliFor"_s, true,
         bloqueio(u"BIA"_s, u"Vendedor do cliente"_s, u"Bloqueia(o)AltVendedorCliFor"_s)},
        {u"BIA"_s, u"USU"_s, u"IncClifor"_s, false, recusa(u"BIA"_s, u"Inclusão de clientes"_s, u"IncClifor"_s)},
    };
    for (const Caso& c : casos) {
        for (bool explica : {false, true}) {
            LimpaCachePermissoes();
            if (explica && !c.explicacao.isEmpty())
                script.expect(c.explicacao).icon = MsgIcon::Warning;
            EXPECT_EQ(TemPermissao(base, u"1"_s, c.usuario, explica, c.nivel, c.permissao), c.esperado)
                << c.usuario.toStdString() << " " << c.permissao.toStdString() << " explica=" << explica;
            checkScript();
        }
    }
}

TEST_F(TemPermissaoTest, ClosedLoginStoreReadsReadOnly)
{
    login.reset();  // nobody else has it open: no WAL side files left
    EXPECT_TRUE(TemPermissao(base, u"1"_s, u"ANA"_s, false, u"USU"_s, u"IncClifor"_s));
}

TEST_F(TemPermissaoTest, CacheKeepsFirstAnswersUntilClearedButFollowsTheBranch)
{
    EXPECT_FALSE(TemPermissao(base, u"1"_s, u"ANA"_s, false, u"USU"_s, u"ExcluirProduto"_s));
    sql(u"INSERT INTO PermissoesPorGrupo VALUES (10, 5, 'ExcluirProduto', 'Exclui produto')"_s);
    EXPECT_FALSE(TemPermissao(base, u"1"_s, u"ANA"_s, false, u"USU"_s, u"ExcluirProduto"_s));

    // another branch is never answered with this branch's groups
    EXPECT_TRUE(TemPermissao(base, u"2"_s, u"ANA"_s, false, u"USU"_s, u"EditarCliente"_s));
    EXPECT_FALSE(TemPermissao(base, u"2"_s, u"ANA"_s, false, u"USU"_s, u"IncClifor"_s));

    LimpaCachePermissoes();
    EXPECT_TRUE(TemPermissao(base, u"1"_s, u"ANA"_s, false, u"USU"_s, u"ExcluirProduto"_s));
}

TEST_F(TemPermissaoTest, UserCodeIsBoundNotPastedIntoTheQuery)
{
    script.expect(recusa(u"x' OR 'a'='a"_s, u"Inclusão de clientes"_s, u"IncClifor"_s));
    EXPECT_FALSE(TemPermissao(base, u"1"_s, u"x' OR 'a'='a"_s, true, u"USU"_s, u"IncClifor"_s));
    EXPECT_FALSE(TemPermissao(base, u"1 OR 1=1"_s, u"ANA"_s, false, u"USU"_s, u"IncClifor"_s));
}

TEST_F(TemPermissaoTest, UnreadableLoginStoreRefusesWithItsError)
{
    const QString outra = tmp.path() + u"/nenhum/"_s;
    EXPECT_FALSE(TemPermissao(outra, u"1"_s, u"BIA"_s, true, u"SUP"_s, u"IncClifor"_s));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().contains(u"Erro na leitura de permissão : IncClifor ERRO : "_s))
        << script.shown().first().toStdString();
    script.clear();
}

}  // namespace
