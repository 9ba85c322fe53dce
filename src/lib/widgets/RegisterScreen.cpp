#include "RegisterScreen.h"

#include "ButtonRow.h"
#include "Formats.h"
#include "Messages.h"
#include "NextNumber.h"
#include "TableRoutines.h"
#include "WindowPlacement.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFormLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace pcp {


RegisterScreen::RegisterScreen(const QString& name, const QString& caption, Layout layout, QWidget* parent)
    : QWidget(parent, Qt::Window), layout_(layout), deleteQuestion_(u"Confirma eliminação deste registro ?"_s)
{
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);  // long-lived screens are closed, not destroyed

    model_ = new CursorTableModel(this);
    grid_ = new QTableView;
    grid_->setObjectName(u"grid"_s);
    setUpGrid(*grid_, *model_);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChanged(current.row()); });

    listTools_ = new QHBoxLayout;
    entryForm_ = new QFormLayout;
    entryForm_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    entryForm_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);

    btIncluir_ = pcp::makeButton(u"btIncluir"_s, u"Incluir"_s);
    btAlterar_ = pcp::makeButton(u"btAlterar"_s, u"Alterar"_s);
    btExcluir_ = pcp::makeButton(u"btExcluir"_s, u"Excluir"_s);
    btFechar_ = pcp::makeButton(u"btFechar"_s, u"Fechar"_s);
    botaoGravar_ = pcp::makeButton(u"BotaoGravar"_s, u"Gravar"_s);
    botaoCancelar_ = pcp::makeButton(u"BotaoCancelar"_s, u"Cancelar"_s);
    connect(btIncluir_, &QPushButton::clicked, this, &RegisterScreen::btIncluirClick);
    connect(btAlterar_, &QPushButton::clicked, this, &RegisterScreen::btAlterarClick);
    connect(btExcluir_, &QPushButton::clicked, this, &RegisterScreen::btExcluirClick);
    connect(btFechar_, &QPushButton::clicked, this, &RegisterScreen::btFecharClick);
    connect(botaoGravar_, &QPushButton::clicked, this, &RegisterScreen::BotaoGravarClick);
    connect(botaoCancelar_, &QPushButton::clicked, this, &RegisterScreen::BotaoCancelarClick);

    auto* outer = new QVBoxLayout(this);
    auto* form = new QWidget;
    form->setLayout(entryForm_);
    if (layout_ == Layout::TwoPages) {
        listPage_ = new QWidget;
        listPage_->setObjectName(u"listPage"_s);
        auto* list = new QVBoxLayout(listPage_);
        list->addLayout(listTools_);
        list->addWidget(grid_, 1);
        listButtons_ = new ButtonRow;
        list->addLayout(listButtons_);

        entryPage_ = new QWidget;
        entryPage_->setObjectName(u"entryPage"_s);
        auto* entry = new QVBoxLayout(entryPage_);
        entry->addWidget(form);
        entry->addStretch(1);
        entryButtons_ = new ButtonRow;
        entry->addLayout(entryButtons_);

        pages_ = new QTabWidget;
        pages_->setObjectName(u"pages"_s);
        pages_->addTab(listPage_, u"Lista"_s);
        pages_->addTab(entryPage_, u"Cadastro"_s);
        outer->addWidget(pages_);
        for (QPushButton* b : {btIncluir_, btAlterar_, btExcluir_, btFechar_})
            listButtons_->place(b);
        for (QPushButton* b : {botaoGravar_, botaoCancelar_})
            entryButtons_->place(b);
    } else {
        entryPanel_ = form;
        entryPanel_->setObjectName(u"entryPanel"_s);
        registerPage_ = new QWidget;
        registerPage_->setObjectName(u"registerPage"_s);
        auto* page = new QVBoxLayout(registerPage_);
        page->setContentsMargins(0, 0, 0, 0);
        page->addLayout(listTools_);
        page->addWidget(grid_, 1);
        page->addWidget(entryPanel_);
        listButtons_ = entryButtons_ = new ButtonRow;
        page->addLayout(listButtons_);
        outer->addWidget(registerPage_);
        for (QPushButton* b : {btIncluir_, btAlterar_, btExcluir_, botaoGravar_, botaoCancelar_, btFechar_})
            listButtons_->place(b);
    }

    EnterMovesFocus::install(this);
    showList();
}

