// `pcp --roteiro`: the program started as on the command line, inside the
// application's event loop, driven by a script file.
#include "Aplicacao.h"
#include "Instalacao.h"
#include "Roteiro.h"
#include "Sessao.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pcp;
using namespace pcp::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class Roteiro : public ::testing::Test {
protected:
    void SetUp() override
    {
        sessao() = {};
        Aplicacao::setTimerInterval(20);
    }

    // The exit status of `pcp ARGS --roteiro FILE` with the script.
    int roda(const QString& script, const QStringList& args = {})
    {
        const QString file = tmp.filePath(u"roteiro.txt"_s);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(script.toUtf8());
        f.close();
        int status = -1;
        QTimer::singleShot(0, [&] {
            status = executaRoteiro(paths, args, file);
            QCoreApplication::exit(0);
        });
        QApplication::exec();
        return status;
    }

    QTemporaryDir tmp;
    Paths paths;
};

TEST_F(Roteiro, AScriptGoingOnAfterTheProgramEndedFails)
{
    paths = criaInstalacao(tmp.path(), {{1, u"UNICA"_s, 1}});
    testing::internal::CaptureStderr();
    const int status = roda(u"aguarda 100 ms\n"
                            "janela MenuFilial\n"
                            "mensagem \"Deseja encerrar do programa?\" responde Sim\n"
                            "clica BotaoSair\n"
                            "aguarda 200 ms\n"
                            "confere-titulo \"Impossível\"\n"_s);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(status, 0);
    EXPECT_NE(err.find("linha 6: o programa terminou antes desta linha"), std::string::npos) << err;
}

TEST_F(Roteiro, LeavingTheBranchScreenKeepsTheProgramRunning)
{
    paths = criaInstalacao(tmp.path(), {{1, u"PRIMEIRA"_s, 1}, {2, u"SEGUNDA"_s, 1}});
    EXPECT_EQ(roda(u"aguarda 100 ms\n"
                   "janela foMenuEmpresa\nclica OK\n"
                   "janela MenuFilial\n"
                   "mensagem \"Deseja encerrar do programa?\" responde Sim\nclica BotaoSair\n"
                   "aguarda 100 ms\n"
                   "janela foMenuEmpresa\nseleciona DBGrid1 2\nclica OK\n"
                   "janela MenuFilial\nclica BotaoOK\n"
                   "janela MenuPcp\n"
                   "confere-sql \"select NOME from Filial\" \"MATRIZ\"\n"_s),
              0);
    EXPECT_EQ(sessao().NomeEmpresa, u"SEGUNDA"_s);
}

// The company password of an external login is asked before any window is
// shown: the script is already running and answers it.
TEST_F(Roteiro, ExternalLoginPasswordIsAnsweredByTheScript)
{
    paths = criaInstalacao(tmp.path(), {{1, u"A"_s, 1}, {2, u"B"_s, 1, u"abc"_s}});
    EXPECT_EQ(roda(u"confere-titulo \"Verificação de Senha\"\n"
                   "preenche MaskEdit1 \"abc\"\n"
                   "clica OK\n"
                   "janela MenuFilial\nclica BotaoOK\n"
                   "janela MenuPcp\n"_s,
                   {u"Os_Exec"_s, u"2"_s, u"x"_s, u"U01"_s, u"SUP"_s}),
              0);
    EXPECT_EQ(sessao().NomeEmpresa, u"B"_s);
    EXPECT_EQ(sessao().UsuarioAtual, u"U01"_s);
}

}  // namespace
