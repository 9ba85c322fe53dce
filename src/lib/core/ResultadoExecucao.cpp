#include "ResultadoExecucao.h"

namespace pcp {

namespace {
std::function<void(const QString&)>& sink()
{
    static std::function<void(const QString&)> s;
    return s;
}
}  // namespace

void mostraResultadoExecucao(const QString& texto)
{
    if (sink())
        sink()(texto);
}

ResultadoExecucaoScope::ResultadoExecucaoScope(std::function<void(const QString&)> s)
    : previous_(std::exchange(sink(), std::move(s)))
{
}

ResultadoExecucaoScope::~ResultadoExecucaoScope() { sink() = std::move(previous_); }

}  // namespace pcp