RegisterScreen::~RegisterScreen() = default;

QPushButton* RegisterScreen::addButton(const QString& name, const QString& caption, bool onListPage)
{
    if (onListPage)
        return listButtons_->insertBefore(btFechar_, name, caption);
    return entryButtons_->add(name, caption);
}

// ---- declarations ---------------------------------------------------------------

void RegisterScreen::setTable(TableCursor* table)
{
    table_ = table;
    if (!queryGrid_)
        model_->setCursor(table);
}

void RegisterScreen::setGridColumns(const QList<GridColumn>& columns)
{
    model_->setColumns(columns);
    setUpGrid(*grid_, *model_);
    if (!queryGrid_)
        model_->setCursor(table_);
}

void RegisterScreen::setGridQuery(const QString& sql, const QVariantList& params, const QList<GridColumn>& columns,
                                  const QStringList& linkFields)
{
    if (!table_)
        throw DbError(u"A consulta da grade pede a tabela da tela (setTable)"_s);
    queryGrid_ = true;
    model_->setColumns(columns);
    model_->setLinkFields(linkFields.isEmpty() ? table_->def().primaryKey() : linkFields);
    setUpGrid(*grid_, *model_);
    gridSql_ = sql;
    gridParams_ = params;
    if (open_)
        refreshGrid();  // otherwise read when the screen opens
}

FieldEdit* RegisterScreen::addField(const QString& label, const QString& field, FieldAccess access,
                                    const QString& editMask)
{
    const FieldDef* def = table_ ? table_->def().findField(field) : nullptr;
    if (!def)
        throw DbError(u"Campo %1 nao encontrado na tabela da tela"_s.arg(field));
    auto* edit = new FieldEdit(*def);
    edit->setAccess(access);
    if (!editMask.isEmpty())
        edit->setEditMask(editMask);
    addField(label, edit);
    return edit;
}

void RegisterScreen::addField(const QString& label, BoundField* field, QWidget* beside)
{
    QWidget* w = field->widget();
    auto* caption = new QLabel(label);
    caption->setBuddy(w);
    QWidget* last = w;  // where Tab goes on to the next field
    if (beside) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(w);
        row->addWidget(beside);
        row->addStretch(1);
        entryForm_->addRow(caption, row);
        QWidget::setTabOrder(w, beside);
        last = beside;
    } else {
        entryForm_->addRow(caption, w);
    }
    actions_.nameField(field->fieldName(), label);
    // Tab and Enter go through the fields in the order they were added, then to "Gravar".
    if (lastInOrder_)
        QWidget::setTabOrder(lastInOrder_, w);
    QWidget::setTabOrder(last, botaoGravar_);
    QWidget::setTabOrder(botaoGravar_, botaoCancelar_);
    lastInOrder_ = last;
    fields_ << field;
}

void RegisterScreen::addEntryPage(QWidget* page, const QString& title)
{
    if (!pages_)
        return;
    pages_->addTab(page, title);
    extraEntryPages_ << page;
    pages_->setTabVisible(pages_->indexOf(page), editing());
}

void RegisterScreen::setEntryTitle(const QString& title)
{
    if (pages_)
        pages_->setTabText(pages_->indexOf(entryPage_), title);
}

QTabWidget* RegisterScreen::placeOnPage(QWidget* leading, const QString& leadingTitle, const QString& title)
{
    if (!registerPage_ || registerPage_->parentWidget() != this)
        return nullptr;  // TwoPages has its own pages; a second call finds the register placed
    auto* tabs = new QTabWidget;
    tabs->setObjectName(u"pages"_s);
    layout()->replaceWidget(registerPage_, tabs);
    registerPage_->layout()->setContentsMargins(style()->pixelMetric(QStyle::PM_LayoutLeftMargin),
                                                style()->pixelMetric(QStyle::PM_LayoutTopMargin),
                                                style()->pixelMetric(QStyle::PM_LayoutRightMargin),
                                                style()->pixelMetric(QStyle::PM_LayoutBottomMargin));
    tabs->addTab(leading, leadingTitle);
    tabs->addTab(registerPage_, title);
    return tabs;
}

