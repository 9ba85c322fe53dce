#pragma once
// Turns a cursor filter written as text ("Filial = 1 and Cod_Clifor = 7",
// "Nome = 'TINTA*'", "Grupo = 3 or not (Ativo = 'N')") into a parameterised
// SQL condition. Field names are checked against the table; values are bound,
// never pasted into the SQL.
#include "TableDef.h"

namespace pcp {

struct SqlCondition {
    QString sql;
    QVariantList params;
};

// Throws DbError "Filtro invalido: ..." on a malformed text or an unknown field.
SqlCondition compileFilter(const QString& text, const TableDef& table);

}  // namespace pcp
