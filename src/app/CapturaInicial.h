#pragma once
#include <QString>
#include <QStringList>

namespace pcp {
class Aplicacao;
// Pictures of the start-up screens (splash, company, password, branch, access
// code, menu) on the company the application entered; the registered screens
// are captured by captureScreens().
QStringList capturaTelasIniciais(Aplicacao& app, const QString& dir);
}  // namespace pcp
