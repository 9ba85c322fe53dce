#pragma once
// Screen tests: the screens of a test in a registry of its own, driven by the
// scenario runner, with every model of every window watched by the model
// tester; and a small company (temporary store, branch data module) under
// them. Header only: a test folder includes it when it links the screens.
#include "ModelTesters.h"
#include "ScenarioRunner.h"
#include "ScreenRegistry.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TDMFilial.h"

#include <QCoreApplication>
#include <QEvent>

namespace pcp::test {

// The registry and the runner, for a fixture that has its own store.
class ScreenHarness {
public:
    ScreenHarness()
    {
        screens.setCreatedHook([](QWidget* window) { ModelTesters::watchAll(window); });
        runner.setScreens(&screens);
    }
    ~ScreenHarness() { screens.destroyAll(); }
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // `confere-sql` reads this database.
    void useDatabase(Database& db) { runner.setDatabase(&db); }
    // Runs a script; a failure names its line and shows the script.
    bool run(const QString& script)
    {
        const bool ok = runner.run(script);
        EXPECT_TRUE(ok) << runner.error().toStdString() << "\n--- script ---\n" << script.toStdString();
        return ok;
    }
    // True while the screen has a live window.
    bool isOpen(const QString& name)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return screens.find(name) != nullptr;
    }

    ModelTesters models;
    ScreenRegistry screens;
    ScenarioRunner runner;
};

// A company of one branch (1) with the branch tables, the test's own tables
// (declareTables) and its screens (registerScreens).
class CompanyScreens : public ScriptedTest {
protected:
    virtual void declareTables(Catalog& catalog) = 0;
    virtual void registerScreens(ScreenRegistry& registry) = 0;

    void SetUp() override
    {
        declareBranchTables(catalog);
        declareTables(catalog);
        store = Store::openCompany(tmp.path(), catalog);
        dm = std::make_unique<TDMFilial>(store);
        setDMFilial(dm.get());
        sessao().FilialAtual = 1;
        registerScreens(ui.screens);
        ui.useDatabase(store->db());
    }
    void TearDown() override
    {
        ui.screens.destroyAll();
        setDMFilial(nullptr);
        ScriptedTest::TearDown();
    }

    bool run(const QString& script) { return ui.run(script); }
    void exec(const QString& text, const QVariantList& params = {})
    {
        store->db().prepare(text).bindList(params).run();
    }
    QVariant sql(const QString& text, const QVariantList& params = {})
    {
        return store->db().prepare(text).bindList(params).scalar();
    }

    Catalog catalog;
    std::shared_ptr<Store> store;
    std::unique_ptr<TDMFilial> dm;
    ScreenHarness ui;
    ScreenRegistry& screens = ui.screens;
};

}  // namespace pcp::test