// ---- states ------------------------------------------------------------------------

bool RegisterScreen::hasRecord() const
{
    return table_ && table_->active() && grid_->currentIndex().isValid();
}

void RegisterScreen::updateStates()
{
    const bool browsing = !editing();
    btIncluir_->setEnabled(browsing && table_ && table_->active());
    btAlterar_->setEnabled(browsing && hasRecord());
    btExcluir_->setEnabled(browsing && hasRecord());
    btFechar_->setEnabled(browsing);
    botaoGravar_->setEnabled(!browsing);
    botaoCancelar_->setEnabled(!browsing);
    grid_->setEnabled(browsing);
    if (entryPanel_)
        entryPanel_->setEnabled(!browsing);
    applyFieldAccess();
}

void RegisterScreen::applyFieldAccess()
{
    for (BoundField* f : fields_)
        f->widget()->setEnabled(f->access() != FieldAccess::InsertOnly || mode_ != u"A"_s);
}

void RegisterScreen::enterEntry(const QString& mode)
{
    mode_ = mode;
    loadFields();
    if (pages_) {
        const int entry = pages_->indexOf(entryPage_);
        pages_->setTabVisible(entry, true);
        for (QWidget* page : extraEntryPages_)
            pages_->setTabVisible(pages_->indexOf(page), true);
        pages_->setCurrentIndex(entry);
        pages_->setTabVisible(pages_->indexOf(listPage_), false);
    }
    updateStates();
    focusFirstField();
}

void RegisterScreen::showList()
{
    mode_.clear();
    if (pages_) {
        const int list = pages_->indexOf(listPage_);
        pages_->setTabVisible(list, true);
        pages_->setCurrentIndex(list);
        pages_->setTabVisible(pages_->indexOf(entryPage_), false);
        for (QWidget* page : extraEntryPages_)
            pages_->setTabVisible(pages_->indexOf(page), false);
    }
    updateStates();
}

void RegisterScreen::leaveEntry()
{
    showList();
    if (!open_)
        return;
    refreshGrid();
    grid_->setFocus();
}

