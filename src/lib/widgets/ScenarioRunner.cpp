#include "ScenarioRunner.h"

#include "Database.h"
#include "Messages.h"
#include "ScenarioWidgets.h"
#include "ScreenRegistry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <functional>
#include <initializer_list>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

using scenario::ScenarioError;
using scenario::Want;

namespace {

// A folded script word to its value; a word not in the table is the fallback.
template <typename E>
E wordValue(const QString& folded, std::initializer_list<std::pair<const char16_t*, E>> table, E fallback)
{
    for (const auto& [word, value] : table)
        if (folded == QStringView(word))
            return value;
    return fallback;
}

MsgAnswer answerOf(const QString& folded)
{
    return wordValue(folded, {{u"cancelar", MsgAnswer::Cancel}, {u"sim", MsgAnswer::Yes}, {u"nao", MsgAnswer::No}},
                     MsgAnswer::Ok);
}

MsgIcon iconOf(const QString& folded)
{
    return wordValue(folded,
                     {{u"nenhum", MsgIcon::None},
                      {u"aviso", MsgIcon::Warning},
                      {u"erro", MsgIcon::Error},
                      {u"pergunta", MsgIcon::Question}},
                     MsgIcon::Information);
}

MsgButtons buttonsOf(const QString& folded)
{
    return wordValue(folded,
                     {{u"okcancelar", MsgButtons::OkCancel},
                      {u"simnao", MsgButtons::YesNo},
                      {u"simnaocancelar", MsgButtons::YesNoCancel}},
                     MsgButtons::Ok);
}

// The failures `after` has that `before` had not (the service only adds
// failures and drops met expectations, so this is what the last call recorded).
QStringList added(const QStringList& before, QStringList after)
{
    for (const QString& f : before)
        after.removeOne(f);
    return after;
}

void expectEqual(const QString& what, const QString& actual, const QString& expected)
{
    if (actual != expected)
        throw ScenarioError{u"%1 mostra \"%2\"; esperado \"%3\""_s.arg(what, actual, expected)};
}

}  // namespace

namespace {

// Carries an action to the program through the application's event delivery,
// so an error the action's handlers leave uncaught meets the same general
// handler it would meet under the user's hand.
class ActionEvent : public QEvent {
public:
    static QEvent::Type type()
    {
        static const auto t = QEvent::Type(QEvent::registerEventType());
        return t;
    }
    explicit ActionEvent(std::function<void()> perform) : QEvent(type()), perform(std::move(perform)) {}
    std::function<void()> perform;
    std::exception_ptr mismatch;  // the runner's own failure, carried back past the delivery
};

class ActionTarget : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != ActionEvent::type())
            return QObject::event(e);
        auto* action = static_cast<ActionEvent*>(e);
        try {
            action->perform();
        } catch (const ScenarioError&) {
            action->mismatch = std::current_exception();
        }
        return true;
    }
};

}  // namespace

// One run of a script. Each step runs from a queued timer, so when an action
// opens a modal dialog (QDialog::exec) the next steps run inside the dialog's
// own event loop, and the action returns once a later step closes the dialog.
struct ScenarioRunner::Run : MessageService {
    struct Expected {
        int line;
        QString what;
        std::shared_ptr<bool> met;
    };
    struct Action {
        int line;
        QPointer<QWidget> modalAtStart;
        QElapsedTimer since;
    };

    ScenarioRunner& owner;
    std::vector<ScenarioStep> steps;
    std::size_t next = 0;
    int currentLine = 0;
    int lastActionLine = 0;
    int pendingTicks = 0;
    bool failed = false;
    bool finished = false;
    ScenarioFailure failure;
    ScriptedMessages script;
    QStringList shown;
    std::vector<Expected> expected;
    std::vector<Action> actions;  // actions whose call has not returned yet, innermost last
    QPointer<QWidget> window;     // the window chosen by `abre` or `janela`
    ActionTarget context;
    QEventLoop loop;

