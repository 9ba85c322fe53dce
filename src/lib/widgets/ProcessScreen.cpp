#include "ProcessScreen.h"

#include "ButtonRow.h"
#include "Messages.h"
#include "ResultadoExecucao.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

QString textoContagem(qint64 quantidade, const QString& singular, const QString& plural)
{
    if (quantidade <= 0)
        return {};
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    return brasil.toString(quantidade) + u' ' + (quantidade == 1 ? singular : plural);
}

QString ProcessScreen::nadaAProcessar() { return u"nada a processar"_s; }

ProcessScreen::ProcessScreen(const QString& name, const QString& caption, const QString& okName,
                             const QString& closeName, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(new QFormLayout), infos_(new QVBoxLayout), status_(new QLabel)
{
    setObjectName(name);
    setWindowTitle(caption);

    form_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);  // each box as wide as its mask
    status_->setObjectName(u"lbResultado"_s);
    auto* buttons = new ButtonRow(ButtonRow::Side::Right);
    ok_ = buttons->add(okName, u"OK"_s);
    close_ = buttons->add(closeName, u"Fechar"_s);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addLayout(infos_);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    EnterMovesFocus::install(this);
    connect(ok_, &QPushButton::clicked, this, &ProcessScreen::okClick);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

ProcessScreen::~ProcessScreen() = default;

FieldEdit* ProcessScreen::addParameter(const QString& label, const QString& name, FieldType type,
                                       const QString& editMask)
{
    auto* edit = new FieldEdit(FieldDef{name, type, 0, {}, false});
    if (!editMask.isEmpty())
        edit->setEditMask(editMask);
    addParameter(label, edit);
    actions_.nameField(name, label);
    return edit;
}

void ProcessScreen::addParameter(const QString& label, QWidget* widget)
{
    form_->addRow(label, widget);
    if (parameters_.isEmpty())
        widget->setFocus(Qt::OtherFocusReason);
    parameters_ << widget;
}

void ProcessScreen::addInfo(QWidget* widget) { infos_->addWidget(widget); }

QProgressBar* ProcessScreen::addProgressBar(const QString& name)
{
    progress_ = new QProgressBar;
    progress_->setObjectName(name);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    static_cast<QBoxLayout*>(layout())->insertWidget(layout()->indexOf(status_), progress_);
    return progress_;
}

bool ProcessScreen::refuseAt(QWidget* field)
{
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
    return false;
}

void ProcessScreen::progress(int done, int total)
{
    if (progress_) {
        progress_->setRange(0, std::max(total, 1));
        progress_->setValue(done);
    }
    betweenSteps();
}

void ProcessScreen::betweenSteps() { QCoreApplication::processEvents(); }

void ProcessScreen::okClick()
{
    if (running())
        return;
    bool checked = false;
    if (!actions_.guarded([&] { checked = check(); }) || !checked)
        return;
    if (!confirmation_.isEmpty() && !confirma(confirmation_))
        return;

    std::optional<QString> count;
    bool completed = false;
    {
        QList<QWidget*> controls = parameters_;
        controls << ok_ << close_;
        ExecucaoLonga::Escopo escopo(execucao_, controls);
        status_->clear();
        if (progress_)
            progress(0, 1);
        completed = actions_.guarded([&] { count = run(); }) && count.has_value();
    }
    if (completed) {
        const QString text = count->isEmpty() ? nadaAProcessar() : *count;
        status_->setText(text);
        // the menu's status bar keeps it long after the screen has closed:
        // it names the run
        mostraResultadoExecucao(windowTitle() + u": "_s + text);
    }
    actions_.guarded([&] { afterRun(completed); });
}

void ProcessScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        actions_.guarded([&] { openTables(); });
}

void ProcessScreen::closeEvent(QCloseEvent* event)
{
    // The run lets the window process its events between steps; the screen
    // stays until the run is over.
    if (execucao_.recusaFechar(event))
        return;
    actions_.guarded([&] { closeTables(); });
    QWidget::closeEvent(event);
}

}  // namespace pcp
