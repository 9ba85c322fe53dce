#pragma once
// A small company with the tinting catalogues and the product table, the
// branch data module on it, and the two registers in a registry of the
// test's own, driven through the scenario runner.
#include "EstpromaTable.h"
#include "MatizadorTables.h"
#include "ScenarioRunner.h"
#include "ScreenRegistry.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TDMFilial.h"
#include "TintingScreens.h"

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

class TintingCompany : public ScriptedTest {
protected:
    void SetUp() override
    {
        declareBranchTables(catalog);
        declareTintingTables(catalog);
        catalog.add(estpromaTable());
        store = Store::openCompany(tmp.path(), catalog);
        dm = std::make_unique<TDMFilial>(store);
        setDMFilial(dm.get());
        sessao().FilialAtual = 1;
        registerTintingScreens(screens);
        runner.setScreens(&screens);
        runner.setDatabase(&store->db());
    }
    void TearDown() override
    {
        screens.destroyAll();
        setDMFilial(nullptr);
        ScriptedTest::TearDown();
    }

    // Runs a script; a failure names its line.
    bool run(const QString& script)
    {
        const bool ok = runner.run(script);
        EXPECT_TRUE(ok) << runner.error().toStdString() << "\n--- script ---\n" << script.toStdString();
        return ok;
    }
    void exec(const QString& sql, const QVariantList& params = {})
    {
        store->db().prepare(sql).bindList(params).run();
    }
    QVariant sql(const QString& text) { return store->db().prepare(text).scalar(); }
    // "code:name" of every row of a catalogue, in code order.
    QString listing(const QString& table)
    {
        return sql(u"SELECT group_concat(Codigo || ':' || coalesce(Nome, ''), ',') FROM "
                   u"(SELECT Codigo, Nome FROM %1 ORDER BY Codigo)"_s.arg(table))
            .toString();
    }

    Catalog catalog;
    std::shared_ptr<Store> store;
    std::unique_ptr<TDMFilial> dm;
    ScreenRegistry screens;
    ScenarioRunner runner;
};

}  // namespace pcp::test
