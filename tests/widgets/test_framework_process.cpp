// The process-screen base driven through a small screen whose check and run
// are the test's own: what runs after a refused check or a "Não", what an
// error leaves, and where the run's count is shown.
#include "DbError.h"
#include "ProcessScreen.h"
#include "ResultadoExecucao.h"
#include "ScriptedTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class Reprocessa : public ProcessScreen {
public:
    Reprocessa() : ProcessScreen(u"foReprocessa"_s, u"Reprocessamento"_s)
    {
        edMes = addParameter(u"Mês / Ano"_s, u"edMes"_s, FieldType::String, u"00/0000;0;_"_s);
        edCodigo = addParameter(u"Código"_s, u"edCodigo"_s, FieldType::Integer);
        addProgressBar(u"pbAndamento"_s);
    }
    using ProcessScreen::setConfirmation;

    bool check() override
    {
        if (edMes->fieldText().size() != 6) {
            mostraErro(u"Informe o Mês / Ano"_s);
            return refuseAt(edMes);
        }
        return true;
    }
    std::optional<QString> run() override
    {
        ++runs;
        for (int i = 0; i < steps; ++i) {
            during();
            progress(i + 1, steps);
        }
        if (!failure.isEmpty())
            throw DbError(failure);
        return textoContagem(steps, u"documento"_s, u"documentos"_s);
    }
    void afterRun(bool completed) override { completedRuns += completed ? 1 : 0; }

    FieldEdit* edMes;
    FieldEdit* edCodigo;
    int runs = 0;
    int completedRuns = 0;
    int steps = 3;
    QString failure;
    std::function<void()> during = [] {};
};

class FrameworkProcess : public test::ScriptedTest {
protected:
    FrameworkProcess() : menu_([this](const QString& texto) { statusBar = texto; }) {}

    Reprocessa screen;
    QString statusBar = u"(vazio)"_s;

private:
    ResultadoExecucaoScope menu_;
};

TEST_F(FrameworkProcess, ARefusedCheckOrANoRunsNothing)
{
    screen.setConfirmation(u"Confirma o reprocessamento?"_s);
    screen.show();

    screen.edCodigo->setFocus();
    script.expect(u"Informe o Mês / Ano"_s);
    screen.okClick();
    checkScript();
    EXPECT_EQ(screen.focusWidget(), screen.edMes) << "the field in error gets the focus";

    screen.edMes->setText(u"012005"_s);
    script.expect(u"Confirma o reprocessamento?"_s, MsgAnswer::No);
    screen.okClick();
    checkScript();

    EXPECT_EQ(screen.runs, 0);
    EXPECT_EQ(statusBar, u"(vazio)"_s);
    EXPECT_EQ(screen.statusLine()->text(), QString());
}

TEST_F(FrameworkProcess, TheCountGoesToTheStatusLineAndTheMenu)
{
    struct Case {
        int steps;
        QString shown;
    };
    for (const Case& c : {Case{3, u"3 documentos"_s}, Case{1, u"1 documento"_s}, Case{1234, u"1.234 documentos"_s},
                          Case{0, u"nada a processar"_s}}) {
        SCOPED_TRACE(c.steps);
        screen.steps = c.steps;
        screen.edMes->setText(u"012005"_s);
        screen.okClick();  // no confirmation declared: none asked
        EXPECT_EQ(screen.statusLine()->text(), c.shown);
        EXPECT_EQ(statusBar, u"Reprocessamento: "_s + c.shown) << "the menu's bar names the run";
        EXPECT_EQ(screen.progressBar()->value(), std::max(c.steps, 0));
    }
    EXPECT_EQ(screen.completedRuns, 4);
}

TEST_F(FrameworkProcess, DuringTheRunTheControlsAreDisabledAndTheWindowStays)
{
    screen.show();
    screen.edMes->setText(u"012005"_s);
    int seen = 0;
    screen.during = [&] {
        ++seen;
        EXPECT_TRUE(screen.running());
        for (QWidget* w : std::initializer_list<QWidget*>{screen.edMes, screen.edCodigo, screen.okButton(),
                                                          screen.closeButton()})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_FALSE(screen.close());
        screen.okClick();  // a second OK while running starts nothing
    };
    screen.okClick();
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(screen.runs, 1);
    EXPECT_FALSE(screen.running());
    EXPECT_TRUE(screen.okButton()->isEnabled());
    EXPECT_TRUE(screen.isVisible());
    EXPECT_TRUE(screen.close());
}

TEST_F(FrameworkProcess, AnErrorIsShownTheRunAbandonedAndTheControlsComeBack)
{
    screen.show();
    screen.edMes->setText(u"012005"_s);
    screen.okClick();
    ASSERT_EQ(screen.statusLine()->text(), u"3 documentos"_s);
    statusBar = u"(vazio)"_s;
    screen.failure = u"disk I/O error"_s;
    script.expect(u"disk I/O error"_s).icon = MsgIcon::Error;
    screen.okClick();
    checkScript();
    EXPECT_EQ(screen.runs, 2);
    EXPECT_EQ(screen.completedRuns, 1);
    EXPECT_EQ(statusBar, u"(vazio)"_s) << "an abandoned run reports no count";
    EXPECT_EQ(screen.statusLine()->text(), QString()) << "nor keeps the count of the run before";
    for (QWidget* w : std::initializer_list<QWidget*>{screen.edMes, screen.edCodigo, screen.okButton(),
                                                      screen.closeButton()})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(screen.running());
}

TEST_F(FrameworkProcess, EnterWalksTheParametersAndPressesOk)
{
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    screen.edMes->setFocus();
    QTest::keyClicks(screen.edMes, u"012005"_s);
    QTest::keyClick(screen.edMes, Qt::Key_Return);
    EXPECT_EQ(screen.focusWidget(), screen.edCodigo);
    QTest::keyClick(screen.edCodigo, Qt::Key_Return);
    ASSERT_EQ(screen.focusWidget(), screen.okButton());
    QTest::keyClick(screen.okButton(), Qt::Key_Return);
    EXPECT_EQ(screen.runs, 1);
}

}  // namespace
