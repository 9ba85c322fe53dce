#pragma once
// A company with the client tables and the client data module open on it.
#include "CliforTables.h"
#include "ScriptedTest.h"
#include "TDMClifor.h"

#include <QVariantMap>

namespace pcp::test {

class CliforFixture : public ScriptedTest {
protected:
    void SetUp() override
    {
        Catalog c;
        declareClientTables(c);
        store = Store::openCompany(tmp.path(), c);
        dm = std::make_unique<TDMClifor>(store);
        dm->openAll();
    }
    void TearDown() override
    {
        dm.reset();
        ScriptedTest::TearDown();
    }

    Database& db() { return store->db(); }

    // Inserts a row of any table with the given fields.
    void insere(const QString& table, const QVariantMap& fields)
    {
        TableCursor t(store, table);
        t.open();
        t.insert();
        for (auto it = fields.begin(); it != fields.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }

    // The rows of a query, each as its columns joined by "|" (NULL as "<null>").
    QStringList linhas(const QString& sql, const QVariantList& params = {})
    {
        Statement st = db().prepare(sql);
        st.bindList(params);
        QStringList out;
        while (st.next()) {
            QStringList cols;
            for (int i = 0; i < st.columnCount(); ++i)
                cols << (st.isNull(i) ? QStringLiteral("<null>") : st.textValue(i));
            out << cols.join(u'|');
        }
        return out;
    }

    std::shared_ptr<Store> store;
    std::unique_ptr<TDMClifor> dm;
};

}  // namespace pcp::test
