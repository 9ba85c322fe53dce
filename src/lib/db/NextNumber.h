#pragma once
// Sequence numbers: the highest number in use plus 1, starting at 1, within a
// scope (a parent's key, a branch, or the whole table when no scope fields
// are given).
#include "Database.h"
#include "TableDef.h"

#include <QStringList>
#include <QVariantList>

namespace pcp {

// The next number of the integer field `field` of `table` among the rows whose
// `scopeFields` equal `scopeValues` (a blank value matches blank rows). A
// number beyond the field's range, or beyond `cap` when it is above 0 (the
// limits some installations set), is refused with a DbError of kind Refused
// that names the field; nothing is written either way.
qint64 nextNumber(Database& db, const TableDef& table, const QString& field,
                  const QStringList& scopeFields = {}, const QVariantList& scopeValues = {},
                  qint64 cap = 0);

// The largest value an integer field holds (16-bit, 32-bit); 0 for other types.
qint64 maxIntegerValue(FieldType type);

}  // namespace pcp
