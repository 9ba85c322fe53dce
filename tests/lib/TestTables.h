#pragma once
// Small table layouts shared by the table-layer tests and their helper process.
#include "TableDef.h"

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

// A branch-keyed table with a blank-able second key field and one secondary index.
inline TableDef itensTable()
{
    TableDef t(u"Itens"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Codigo"_s, FieldType::Integer)
        .string(u"Tamanho"_s, 4)
        .string(u"Nome"_s, 30)
        .field(u"Preco"_s, FieldType::Float)
        .field(u"Data"_s, FieldType::Date)
        .field(u"Ativo"_s, FieldType::Boolean)
        .key({u"Filial"_s, u"Codigo"_s, u"Tamanho"_s})
        .index(u"PorNome"_s, {u"Nome"_s, u"Codigo"_s});
    return t;
}

}  // namespace pcp::test