    Run(ScenarioRunner& owner, std::vector<ScenarioStep> steps) : owner(owner), steps(std::move(steps)) {}

    void fail(int line, const QString& text)
    {
        if (failed)
            return;
        failed = true;
        failure = {line, text};
    }

    void schedule(int ms)
    {
        ++pendingTicks;
        QTimer::singleShot(ms, &context, [this] {
            --pendingTicks;
            tick();
        });
    }

    QWidget* scope() const
    {
        if (QWidget* modal = QApplication::activeModalWidget())
            return modal;
        if (window && window->isVisible())
            return window;
        if (QWidget* active = QApplication::activeWindow())
            return active;
        // No window has the focus yet: the only one on screen, if there is one.
        QWidget* only = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup)
                continue;
            if (only)
                return nullptr;
            only = w;
        }
        return only;
    }

    void tick()
    {
        if (finished)
            return;
        if (failed)
            return finish();
        if (!actions.empty()) {
            // The innermost action is still running. Go on only if it is waiting
            // in a modal dialog it opened; otherwise wait for it to return.
            Action& a = actions.back();
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == a.modalAtStart) {
                if (a.since.elapsed() > owner.stepTimeout_) {
                    fail(a.line, u"a ação não terminou em %1 ms"_s.arg(owner.stepTimeout_));
                    return finish();
                }
                return schedule(1);
            }
        }
        for (const Expected& e : expected) {
            if (!*e.met && e.line < lastActionLine) {
                fail(lastActionLine, u"a mensagem esperada na linha %1 não apareceu: \"%2\""_s.arg(e.line).arg(e.what));
                return finish();
            }
        }
        if (next == steps.size())
            return finish();

        const ScenarioStep& step = steps[next++];
        currentLine = step.line;
        if (owner.log_)
            owner.log_(u"linha %1: %2"_s.arg(step.line).arg(step.source));
        try {
            execute(step);
        } catch (const ScenarioError& e) {
            fail(step.line, e.text);
        } catch (const std::exception& e) {
            fail(step.line, u"erro: "_s + QString::fromUtf8(e.what()));
        }
        if (failed)
            return finish();
        if (pendingTicks == 0 && !finished)
            schedule(0);
    }

    // Runs a step that works the program: the next tick is queued first, so
    // the script goes on if `perform` blocks in a modal dialog.
    template <typename F>
    void act(const ScenarioStep& step, F perform)
    {
        lastActionLine = step.line;
        actions.push_back({step.line, QApplication::activeModalWidget(), {}});
        actions.back().since.start();
        schedule(0);
        struct Pop {
            std::vector<Action>& actions;
            ~Pop() { actions.pop_back(); }
        } pop{actions};
        ActionEvent event{std::function<void()>(perform)};
        QCoreApplication::sendEvent(&context, &event);
        if (event.mismatch)
            std::rethrow_exception(event.mismatch);
    }

    // The line of the first step not executed yet; 0 when every step ran.
    int firstLineNotRun() const { return next < steps.size() ? steps[next].line : 0; }

    void stop(const QString& reason)
    {
        if (finished)
            return;
        if (const int line = firstLineNotRun())
            fail(line, reason);
        finish();
    }

    // After the run's loop ended under it (the program quit): what was left
    // of the script fails; there is no loop left to unwind in.
    void abandoned()
    {
        if (finished)
            return;
        if (const int line = firstLineNotRun())
            fail(line, u"o programa terminou antes desta linha"_s);
        conclude();
    }

    void execute(const ScenarioStep& s)
    {
        const QString& a0 = s.args.value(0);
        const QString& a1 = s.args.value(1);
        switch (s.kind) {
        case StepKind::Open: {
            ScreenRegistry* screens = owner.screens_ ? owner.screens_ : &ScreenRegistry::instance();
            if (!screens->contains(a0))
                throw ScenarioError{u"tela \"%1\" não registrada"_s.arg(a0)};
            QWidget* w = screens->create(a0);
            if (!w)
                throw ScenarioError{u"a tela \"%1\" não foi criada"_s.arg(a0)};
            window = w;
            act(s, [&] { screens->open(a0); });
            break;
        }
        case StepKind::Window:
            window = scenario::findWindow(a0);
            scenario::activate(window);
            break;
        case StepKind::Fill: {
            QWidget* w = scenario::findWidget(scope(), a0, Want::Field);
            act(s, [&] { scenario::fill(w, a0, a1); });
            break;
        }
        case StepKind::Click:
            act(s, [&] { scenario::click(scope(), a0); });
            break;
        case StepKind::Menu:
            act(s, [&] { scenario::triggerMenu(scope(), a0); });
            break;
        case StepKind::Key:
            act(s, [&] { scenario::pressKey(scope(), s.key); });
            break;
        case StepKind::Select: {
            QAbstractItemView* view = scenario::findView(scope(), a0);
            const int column = s.args.size() > 2 ? s.args[2].toInt() : 1;
            act(s, [&] { scenario::selectCell(view, a0, a1.toInt(), column); });
            break;
        }
        case StepKind::ExpectMessage: {
            auto met = std::make_shared<bool>(false);
            auto& e = script.expect(a0, answerOf(s.answer.value_or(u"ok"_s)));
            e.caption = s.caption;
            if (s.icon)
                e.icon = iconOf(*s.icon);
            if (s.buttons)
                e.buttons = buttonsOf(*s.buttons);
            e.before = [met] { *met = true; };
            expected.push_back({s.line, a0, met});
            break;
        }
        case StepKind::ExpectInput: {
            auto met = std::make_shared<bool>(false);
            auto& e = script.expectInput(a0, s.cancel ? std::nullopt : s.answer);
            e.before = [met] { *met = true; };
            expected.push_back({s.line, a0, met});
            break;
        }
        case StepKind::CheckText:
            expectEqual(u"\"%1\""_s.arg(a0), scenario::shownText(scenario::findWidget(scope(), a0, Want::Any), a0), a1);
            break;
        case StepKind::CheckTitle: {
            QWidget* w = scope();
            if (!w)
                throw ScenarioError{u"nenhuma janela aberta"_s};
            expectEqual(u"o título da janela"_s, w->windowTitle(), a0);
            break;
        }
        case StepKind::CheckCell: {
            QAbstractItemView* view = scenario::findView(scope(), a0);
            expectEqual(u"a célula %1/%2 de \"%3\""_s.arg(a1, s.args[2], a0),
                        scenario::cellText(view, a0, a1.toInt(), s.args[2]), s.args[3]);
            break;
        }
        case StepKind::CheckRows: {
            const int rows = scenario::rowCount(scenario::findView(scope(), a0));
            if (rows != s.number)
                throw ScenarioError{u"a grade \"%1\" tem %2 linha(s); esperado %3"_s.arg(a0).arg(rows).arg(s.number)};
            break;
        }
        case StepKind::CheckState:
            if (!scenario::hasState(scenario::findWidget(scope(), a0, Want::Any), a0, a1))
                throw ScenarioError{u"\"%1\" não está %2"_s.arg(a0, a1)};
            break;
        case StepKind::CheckSql: {
            if (!owner.sql_)
                throw ScenarioError{u"o roteiro não tem acesso ao banco de dados"_s};
            QVariant value;
            try {
                value = owner.sql_(a0);
            } catch (const std::exception& e) {
                throw ScenarioError{u"erro na consulta: "_s + QString::fromUtf8(e.what())};
            }
            expectEqual(u"a consulta"_s, value.isNull() ? QString() : value.toString(), a1);
            break;
        }
        case StepKind::Wait:
            lastActionLine = s.line;
            schedule(s.number);
            break;
        case StepKind::Close: {
            QWidget* w = s.args.isEmpty() ? scope() : scenario::findWindow(a0);
            if (!w)
                throw ScenarioError{u"nenhuma janela para fechar"_s};
            act(s, [&] { w->close(); });
            break;
        }
        }
    }

    void finish()
    {
        if (finished)
            return;
        conclude();
        QTimer::singleShot(0, &context, [this] { unwind(); });
    }

    // The checks of the script's end.
    void conclude()
    {
        if (!failed) {
            for (const Expected& e : expected)
                if (!*e.met)
                    fail(e.line, u"a mensagem esperada não apareceu: \"%1\""_s.arg(e.what));
        }
        if (!failed) {
            if (QWidget* modal = QApplication::activeModalWidget())
                fail(currentLine, u"o roteiro terminou com a janela \"%1\" aberta"_s.arg(modal->windowTitle()));
        }
        finished = true;
        script.clear();
    }

    // Closes what a failed script left modal, and waits for every action
    // call to return before the run ends.
    void unwind()
    {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            if (modal->isVisible())
                modal->hide();
            QTimer::singleShot(1, &context, [this] { unwind(); });
            return;
        }
        if (!actions.empty()) {
            QTimer::singleShot(1, &context, [this] { unwind(); });
            return;
        }
        loop.quit();
    }

    // After the end, messages are answered "no" and not checked.
    MsgAnswer show(const Message& message) override
    {
        shown << describe(message);
        if (finished) {
            ScriptedMessages quiet;
            return quiet.show(message);
        }
        const QStringList before = script.failures();
        const MsgAnswer answer = script.show(message);
        if (const QStringList now = added(before, script.failures()); !now.isEmpty())
            fail(currentLine, now.front());
        return answer;
    }

    std::optional<QString> input(const InputRequest& request) override
    {
        shown << request.caption + u" / "_s + request.prompt;
        if (finished)
            return std::nullopt;
        const QStringList before = script.failures();
        std::optional<QString> answer = script.input(request);
        if (const QStringList now = added(before, script.failures()); !now.isEmpty())
            fail(currentLine, now.front());
        return answer;
    }
};

