// How a screen words an error: a field named by its label wherever the table
// layer or an edit names it by its name, and nothing else of the text touched.
#include "DbError.h"
#include "ScreenActions.h"

#include <gtest/gtest.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(ScreenActions, AFieldIsNamedByItsLabel)
{
    ScreenActions actions;
    actions.nameField(u"Peso_Liq"_s, u"Peso &Liquido:"_s);
    actions.nameField(u"Peso"_s, u"Peso Bruto"_s);
    actions.nameField(u"Nome"_s, u"Nome"_s);
    struct Case {
        QString engine;
        QString shown;
    };
    const Case cases[] = {
        {u"'abc' não é um número válido (campo Peso_Liq)"_s, u"'abc' não é um número válido (campo Peso Liquido)"_s},
        {u"O campo PESO_LIQ deve ser preenchido"_s, u"O campo Peso Liquido deve ser preenchido"_s},
        // a longer name that starts with a named one is another field
        {u"O campo Peso_Liq2 deve ser preenchido"_s, u"O campo Peso_Liq2 deve ser preenchido"_s},
        {u"O campo Peso deve ser preenchido"_s, u"O campo Peso Bruto deve ser preenchido"_s},
        // the name elsewhere in the text is not a field reference
        {u"Peso_Liq acima do limite"_s, u"Peso_Liq acima do limite"_s},
        {u"O texto \"Ana\" excede o tamanho do campo Nome (2 caracteres)"_s,
         u"O texto \"Ana\" excede o tamanho do campo Nome (2 caracteres)"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.engine.toStdString());
        EXPECT_EQ(actions.describe(DbError(c.engine, DbErrorKind::Refused)), c.shown);
    }
}

}  // namespace
