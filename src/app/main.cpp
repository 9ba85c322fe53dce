// The program: `pcp [--instalacao DIR] [--programa DIR] [--dados DIR]
//                   [--roteiro FILE] [--capturar-telas DIR] [Os_Exec ...]`
//      `pcp [--instalacao DIR] --criar-demo [--servidor CONNINFO [--esquema-prefixo P]]`
#include "Aplicacao.h"
#include "AplicacaoPcp.h"
#include "CapturaInicial.h"
#include "DemoInstalacao.h"
#include "DialogMessages.h"
#include "Roteiro.h"
#include "ScreenCapture.h"
#include "SingleInstance.h"
#include "TFormSplash.h"
#include "TDMFilial.h"
#include "Tabelas.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;


int criaDemoSemJanela(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const Paths paths = Paths::fromArguments(args);
    std::optional<DemoServidor> servidor;
    const QString conninfo = takeOption(args, u"--servidor"_s);
    const QString prefixo = takeOption(args, u"--esquema-prefixo"_s);
    if (!conninfo.isEmpty())
        servidor = DemoServidor{conninfo, prefixo.isEmpty() ? u"pcp"_s : prefixo};
    else if (!prefixo.isEmpty() || args.contains(u"--servidor"_s)) {
        std::fprintf(stderr, "--esquema-prefixo vale apenas com --servidor CONEXAO\n");
        return 2;
    }
    QString erro;
    if (!criaDemo(paths, &erro, servidor)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(erro));
        return 1;
    }
    std::fprintf(stderr, "Demonstracao pronta em %s\n", qUtf8Printable(paths.instalacao));
    return 0;
}

int main(int argc, char** argv)
{
    const QStringList raw = [&] {
        QStringList l;
        for (int i = 1; i < argc; ++i)
            l << QString::fromLocal8Bit(argv[i]);
        return l;
    }();
    if (raw.contains(u"--criar-demo"_s))
        return criaDemoSemJanela(argc, argv);
    // pictures and scripts need no display
    if ((raw.contains(u"--capturar-telas"_s) || raw.contains(u"--roteiro"_s)) && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    AplicacaoPcp app(argc, argv);
    QApplication::setApplicationName(u"Velumar32"_s);
    QStringList args = app.arguments().mid(1);
    const Paths paths = Paths::fromArguments(args);
    const QString roteiro = takeOption(args, u"--roteiro"_s);
    const QString capturas = takeOption(args, u"--capturar-telas"_s);

    if (!capturas.isEmpty()) {
        StderrMessages quiet;
        MessageServiceScope scope(quiet);
        Aplicacao aplicacao(paths, {});
        if (!aplicacao.entraDireto(0, 1)) {
            std::fprintf(stderr, "Nao foi possivel abrir a empresa de demonstracao\n");
            return 1;
        }
        const QStringList iniciais = capturaTelasIniciais(aplicacao, capturas);
        CaptureReport report;
        const bool ok = captureScreens(capturas, &report);
        for (const QString& f : iniciais + report.files)
            std::printf("%s\n", qUtf8Printable(f));
        for (const QString& p : report.problems)
            std::fprintf(stderr, "%s\n", qUtf8Printable(p));
        return ok ? 0 : 1;
    }

    if (!roteiro.isEmpty()) {
        int status = 1;
        QTimer::singleShot(0, [&] {
            status = executaRoteiro(paths, args, roteiro);
            // exit, not quit: quit asks the windows first, and the company and
            // branch screens answer a close by asking the user
            QCoreApplication::exit(status);
        });
        app.exec();
        return status;
    }

    SingleInstance single(u"Velumar32"_s);
    if (single.anotherIsRunning())
        return 0;
    single.listen();

    DialogMessages dialogs;
    MessageServiceScope scope(dialogs);
    TFormSplash* splash = new TFormSplash;
    splash->show();
    app.processEvents();

    Aplicacao aplicacao(paths, args);
    QObject::connect(&single, &SingleInstance::activated, &aplicacao, &Aplicacao::bringToFront);
    QObject::connect(&aplicacao, &Aplicacao::programEnded, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    aplicacao.start();
    splash->hide();
    delete splash;
    return app.exec();
}
