#include "EmbalagemTables.h"

#include "Database.h"
#include "DbError.h"
#include "NextNumber.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableDef embalageTable()
{
    TableDef t(u"EMBALAGE"_s);
    t.field(u"Codigo"_s, FieldType::SmallInt)
        .string(u"Descricao"_s, 40)
        .field(u"Peso_Liq"_s, FieldType::Float)
        .field(u"Peso_Embal"_s, FieldType::Float)
        .key({u"Codigo"_s});
    return t;
}

TableDef embProdTable()
{
    TableDef t(u"EmbProd"_s);
    t.field(u"Cod_Reduz"_s, FieldType::Integer)
        .field(u"Codigo"_s, FieldType::SmallInt)
        .field(u"Peso_Liq"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .field(u"Peso_Embal"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .key({u"Cod_Reduz"_s, u"Codigo"_s});
    return t;
}

void declarePackagingTables(Catalog& catalog)
{
    catalog.add(embalageTable());
    catalog.add(embProdTable());
}

std::optional<int> nextPackagingCode(Database& db)
{
    try {
        return int(nextNumber(db, embalageTable(), u"Codigo"_s));
    } catch (const DbError& e) {
        if (e.kind() != DbErrorKind::Refused)
            throw;
        return std::nullopt;  // the 16-bit codes are used up
    }
}

bool productHasPackaging(Database& db, qint64 codReduz, qint64 codigo)
{
    Statement st = db.prepare(u"SELECT count(*) FROM EmbProd WHERE Cod_Reduz = ? AND Codigo = ?"_s);
    st.bindList({codReduz, codigo});
    return st.scalar().toLongLong() > 0;
}

QString packagingWeightsProblem(const TableCursor& row)
{
    if (row.asFloat(u"Peso_Liq"_s) < 0)
        return u"O peso líquido não pode ser negativo!"_s;
    if (row.asFloat(u"Peso_Embal"_s) < 0)
        return u"O peso da embalagem não pode ser negativo!"_s;
    return {};
}

}  // namespace pcp
