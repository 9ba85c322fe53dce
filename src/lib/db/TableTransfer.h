#pragma once
// What copying a store's tables into another store asks of each engine
// beyond the tables' declarations: the columns a table really has (an old
// store may lack some), one consistent view of a store being read, and the
// position of an auto-increment field's numbering.
#include "Database.h"

namespace pcp {

// The columns of a table of the store, lower case; empty when the table is missing.
QStringList columnNames(Database& db, const QString& table);

// Opens a read-only transaction that sees the whole store as it was when it
// began, whatever other connections write meanwhile; end it with
// endSnapshot (nothing it read is changed).
void beginSnapshot(Database& db);
void endSnapshot(Database& db);

// The last number the store handed out for the auto-increment field of the
// table (0 when none yet), and setting it, so that the next row gets last + 1.
qint64 lastAutoNumber(Database& db, const QString& table, const QString& field);
void setLastAutoNumber(Database& db, const QString& table, const QString& field, qint64 last);

}  // namespace pcp
