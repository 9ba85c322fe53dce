#pragma once
// Creates declared tables in a store, or upgrades an old one: missing tables,
// columns and indexes are added; rows are kept.
#include "Database.h"
#include "TableDef.h"

namespace pcp {

// Brings one table up to its declaration.
void ensureTable(Database& db, const TableDef& table);
// Brings every table of the list up to date in one transaction.
void ensureTables(Database& db, const QList<TableDef>& tables);

// Name of the unique index that keeps a table's primary key.
QString primaryIndexName(const TableDef& table);
QString secondaryIndexName(const TableDef& table, const IndexDef& index);

// The server's side of the two above (every statement through the driver).
void ensureTablesOnServer(Database& db, const QList<TableDef>& tables);
// The column type a field has on the server.
QString serverType(const FieldDef& field);

}  // namespace pcp