void RegisterScreen::focusFirstField()
{
    QWidget* first = firstField_;
    for (qsizetype i = 0; !first && i < fields_.size(); ++i) {
        QWidget* w = fields_[i]->widget();
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            first = w;
    }
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

void RegisterScreen::loadFields()
{
    if (!table_)
        return;
    for (BoundField* f : fields_)
        f->load(*table_);
}

void RegisterScreen::refreshGrid()
{
    if (!table_ || !table_->active())
        return;
    if (table_->state() == TableCursor::State::Browse)
        table_->refresh();
    if (queryGrid_)
        model_->setQuery(table_->storePtr(), gridSql_, gridParams_, table_->def());
    else
        model_->refresh();
    showTableRecord();
}

void RegisterScreen::showTableRecord()
{
    const int own = table_ && table_->active() ? model_->rowOf(*table_) : -1;
    if (own >= 0) {
        syncing_ = true;
        grid_->setCurrentIndex(model_->index(own, 0));
        syncing_ = false;
        if (entryPanel_ && !editing())
            loadFields();
        updateStates();
    } else {
        selectGridRow(0);  // the table's record is not listed: follow the grid's first row
    }
}

void RegisterScreen::selectGridRow(int row)
{
    if (row >= model_->rowCount())
        row = model_->rowCount() - 1;
    syncing_ = true;
    grid_->setCurrentIndex(row >= 0 ? model_->index(row, 0) : QModelIndex());
    syncing_ = false;
    if (row < 0 && entryPanel_ && !editing())
        loadFields();  // nothing listed: the panel shows a blank record
    gridRowChanged(row);
    updateStates();
}

void RegisterScreen::gridRowChanged(int row)
{
    if (syncing_ || editing() || row < 0 || !table_ || !table_->active())
        return;
    guarded([&] {
        model_->moveTo(row, *table_);
        if (entryPanel_)
            loadFields();
    });
    updateStates();
}

qint64 RegisterScreen::nextNumber(const QString& field, const QStringList& scopeFields,
                                  const QVariantList& scopeValues, qint64 cap) const
{
    return pcp::nextNumber(table_->store().db(), table_->def(), field, scopeFields, scopeValues, cap);
}

// ---- running actions ---------------------------------------------------------------

bool RegisterScreen::guarded(const std::function<void()>& action) { return actions_.guarded(action); }

bool RegisterScreen::runAtomically(const std::function<bool()>& action)
{
    return actions_.runAtomically(table_->store().db(), action);
}

// ---- the buttons ---------------------------------------------------------------------

bool RegisterScreen::cancelUnless(bool ok)
{
    if (!ok)
        table_->cancel();
    return ok;
}

void RegisterScreen::btIncluirClick()
{
    if (editing() || !table_ || !table_->active())
        return;
    guarded([&] {
        if (!beforeInsert())
            return;
        table_->insert();
        bool filled = false;
        try {
            filled = initNewRecord(*table_);
        } catch (...) {
            table_->cancel();  // a value the new record cannot take: drop it, then report
            throw;
        }
        if (!cancelUnless(filled))
            return;
        if (insertStyle_ == InsertStyle::PostThenEdit) {
            if (!cancelUnless(GravaRegistro(*table_)))
                return;
            if (!EditaRegistro(*table_)) {
                refreshGrid();
                return;
            }
        }
        enterEntry(u"I"_s);
    });
}

void RegisterScreen::btAlterarClick()
{
    if (editing() || !hasRecord())
        return;
    guarded([&] {
        if (EditaRegistro(*table_) && cancelUnless(prepareEdit(*table_)))
            enterEntry(u"A"_s);
    });
}

void RegisterScreen::btExcluirClick()
{
    if (editing() || !hasRecord())
        return;
    guarded([&] {
        if (confirma(deleteQuestion_))
            runAtomically([&] { return deleteRecord(*table_); });
        refreshGrid();
    });
}

void RegisterScreen::btFecharClick() { close(); }

void RegisterScreen::BotaoGravarClick()
{
    if (!editing())
        return;
    guarded([&] {
        if (!actions_.storeFields(fields_, *table_))
            return;
        if (!validate(*table_))
            return;
        const bool saved = runAtomically([&] { return saveRecord(*table_); });
        const bool stillEditing = table_->state() == TableCursor::State::Edit ||
                                  table_->state() == TableCursor::State::Insert;
        if (saved || !stillEditing)
            leaveEntry();
    });
}

void RegisterScreen::BotaoCancelarClick()
{
    if (!editing())
        return;
    guarded([&] { cancelRecord(*table_); });
    leaveEntry();
}

bool RegisterScreen::hasUnsavedChanges() const
{
    return std::any_of(fields_.begin(), fields_.end(), [](const BoundField* f) { return f->changed(); });
}

bool RegisterScreen::saveRecord(TableCursor& table) { return GravaRegistro(table); }

void RegisterScreen::cancelRecord(TableCursor& table)
{
    table.cancel();
    if (mode_ == u"I"_s && insertStyle_ == InsertStyle::PostThenEdit)
        runAtomically([&] {
            table.remove();
            return true;
        });
}

bool RegisterScreen::deleteRecord(TableCursor& table)
{
    table.remove();
    return true;
}

// ---- opening and closing -------------------------------------------------------------

void RegisterScreen::openTables()
{
    if (!table_)
        return;
    table_->open();
    refreshGrid();
    selectGridRow(0);
}

void RegisterScreen::closeTables()
{
    model_->clear();
    if (table_)
        table_->close();
}

void RegisterScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || open_)
        return;
    if (remembersPlacement_ && !placed_)
        restorePlacement(*this, objectName());
    placed_ = true;
    open_ = true;
    showList();
    guarded([&] { openTables(); });
    updateStates();
    grid_->setFocus();
}

void RegisterScreen::closeEvent(QCloseEvent* event)
{
    if (editing()) {
        if (hasUnsavedChanges() && !confirma(u"Deseja descartar as alterações?"_s)) {
            event->ignore();
            return;
        }
        BotaoCancelarClick();
        if (editing()) {  // a Cancelar of the screen's own that kept the entry
            event->ignore();
            return;
        }
    }
    guarded([&] { closeTables(); });
    open_ = false;
    showList();
    if (remembersPlacement_)
        savePlacement(*this, objectName());
    QWidget::closeEvent(event);
}

}  // namespace pcp
