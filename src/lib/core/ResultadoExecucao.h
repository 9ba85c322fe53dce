#pragma once
// Where a long run leaves what it did ("1.234 documentos", "nada a processar"):
// the menu window shows it on its status bar until the next run. The menu
// installs the sink for its lifetime; without one the text goes nowhere.
#include <QString>
#include <functional>

namespace pcp {

void mostraResultadoExecucao(const QString& texto);

class ResultadoExecucaoScope {
public:
    explicit ResultadoExecucaoScope(std::function<void(const QString&)> sink);
    ~ResultadoExecucaoScope();
    ResultadoExecucaoScope(const ResultadoExecucaoScope&) = delete;
    ResultadoExecucaoScope& operator=(const ResultadoExecucaoScope&) = delete;

private:
    std::function<void(const QString&)> previous_;
};

}  // namespace pcp
