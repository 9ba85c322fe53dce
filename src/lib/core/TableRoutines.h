#pragma once
// The shared routines every screen uses on its tables: edit with lock
// retries, post with the duplicate-key report, index switch with retries,
// scratch tables, and reading a settings file.
#include "TableCursor.h"

namespace pcp {

// True when the current record is in edit mode; false when the user gave up
// on a record another workstation holds.
bool EditaRegistro(TableCursor& table);
// True when the record was posted (and is on disk); false after an error
// message, with the record still in insert or edit mode.
bool GravaRegistro(TableCursor& table);
// True when the cursor now works on that index; false when the user gave up.
bool MudaIndice(TableCursor& table, const QString& indexName);
// Leaves the cursor, closed, on a new empty table of that name in the scratch
// folder, laid out as the cursor's own table declaration.
void CriaTabelaTemp(const QString& tableName, TableCursor& table);

// The scratch folder "TmpDb/" inside the program folder, created when needed.
QString scratchFolder();
void setProgramFolder(const QString& folder);
QString programFolder();

// The value of a key in a section of a settings file; empty when the file,
// section or key is missing. Sections and keys ignore letter case.
QString readIniValue(const QString& path, const QString& section, const QString& key);

}  // namespace pcp