ScenarioRunner::ScenarioRunner(ScreenRegistry* screens) : screens_(screens) {}
ScenarioRunner::~ScenarioRunner() = default;

void ScenarioRunner::setScreens(ScreenRegistry* screens) { screens_ = screens; }
void ScenarioRunner::setSqlScalar(SqlScalar query) { sql_ = std::move(query); }

void ScenarioRunner::setDatabase(Database* db)
{
    if (!db) {
        sql_ = nullptr;
        return;
    }
    sql_ = [db](const QString& sql) { return db->prepare(sql).scalar(); };
}

void ScenarioRunner::setLog(std::function<void(const QString&)> log) { log_ = std::move(log); }
void ScenarioRunner::setStepTimeout(int milliseconds) { stepTimeout_ = milliseconds; }

bool ScenarioRunner::run(const QString& scriptText, QString* error)
{
    failure_ = {};
    shown_.clear();
    ScenarioFailure syntax;
    std::optional<std::vector<ScenarioStep>> steps = parseScenario(scriptText, &syntax);
    if (!steps) {
        failure_ = syntax;
    } else {
        Run run(*this, std::move(*steps));
        current_ = &run;
        {
            MessageServiceScope scope(run);
            run.schedule(0);
            run.loop.exec();
            run.abandoned();
        }
        current_ = nullptr;
        failure_ = run.failure;
        shown_ = run.shown;
    }
    if (error)
        *error = this->error();
    return failure_.text.isEmpty();
}

bool ScenarioRunner::runFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure_ = {0, u"não foi possível ler o roteiro %1: %2"_s.arg(path, file.errorString())};
        shown_.clear();
        if (error)
            *error = this->error();
        return false;
    }
    return run(QString::fromUtf8(file.readAll()), error);
}

void ScenarioRunner::stop(const QString& reason)
{
    if (current_)
        current_->stop(reason);
}

const ScenarioFailure& ScenarioRunner::failure() const { return failure_; }
QString ScenarioRunner::error() const { return failure_.text.isEmpty() ? QString() : failure_.toString(); }
QStringList ScenarioRunner::shownMessages() const { return shown_; }

}  // namespace pcp
