// The packaging tables: the code the catalogue gives a new packaging, the
// check for a product's packaging, and the weights a row may hold.
#include "EmbalagemTables.h"
#include "ScriptedTest.h"

#include <optional>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class EmbalagemTables : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        declarePackagingTables(catalog);
        store = Store::openCompany(tmp.path(), catalog);
    }
    void addPackaging(int codigo)
    {
        store->db().prepare(u"INSERT INTO EMBALAGE (Codigo, Descricao) VALUES (?, ?)"_s)
            .bindList({codigo, u"Embalagem %1"_s.arg(codigo)})
            .run();
    }
    void addProductPackaging(qint64 codReduz, int codigo)
    {
        store->db().prepare(u"INSERT INTO EmbProd (Cod_Reduz, Codigo) VALUES (?, ?)"_s).bindList({codReduz, codigo}).run();
    }

    Catalog catalog;
    std::shared_ptr<Store> store;
};

TEST_F(EmbalagemTables, NextCodeIsTheHighestPlusOneUntilTheLargestSixteenBitCode)
{
    struct Case {
        const char* name;
        QList<int> existing;
        std::optional<int> next;
    };
    const Case cases[] = {
        {"empty catalogue", {}, 1},
        {"gap after 2 is not reused", {1, 2, 7}, 8},
        {"inserted out of order", {7, 1, 2}, 8},
        {"one below the largest", {32766}, 32767},
        {"largest code taken", {5, 32767}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store->db().prepare(u"DELETE FROM EMBALAGE"_s).run();
        for (int codigo : c.existing)
            addPackaging(codigo);
        EXPECT_EQ(nextPackagingCode(store->db()), c.next);
    }
}

TEST_F(EmbalagemTables, ProductPackagingIsFoundOnlyForItsOwnProductAndCode)
{
    addProductPackaging(10, 1);
    addProductPackaging(20, 2);
    struct Case {
        qint64 codReduz;
        qint64 codigo;
        bool exists;
    };
    for (const Case& c : {Case{10, 1, true}, Case{20, 2, true}, Case{10, 2, false}, Case{20, 1, false},
                          Case{30, 1, false}}) {
        SCOPED_TRACE(QString(u"%1/%2"_s.arg(c.codReduz).arg(c.codigo)).toStdString());
        EXPECT_EQ(productHasPackaging(store->db(), c.codReduz, c.codigo), c.exists);
    }
}

TEST_F(EmbalagemTables, NegativeWeightsAreRefusedInBothTables)
{
    struct Case {
        QVariant liquido;
        QVariant embalagem;
        QString problem;
    };
    const Case cases[] = {
        {QVariant(), QVariant(), {}},
        {0.0, 0.0, {}},
        {18.5, 0.45, {}},
        {-0.01, 1.0, u"O peso líquido não pode ser negativo!"_s},
        {1.0, -2.0, u"O peso da embalagem não pode ser negativo!"_s},
    };
    for (const QString& table : {u"EMBALAGE"_s, u"EmbProd"_s}) {
        TableCursor t(store, table);
        t.open();
        for (const Case& c : cases) {
            SCOPED_TRACE(QString(table + u" "_s + c.liquido.toString() + u"/"_s + c.embalagem.toString()).toStdString());
            t.insert();
            t.setValue(u"Peso_Liq"_s, c.liquido);
            t.setValue(u"Peso_Embal"_s, c.embalagem);
            EXPECT_EQ(packagingWeightsProblem(t), c.problem);
            t.cancel();
        }
    }
}

TEST_F(EmbalagemTables, ProductPackagingKeyRefusesASecondRowForTheSamePair)
{
    // The check before the weights are typed has the key behind it, for a row
    // another workstation saved meanwhile.
    addProductPackaging(10, 1);
    addProductPackaging(11, 1);
    addProductPackaging(10, 2);
    EXPECT_THROW(addProductPackaging(10, 1), DbError);
    EXPECT_EQ(store->db().prepare(u"SELECT count(*) FROM EmbProd"_s).scalar().toInt(), 3);
}

}  // namespace
