// Sequence numbers: highest + 1 within a parent, a branch or the whole table,
// refused beyond a cap or the field's range.
#include "NextNumber.h"
#include "Store.h"

#include "ServidorTeste.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TableDef pedidosTable()
{
    TableDef t(u"Pedidos"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Numero"_s, FieldType::Integer)
        .field(u"Item"_s, FieldType::SmallInt)
        .string(u"Serie"_s, 2)
        .string(u"Nome"_s, 10)
        .key({u"Filial"_s, u"Numero"_s, u"Item"_s});
    return t;
}

TEST(NextNumber, IsTheHighestPlusOneWithinItsScope)
{
    QTemporaryDir tmp;
    test::preparaPastaDeTeste(tmp.path());
    auto store = Store::open(tmp.filePath(u"dados.sqlite"_s), {pedidosTable()});
    store->db().exec(u"INSERT INTO Pedidos (Filial, Numero, Item, Serie) VALUES "
                     u"(1, 1, 1, 'A'), (1, 1, 2, 'A'), (1, 7, 1, NULL), (1, 8, 5, ''), "
                     u"(2, 3, 1, 'A'), (2, 3, 32767, 'B'), (3, 9, 1, 'A')"_s);
    const TableDef t = pedidosTable();
    const struct {
        const char* name;
        QString field;
        QStringList scope;
        QVariantList values;
        qint64 cap;
        qint64 expected;  // 0: refused
    } cases[] = {
        {"whole table", u"Numero"_s, {}, {}, 0, 10},
        {"per branch", u"Numero"_s, {u"Filial"_s}, {1}, 0, 9},
        {"per branch given as text", u"Numero"_s, {u"Filial"_s}, {u"2"_s}, 0, 4},
        {"a branch with no rows starts at 1", u"Numero"_s, {u"Filial"_s}, {4}, 0, 1},
        {"within a parent", u"Item"_s, {u"Filial"_s, u"Numero"_s}, {1, 1}, 0, 3},
        {"a parent with no items", u"Item"_s, {u"Filial"_s, u"Numero"_s}, {1, 2}, 0, 1},
        {"a blank scope value matches blank rows, empty text or none", u"Numero"_s,
         {u"Filial"_s, u"Serie"_s}, {1, QVariant()}, 0, 9},
        {"empty text is blank too", u"Numero"_s, {u"Filial"_s, u"Serie"_s}, {1, u""_s}, 0, 9},
        {"a filled scope value skips blank rows", u"Numero"_s, {u"Filial"_s, u"Serie"_s}, {1, u"A"_s}, 0, 2},
        {"below the cap", u"Numero"_s, {u"Filial"_s}, {3}, 10, 10},
        {"at the cap", u"Numero"_s, {u"Filial"_s}, {3}, 9, 0},
        {"the field's own range", u"Item"_s, {u"Filial"_s, u"Numero"_s}, {2, 3}, 0, 0},
        {"a cap above the field's range does not widen it", u"Item"_s, {u"Filial"_s, u"Numero"_s}, {2, 3},
         100000, 0},
        {"a text field has no numbers", u"Nome"_s, {}, {}, 0, 0},
        {"an unknown field", u"Numeros"_s, {}, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expected > 0) {
            EXPECT_EQ(nextNumber(store->db(), t, c.field, c.scope, c.values, c.cap), c.expected);
            continue;
        }
        try {
            nextNumber(store->db(), t, c.field, c.scope, c.values, c.cap);
            ADD_FAILURE() << "a number was given";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Refused);
        }
    }
}

}  // namespace
