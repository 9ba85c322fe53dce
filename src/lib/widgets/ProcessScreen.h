#pragma once
// The base of every process screen: parameter fields in a form, "OK" and
// "Fechar", an optional progress bar and a status line with what the last run
// did. OK runs, in this order: the screen's check (which shows its reason and
// puts the focus on the field in error), an optional confirmation, and the
// run itself, during which the controls are disabled and the window refuses
// to close. The run's count goes to the status line, and after the screen's
// caption to the menu window's status bar ("Baixa Estoque Materia Prima:
// 3 documentos"); an error of the run is shown and the run abandoned.
//
// A screen declares its fields in its constructor (addParameter), sets the
// question (setConfirmation) and implements check() and run(); the run itself
// is domain code the batch command calls too. See docs/screens.md.
#include "ExecucaoLonga.h"
#include "FieldEdit.h"
#include "ScreenActions.h"

#include <QWidget>
#include <functional>
#include <optional>

class QFormLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace pcp {

class ButtonRow;

// "1 documento", "1.234 documentos"; empty for none.
QString textoContagem(qint64 quantidade, const QString& singular, const QString& plural);

class ProcessScreen : public QWidget {
    Q_OBJECT
public:
    ~ProcessScreen() override;

    bool running() const { return execucao_.emAndamento(); }
    QPushButton* okButton() const { return ok_; }
    QPushButton* closeButton() const { return close_; }
    QProgressBar* progressBar() const { return progress_; }  // nullptr unless added
    QLabel* statusLine() const { return status_; }

    // What a run that found nothing to do reports.
    static QString nadaAProcessar();

public slots:
    void okClick();

protected:
    // `name` is the designer name; `okName` and `closeName` those of the two buttons.
    ProcessScreen(const QString& name, const QString& caption, const QString& okName = QStringLiteral("btOK"),
                  const QString& closeName = QStringLiteral("btFechar"), QWidget* parent = nullptr);

    // ---- declarations (constructor) -------------------------------------------
    // A parameter box of the form: a text (or date, number) typed by the user,
    // read back with fieldText()/value(). Its name is the designer name.
    FieldEdit* addParameter(const QString& label, const QString& name, FieldType type = FieldType::String,
                            const QString& editMask = {});
    // Any other parameter widget (a list, a check box), disabled while the run goes on.
    void addParameter(const QString& label, QWidget* widget);
    // Any other widget, below the parameters (progress texts, notes).
    void addInfo(QWidget* widget);
    // A progress bar (designer name `name`) above the status line.
    QProgressBar* addProgressBar(const QString& name);
    // The question asked after the check; none when empty (the default).
    void setConfirmation(const QString& question) { confirmation_ = question; }
    QFormLayout* parameterForm() const { return form_; }

    // ---- hooks -------------------------------------------------------------------
    // Checks the parameters: shows the reason and returns false (refuseAt()
    // puts the focus on the field in error) to run nothing.
    virtual bool check() = 0;
    // The run. Returns the count for the status line ("12 documentos"; empty
    // when there was nothing to process), or no value when the run gave up
    // after showing why. A thrown error is shown and the run abandoned.
    virtual std::optional<QString> run() = 0;
    // After the run: `completed` false when it was abandoned or gave up.
    virtual void afterRun(bool /*completed*/) {}
    virtual void openTables() {}   // on show
    virtual void closeTables() {}  // on close

    // ---- helpers -----------------------------------------------------------------
    // Focuses (and selects) a field the check refused; returns false.
    bool refuseAt(QWidget* field);
    // Progress between the run's steps: moves the bar and repaints the window.
    void progress(int done, int total);
    // Lets the window repaint (and answer the user) between steps; the guard
    // keeps the controls disabled meanwhile.
    void betweenSteps();
    const ScreenActions& actions() const { return actions_; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QList<QWidget*> parameters_;  // disabled while the run goes on
    QString confirmation_;
    ScreenActions actions_;
    ExecucaoLonga execucao_;
    QFormLayout* form_;
    QVBoxLayout* infos_;
    QLabel* status_;
    QPushButton* ok_ = nullptr;
    QPushButton* close_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace pcp
