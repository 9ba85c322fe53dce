#pragma once
// Copying every table of a company from one store into another (a SQLite
// file to a server schema and back). The source is read in one consistent
// view and never written; the target receives the rows in one transaction,
// in the order of the source's rows, and is checked against the source table
// by table (row count and a SHA-256 of the values) before that transaction
// is committed, so a failed copy leaves no table behind.
#include "Database.h"
#include "TableDef.h"

#include <functional>

namespace pcp {

// A table as the copy compares it on both ends.
struct ResumoTabela {
    QString tabela;
    qint64 linhas = 0;
    QByteArray soma;  // SHA-256 of the rows' canonical form, in hex
};

// The tables of the company in `origem`: every table the catalog declares,
// and each table of the store that belongs to a family of the catalog (the
// monthly logs), with the family's layout. The store's tables the catalog
// does not know go to `desconhecidas`.
QList<TableDef> tabelasDaEmpresa(Database& origem, const Catalog& catalogo, QStringList& desconhecidas);

// The first of `tabelas` that `destino` already holds, as the target spells
// it; empty when it holds none.
QString tabelaJaExistente(Database& destino, const QList<TableDef>& tabelas);

using AndamentoCopia = std::function<void(const QString& texto, bool ultimo)>;

// Creates the tables in `destino` and copies their rows from `origem`.
// Throws DbError, its text naming the table, when a value is refused, the
// connection is lost or the target does not read back as the source; the
// target then holds none of the tables.
QList<ResumoTabela> copiaTabelas(Database& origem, Database& destino, const QList<TableDef>& tabelas,
                                 const AndamentoCopia& andamento);

// The count and sum of one table of a store as the copy computes them (for
// checking a copy afterwards).
ResumoTabela resumoDaTabela(Database& db, const TableDef& tabela);

}  // namespace pcp
