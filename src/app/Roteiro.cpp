#include "Roteiro.h"

#include "Aplicacao.h"
#include "DbError.h"
#include "ScenarioRunner.h"
#include "TDMFilial.h"

#include <QTimer>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

int executaRoteiro(const Paths& paths, const QStringList& args, const QString& arquivo)
{
    Aplicacao aplicacao(paths, args);
    ScenarioRunner runner;
    // confere-sql reads the store of the company chosen so far
    runner.setSqlScalar([](const QString& sql) {
        if (!DMFilial())
            throw DbError(u"nenhuma empresa escolhida"_s);
        return DMFilial()->store().db().prepare(sql).scalar();
    });
    QObject::connect(&aplicacao, &Aplicacao::programEnded, &aplicacao,
                     [&runner] { runner.stop(u"o programa terminou antes desta linha"_s); });
    QTimer::singleShot(0, &aplicacao, &Aplicacao::start);
    const bool ok = runner.runFile(arquivo);
    if (!ok)
        std::fprintf(stderr, "%s\n", qUtf8Printable(runner.error()));
    return ok ? 0 : 1;
}

}  // namespace pcp
