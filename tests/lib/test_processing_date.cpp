// The processing-date guard over the branch row and the module configuration rows.
#include "ScriptedTest.h"
#include "TDMFilial.h"

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class ProcessingDate : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        Catalog catalog;
        declareBranchTables(catalog);
        store = Store::open(tmp.filePath(u"dados.sqlite"_s), catalog.tables());
        dm = std::make_unique<TDMFilial>(store);
    }
    void setDates(const QDate& filial, const QDate& estoque)
    {
        auto& db = store->db();
        db.exec(u"DELETE FROM Filial; DELETE FROM Estoqcfg"_s);
        for (int f : {1, 2})  // branch 2 is closed much later and must not count
            db.prepare(u"INSERT INTO Filial (Filial, NOME, DATAPROCES) VALUES (?, 'F', ?)"_s)
                .bindList({f, f == 1 ? QVariant(filial) : QVariant(QDate(2099, 1, 1))})
                .run();
        db.prepare(u"INSERT INTO Estoqcfg (Filial, Data) VALUES (1, ?), (2, '2099-01-01')"_s)
            .bindList({estoque.isValid() ? QVariant(estoque) : QVariant()})
            .run();
        dm->openBranchTables();
        ASSERT_TRUE(dm->positionOn(1));
    }
    std::shared_ptr<Store> store;
    std::unique_ptr<TDMFilial> dm;
};

const QString kFilial = u"Lancamento menor que a data de processamento"_s;
const QString kEstoque = u"Lançamento no estoque menor que a data de processamento"_s;

TEST_F(ProcessingDate, EachClosedPeriodReportsItsOwnMessage)
{
    const QDate closed(2024, 5, 10);
    const struct {
        QDate filial, estoque, date;
        QStringList messages;
    } cases[] = {
        {closed, closed, closed.addDays(-1), {kFilial, kEstoque}},
        {closed, closed, closed, {}},
        {closed, QDate(), closed.addDays(-1), {kFilial}},
        {QDate(), closed, closed.addDays(-1), {kEstoque}},
        {QDate(), QDate(), QDate(1990, 1, 1), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date.toString(u"dd/MM/yyyy"_s).toStdString() + " " + std::to_string(c.messages.size()));
        setDates(c.filial, c.estoque);
        for (const QString& m : c.messages)
            script.expect(m);
        EXPECT_EQ(DataProcessamentoOk(u"ESTOQUE"_s, c.date, *dm), c.messages.isEmpty());
        checkScript();
    }
}

TEST_F(ProcessingDate, AccountingSkipsTheBranchDate)
{
    setDates(QDate(2024, 5, 10), QDate());
    store->db().exec(u"INSERT INTO CONTCFG (Filial, Data) VALUES (1, '2024-06-01')"_s);
    script.expect(u"Lançamento na contabilidade menor que a data de processamento"_s);
    EXPECT_FALSE(DataProcessamentoOk(u"CONTABILIDADE"_s, QDate(2024, 5, 1), *dm));
}

}  // namespace
