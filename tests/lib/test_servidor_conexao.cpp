// A workstation whose connection to the server is cut in the middle of a
// save: nothing of the save reaches the server and the user is told.
#include "ScriptedTest.h"
#include "TableRoutines.h"
#include "TestTables.h"
#include "Transaction.h"

#include <functional>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPerdida = u"A conexão com o servidor foi perdida; a gravação não foi feita"_s;

class ConexaoPerdida : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        store = Store::open(tmp.filePath(u"dados.sqlite"_s), {test::itensTable()});
        if (!store->onServer())
            GTEST_SKIP() << "only a server connection can be cut";
        store->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 1, 'original')"_s);
        // another workstation's view of the same schema
        outra = Store::open(tmp.filePath(u"dados.sqlite"_s));
    }
    // Ends the store's server session as an administrator (or a dead network) would.
    void cortaConexao()
    {
        const qint64 pid = store->db().prepare(u"SELECT pg_backend_pid()"_s).scalar().toLongLong();
        ASSERT_TRUE(outra->db().prepare(u"SELECT pg_terminate_backend(?, 10000)"_s).bindInt(1, pid).scalar().toBool());
    }
    QString linhas()
    {
        QStringList out;
        Statement st = outra->db().prepare(u"SELECT Codigo, Nome FROM Itens ORDER BY Codigo"_s);
        while (st.next())
            out << st.textValue(0) + u' ' + st.textValue(1);
        return out.join(u", "_s);
    }
    // The one message shown, which names what the server said after the program's own words.
    void confereAviso()
    {
        ASSERT_EQ(script.shown().size(), 1) << script.shown().join(u'\n').toStdString();
        EXPECT_TRUE(script.shown().first().contains(kPerdida)) << script.shown().first().toStdString();
        script.clear();  // the text after the program's own words is the server's
    }

    std::shared_ptr<Store> store;
    std::shared_ptr<Store> outra;
};

TEST_F(ConexaoPerdida, APostOfAnEditedRecordIsNotAppliedAndTheUserIsTold)
{
    TableCursor table(store, u"Itens"_s);
    table.open();
    ASSERT_TRUE(EditaRegistro(table));
    table.setValue(u"Nome"_s, u"alterado"_s);
    cortaConexao();
    EXPECT_FALSE(GravaRegistro(table));
    confereAviso();
    EXPECT_EQ(table.state(), TableCursor::State::Edit) << "the record stays in edit mode";
    EXPECT_EQ(linhas(), u"1 original"_s);
    table.cancel();
}

TEST_F(ConexaoPerdida, AMultiRowSaveCutHalfWayLeavesNothing)
{
    struct Caso {
        const char* nome;
        std::function<void(Database&)> antes;  // what was written before the cut
    };
    const Caso casos[] = {
        {"uma linha gravada", [](Database& db) {
             db.exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 2, 'segunda')"_s);
         }},
        {"uma linha alterada e outra gravada", [](Database& db) {
             db.exec(u"UPDATE Itens SET Nome = 'alterado' WHERE Codigo = 1"_s);
             db.exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 3, 'terceira')"_s);
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        store = Store::open(tmp.filePath(u"dados.sqlite"_s));
        bool falhou = false;
        try {
            Transaction tx(store->db());
            c.antes(store->db());
            cortaConexao();
            store->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 9, 'ultima')"_s);
            tx.commit();
        } catch (const DbError& e) {
            falhou = true;
            EXPECT_EQ(e.kind(), DbErrorKind::Connection) << e.message().toStdString();
        }
        EXPECT_TRUE(falhou);
        EXPECT_EQ(linhas(), u"1 original"_s);
    }
}

}  // namespace
