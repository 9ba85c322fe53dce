#pragma once
// The size catalogue Tamanhos, shared by every branch: each size code used by
// a product's Tamanho rows has one catalogue row, numbered from 1 to 999.
#include "Database.h"

#include <optional>

namespace pcp {

inline constexpr int kMaiorCodigoTamanho = 999;

// Run after a product's size row is confirmed. When no catalogue row has that
// size code, adds one with the lowest free Codigo from 1 upward (Tamanho and
// Descricao both the size code) and returns that code, which the caller copies
// to the other companies. Returns nothing when the size is already catalogued,
// or when codes 1 to 999 are all taken: then it shows "Não há mais código
// disponível para tamanho. Contate imediatamente a Ardeno Informática!" and
// adds nothing (the product's size row stays). A size code that is empty or
// longer than four characters throws DbError "Tamanho Invalido".
std::optional<int> atualizaCatalogoTamanhos(Database& db, const QString& tamanho);

}  // namespace pcp
