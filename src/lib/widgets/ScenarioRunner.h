#pragma once
// Drives real screens from a script: opens screens of the registry, fills
// fields and clicks buttons by component name or caption, answers the
// program's messages and checks what the windows show and what the store
// holds. The first mismatch stops the script. docs/scenario-runner.md
// describes the script.
//
//   ScenarioRunner runner;
//   runner.setDatabase(&db);
//   if (!runner.run(script)) qWarning() << runner.error();   // "linha 7: ..."
#include "ScenarioScript.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace pcp {

class Database;
class ScreenRegistry;

class ScenarioRunner {
public:
    // nullptr: the program's registry (ScreenRegistry::instance()).
    explicit ScenarioRunner(ScreenRegistry* screens = nullptr);
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    void setScreens(ScreenRegistry* screens);
    // What `confere-sql` asks: the first column of the first row (a null
    // QVariant for NULL or no row). It may throw std::exception on an error.
    using SqlScalar = std::function<QVariant(const QString& sql)>;
    void setSqlScalar(SqlScalar query);
    // Shorthand: `confere-sql` runs on this store.
    void setDatabase(Database* db);
    // Receives "linha N: <step>" before each step runs.
    void setLog(std::function<void(const QString&)> log);
    // How long one action may keep the runner waiting outside a modal dialog.
    void setStepTimeout(int milliseconds);

    // Runs the script to its end or its first failure; true on success.
    // Messages go to a scripted service for the duration of the run. A run
    // whose event loop is ended under it (the program quit) fails at the
    // first step it did not execute.
    bool run(const QString& scriptText, QString* error = nullptr);
    // The same with the text of a UTF-8 file.
    bool runFile(const QString& path, QString* error = nullptr);

    // Ends the run in progress (the program under it has ended): a step not
    // yet executed makes it fail at that step's line with `reason`; a script
    // already at its end finishes as usual. Nothing happens outside a run.
    void stop(const QString& reason);

    // The first failure of the last run (line 0 and empty text after a success).
    const ScenarioFailure& failure() const;
    // failure() as "linha N: text"; empty after a success.
    QString error() const;
    // Every message the last run showed, as "caption: text".
    QStringList shownMessages() const;

private:
    struct Run;
    Run* current_ = nullptr;
    ScreenRegistry* screens_;
    SqlScalar sql_;
    std::function<void(const QString&)> log_;
    int stepTimeout_ = 30000;
    ScenarioFailure failure_;
    QStringList shown_;
};

}  // namespace pcp
