// The general handler: an error no routine caught becomes an error box and the
// program goes on.
#include "AplicacaoPcp.h"
#include "DbError.h"
#include "ScriptedTest.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class ErroGeral : public test::ScriptedTest {};

TEST_F(ErroGeral, AnUncaughtErrorIsShownAndTheActionAbandoned)
{
    struct Caso {
        const char* nome;
        std::function<void()> falha;
        QString texto;
    };
    const Caso casos[] = {
        {"DbError", [] { throw DbError(u"Registro excluído por outro usuário"_s, DbErrorKind::RecordGone); },
         u"Registro excluído por outro usuário"_s},
        {"std::exception", [] { throw std::runtime_error("disco cheio"); }, u"disco cheio"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QPushButton botao;
        int depois = 0;
        QObject::connect(&botao, &QPushButton::clicked, [&] {
            c.falha();
            ++depois;
        });
        script.expect(c.texto).icon = MsgIcon::Error;
        EXPECT_FALSE(comTratamentoGeral([&] {
            botao.click();
            return true;
        }));
        EXPECT_EQ(depois, 0) << "the rest of the handler is abandoned";
        checkScript();
    }
    // nothing thrown: the delivery's own answer, and no message
    EXPECT_TRUE(comTratamentoGeral([] { return true; }));
}

}  // namespace
