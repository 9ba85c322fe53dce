#pragma once
// Sizes as keys: an empty size ('') and a blank (NULL) one are the same size.
// The table layer stores a blank as NULL; stores written by other tools may
// hold ''.
#include <QString>

namespace pcp {

inline bool tamanhoEmBranco(const QString& tamanho) { return tamanho.isEmpty(); }

// The SQL condition on `coluna` for the size: both blanks for a blank size
// (no parameter), else "coluna = ?" (one parameter, the size).
inline QString condicaoTamanho(const QString& coluna, const QString& tamanho)
{
    if (tamanhoEmBranco(tamanho))
        return QStringLiteral("(%1 IS NULL OR %1 = '')").arg(coluna);
    return QStringLiteral("%1 = ?").arg(coluna);
}

}  // namespace pcp
