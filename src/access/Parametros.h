#pragma once
// The company parameters of ParametrosEmpresa, read through a cache of one
// branch's rows that is loaded at the first read and kept until cleared.
#include "Database.h"

#include <QByteArray>
#include <QList>

namespace pcp {

// One cached row of ParametrosEmpresa (the branch is the cache's).
struct ParametroEmpresa {
    qint64 codParametro = 0;
    QString nomeParametro;
    QString descParametro;
    QString valorStr;
    QVariant valorNumerico;
    QVariant valorWide;
    QByteArray valorOleObject;
    bool valorBoolean = false;
};

// ValorBoolean of the named parameter (exact name; the first row in code
// order wins); false when absent. The branch only matters when the read loads
// the cache: once loaded, it answers for that branch until it is cleared.
bool LeParametroLogico(Database& db, const QString& filial, const QString& nome);
// ValorStr of the named parameter; empty when absent.
QString LeParametroTexto(Database& db, const QString& filial, const QString& nome);
// The same on the company store of DMFilial().
bool LeParametroLogico(const QString& filial, const QString& nome);
QString LeParametroTexto(const QString& filial, const QString& nome);

// Empties the cache; the next read reloads it. The production menu calls it
// when it is shown, and the external login does.
void LimpaCacheParametros();

// The cached rows (empty before the first read and after clearing).
const QList<ParametroEmpresa>& cacheParametros();

}  // namespace pcp
