// A server that does not answer: the company on it cannot be opened, the user
// is told why and may choose another company; a company list on such a server
// ends the program after saying so. Where the login tables are when the
// install folder names a server.
#include "Aplicacao.h"
#include "Instalacao.h"
#include "Messages.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "uMenuEmpresa.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Runs the event loop until the condition holds (false when it never does).
bool ate(const std::function<bool()>& condicao)
{
    QElapsedTimer relogio;
    relogio.start();
    while (!condicao()) {
        if (relogio.hasExpired(10000))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void escreve(const QString& arquivo, const QByteArray& texto)
{
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto);
}

class ServidorFora : public ::testing::Test {
protected:
    void SetUp() override
    {
        sessao() = {};
        Aplicacao::setTimerInterval(0);
        // a socket folder where no server listens: the connection is refused at once
        ASSERT_TRUE(QDir().mkpath(tmp.filePath(u"sem-servidor"_s)));
        conninfo = u"host=%1 port=5432 dbname=pcp user=pcp"_s.arg(tmp.filePath(u"sem-servidor"_s));
        ASSERT_TRUE(QDir().mkpath(tmp.filePath(u"inst"_s)));
        paths = criaInstalacao(tmp.filePath(u"inst"_s), {{1, u"LOCAL"_s, 1}, {2, u"NO SERVIDOR"_s, 1}});
    }
    void TearDown() override
    {
        app.reset();
        for (const QString& f : script.failures())
            ADD_FAILURE() << f.toStdString();
    }
    // Points a folder at the server that does not answer.
    void apontaParaServidorFora(const QString& folder)
    {
        escreve(QDir(folder).filePath(u"servidor.conf"_s), conninfo.toUtf8() + "\nesquema=pcp_emp\n");
    }
    // What the driver says about that server.
    QString textoDoDriver()
    {
        try {
            Database db(ServidorConf{conninfo, u"pcp_emp"_s}, QString());
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Connection);
            return e.message();
        }
        ADD_FAILURE() << "a server answered at " << conninfo.toStdString();
        return {};
    }
    void start()
    {
        app = std::make_unique<Aplicacao>(paths, QStringList{});
        app->start();
    }
    void escolhe(int linha)
    {
        app->companyScreen()->setCurrentRow(linha);
        auto* ok = app->companyScreen()->findChild<QPushButton*>(u"Button1"_s);
        ASSERT_NE(ok, nullptr);
        ok->click();
    }

    ScriptedMessages script;
    MessageServiceScope scope{script};
    QTemporaryDir tmp;
    QString conninfo;
    Paths paths;
    std::unique_ptr<Aplicacao> app;
};

TEST_F(ServidorFora, ACompanyOnAServerThatDoesNotAnswerGoesBackToTheCompanyList)
{
    apontaParaServidorFora(paths.companyFolder(diretorioDe(2)));
    const QString texto = textoDoDriver();
    ASSERT_TRUE(texto.startsWith(u"Não foi possível conectar ao servidor de banco de dados: "_s)) << texto.toStdString();
    start();
    ASSERT_TRUE(ate([&] { return app->companyScreen()->isVisible(); }));

    script.expect(texto).icon = MsgIcon::Error;
    escolhe(1);
    EXPECT_FALSE(script.pending()) << "the user is told why";
    EXPECT_FALSE(app->finished());
    EXPECT_TRUE(app->companyScreen()->isVisible()) << "back to the company list";
    EXPECT_TRUE(app->branchScreen() == nullptr || !app->branchScreen()->isVisible());
    EXPECT_EQ(DMFilial(), nullptr) << "no company is open";

    // another company is still there to choose
    escolhe(0);
    ASSERT_TRUE(ate([&] { return app->branchScreen() && app->branchScreen()->isVisible(); }));
    ASSERT_NE(DMFilial(), nullptr);
    EXPECT_EQ(DMFilial()->store().folder(), paths.companyFolder(diretorioDe(1)));
}

TEST_F(ServidorFora, ACompanyListOnAServerThatDoesNotAnswerEndsTheProgramAfterSayingSo)
{
    apontaParaServidorFora(paths.instalacao);
    // a data root of its own, which a list that cannot be read must not turn into the company
    paths.dados = tmp.filePath(u"raiz"_s);
    ASSERT_TRUE(QDir().mkpath(paths.dados));
    script.expect(textoDoDriver()).icon = MsgIcon::Error;
    start();
    ASSERT_TRUE(ate([&] { return app->finished(); }));
    EXPECT_FALSE(script.pending());
    EXPECT_EQ(DMFilial(), nullptr) << "the data root is never taken for the company";
    EXPECT_FALSE(QFile::exists(companyStorePath(paths.dados))) << "nothing was created";
}

// The login tables follow the install folder's server unless the login folder names its own.
TEST_F(ServidorFora, TheLoginTablesAreOnTheInstallFoldersServer)
{
    const QString login = paths.localFolder(u"\\Dados\\Login"_s);
    ASSERT_TRUE(QDir().mkpath(login));
    escreve(paths.newLoginIni(), "[BaseLogin]\r\nBase=\\Dados\\Login\r\n");
    struct Caso {
        const char* nome;
        bool instalacaoNoServidor;
        bool loginNoServidor;
        QString base;
    };
    const Caso casos[] = {
        {"nenhum servidor", false, false, login + u"/"_s},
        {"a instalacao no servidor", true, false, paths.instalacao + u"/"_s},
        {"as duas no servidor", true, true, login + u"/"_s},
        {"so o login no servidor", false, true, login + u"/"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(QDir(paths.instalacao).filePath(u"servidor.conf"_s));
        QFile::remove(QDir(login).filePath(u"servidor.conf"_s));
        if (c.instalacaoNoServidor)
            apontaParaServidorFora(paths.instalacao);
        if (c.loginNoServidor)
            apontaParaServidorFora(login);
        EXPECT_EQ(paths.baseLogin(), c.base);
    }
}

}  // namespace
