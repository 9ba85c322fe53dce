#pragma once
// The batch commands that move a company between a folder's SQLite store and
// a schema of a PostgreSQL server:
//
//   pcp-lote --empresa DIR copia-para-servidor --servidor CONEXAO --destino DIR2 [--esquema NOME]
//   pcp-lote --empresa DIR2 copia-do-servidor --destino DIR3
//
// The source is never written. The target (a schema, or DIR3/dados.sqlite)
// must hold none of the company's tables and a folder of the target no
// company; after a failure it holds nothing of the copy.
#include "CopiaEmpresa.h"
#include "Opcoes.h"

#include <cstdio>

namespace pcp {

bool comandoDeCopia(const QString& comando);

// Runs the copy the line asks for and returns its exit status (see Lote.h).
// Throws Recusa for what is refused before anything is written; says every
// other failure itself.
int executaCopia(const LinhaLote& l, const AndamentoCopia& andamento, std::FILE* resultado);

}  // namespace pcp
