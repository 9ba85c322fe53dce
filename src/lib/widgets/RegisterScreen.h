#pragma once
// The base of every register screen: a "Lista" page with a read-only grid and
// "Incluir", "Alterar", "Excluir", "Fechar"; an entry page with "Gravar" and
// "Cancelar"; one of the two shown at a time; the entry mode "I" (new record)
// or "A" (altered record); Enter moves to the next field; deletions ask first.
//
// A screen declares in its constructor the cursor it edits (setTable), the
// grid (setGridColumns over that cursor, or setGridQuery) and its fields
// (addField), and overrides the hooks it needs. The cursor is opened when the
// screen is shown and closed when it is closed; a closed screen can be shown
// again. See docs/screens.md.
#include "CursorTableModel.h"
#include "FieldEdit.h"
#include "ScreenActions.h"

#include <QWidget>
#include <functional>

class QBoxLayout;
class QFormLayout;
class QPushButton;
class QTabWidget;
class QTableView;

namespace pcp {

class ButtonRow;

class RegisterScreen : public QWidget {
    Q_OBJECT
public:
    enum class Layout {
        TwoPages,  // the "Lista" page or the entry pages, one at a time
        OnePage,   // grid and entry panel together; the panel is enabled only while editing
    };
    enum class InsertStyle {
        Buffered,      // "Incluir" starts a new record that "Gravar" posts
        PostThenEdit,  // "Incluir" posts the new record at once and edits it;
                       // "Cancelar" deletes it again
    };

    ~RegisterScreen() override;

    // "I" while a new record is entered, "A" while one is altered, "" while browsing.
    const QString& mode() const { return mode_; }
    bool editing() const { return !mode_.isEmpty(); }

    TableCursor* table() const { return table_; }
    CursorTableModel* listModel() const { return model_; }
    QTableView* grid() const { return grid_; }
    QTabWidget* pages() const { return pages_; }  // nullptr for Layout::OnePage
    QWidget* listPage() const { return listPage_; }
    QWidget* entryPage() const { return entryPage_; }
    const QList<BoundField*>& fields() const { return fields_; }
    QPushButton* closeButton() const { return btFechar_; }
    QPushButton* saveButton() const { return botaoGravar_; }
    QPushButton* cancelButton() const { return botaoCancelar_; }

public slots:
    void btIncluirClick();
    void btAlterarClick();
    void btExcluirClick();
    void btFecharClick();
    void BotaoGravarClick();
    // Drops the entry (cancelRecord) and returns to the list; closing the
    // window while editing runs it too.
    virtual void BotaoCancelarClick();

protected:
    // `name` is the designer name ("foCadEmbalagem"): the object name, and the
    // name of the saved window placement.
    RegisterScreen(const QString& name, const QString& caption, Layout layout = Layout::TwoPages,
                   QWidget* parent = nullptr);

    // ---- declarations (constructor) -------------------------------------------
    // The cursor the entry page edits; the screen does not own it.
    void setTable(TableCursor* table);
    // The grid shows the records of the table itself.
    void setGridColumns(const QList<GridColumn>& columns);
    // The grid shows a query (typed by the table's declaration); selecting a row
    // moves the table to the record with the same link fields (default: the
    // table's primary key). Calling it again runs the new query at once when
    // the screen is open.
    void setGridQuery(const QString& sql, const QVariantList& params, const QList<GridColumn>& columns,
                      const QStringList& linkFields = {});
    // An edit for a field of the table, with its label, on the entry page
    // (after setTable; an unknown field throws DbError).
    FieldEdit* addField(const QString& label, const QString& field, FieldAccess access = FieldAccess::Editable,
                        const QString& editMask = {});
    // Any other widget that implements BoundField; the screen becomes its
    // parent. `beside` (a button of the field's own) goes on the same row.
    void addField(const QString& label, BoundField* field, QWidget* beside = nullptr);
    // A further entry page, shown with the first one while editing (TwoPages only).
    void addEntryPage(QWidget* page, const QString& title);
    // A button of the screen's own: on the list row before "Fechar", or on the entry row.
    QPushButton* addButton(const QString& name, const QString& caption, bool onListPage = true);
    QBoxLayout* listTools() const { return listTools_; }  // above the grid: searches, orders
    QFormLayout* entryForm() const { return entryForm_; }
    void setEntryTitle(const QString& title);  // the entry page's tab, "Cadastro" by default
    // OnePage: moves the register (searches row, grid, panel, buttons) onto a
    // page titled `title` of a tab widget whose first page is `leading`, for a
    // screen that leads to its register through a page of its own (a product
    // list before the product's packagings). The screen shows and hides the
    // two pages itself. Returns the tab widget (object name "pages").
    QTabWidget* placeOnPage(QWidget* leading, const QString& leadingTitle, const QString& title);
    void setDeleteQuestion(const QString& text) { deleteQuestion_ = text; }
    void setInsertStyle(InsertStyle style) { insertStyle_ = style; }
    void setFirstField(QWidget* widget) { firstField_ = widget; }  // focused on entry
    void setRemembersPlacement(bool on) { remembersPlacement_ = on; }

    // ---- hooks -------------------------------------------------------------------
    virtual void openTables();   // on show: opens the table and reads the grid
    virtual void closeTables();  // on close
    // Before the new record exists (the cursor still browses): ask for a code,
    // walk the table. False stops "Incluir".
    virtual bool beforeInsert() { return true; }
    // The new record is in insert mode: fill its keys and defaults. False cancels it.
    virtual bool initNewRecord(TableCursor&) { return true; }
    // The record is locked in edit mode for "Alterar". False cancels the edit.
    virtual bool prepareEdit(TableCursor&) { return true; }
    // The fields are written into the record; check it before it is saved. Show
    // the reason and return false to stay on the entry page.
    virtual bool validate(TableCursor&) { return true; }
    // Saves the record (default GravaRegistro) with whatever else a save writes,
    // all inside one transaction. False (or a DbError) writes nothing; the
    // entry page stays while the table is still in insert or edit mode, and
    // the list returns when the hook cancelled the record.
    virtual bool saveRecord(TableCursor& table);
    // Drops the entry: cancels the record, and deletes the record "Incluir"
    // posted for InsertStyle::PostThenEdit.
    virtual void cancelRecord(TableCursor& table);
    // Deletes the current record (and its dependants) inside one transaction,
    // after the user confirmed. False or a DbError deletes nothing.
    virtual bool deleteRecord(TableCursor& table);
    // True while editing when the user changed something on the entry page:
    // closing the window then asks before the changes are dropped.
    virtual bool hasUnsavedChanges() const;
    // Enables the buttons, grid and fields for the present mode; screens with
    // buttons of their own extend it.
    virtual void updateStates();

    // ---- helpers -----------------------------------------------------------------
    // Shows the entry page in a mode ("I", "A", or a screen's own such as "C").
    void enterEntry(const QString& mode);
    // Back to the list: browse states, grid read again on the table's record.
    void leaveEntry();
    void loadFields();
    // Reads the grid again and selects the table's current record.
    void refreshGrid();
    // Selects the grid row of the table's current record (after a search).
    void showTableRecord();
    // The next sequence number of an integer field of the table (highest + 1,
    // 1 for none) among the rows whose `scopeFields` equal `scopeValues`; beyond
    // the field's range or `cap` (above 0) a DbError refuses it.
    qint64 nextNumber(const QString& field, const QStringList& scopeFields = {},
                      const QVariantList& scopeValues = {}, qint64 cap = 0) const;
    // ScreenActions::runAtomically on the table's store.
    bool runAtomically(const std::function<bool()>& action);
    // ScreenActions::guarded: an error's text is shown and the action abandoned.
    bool guarded(const std::function<void()>& action);
    // The screen's actions, its fields named by their labels in messages.
    const ScreenActions& actions() const { return actions_; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void gridRowChanged(int row);
    void selectGridRow(int row);
    void showList();
    bool hasRecord() const;
    // Passes `ok` on; a false one first drops the record being inserted or edited.
    bool cancelUnless(bool ok);
    void applyFieldAccess();
    void focusFirstField();

    Layout layout_;
    QString mode_;
    TableCursor* table_ = nullptr;
    CursorTableModel* model_ = nullptr;
    bool queryGrid_ = false;
    QString gridSql_;
    QVariantList gridParams_;
    QTableView* grid_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QWidget* listPage_ = nullptr;
    QWidget* entryPage_ = nullptr;
    QList<QWidget*> extraEntryPages_;
    QWidget* entryPanel_ = nullptr;
    QWidget* registerPage_ = nullptr;  // OnePage: everything but the window's margins
    QBoxLayout* listTools_ = nullptr;
    ButtonRow* listButtons_ = nullptr;
    ButtonRow* entryButtons_ = nullptr;
    QFormLayout* entryForm_ = nullptr;
    QPushButton* btIncluir_ = nullptr;
    QPushButton* btAlterar_ = nullptr;
    QPushButton* btExcluir_ = nullptr;
    QPushButton* btFechar_ = nullptr;
    QPushButton* botaoGravar_ = nullptr;
    QPushButton* botaoCancelar_ = nullptr;
    QList<BoundField*> fields_;
    QWidget* firstField_ = nullptr;
    QWidget* lastInOrder_ = nullptr;  // the last entry control in Tab order
    QString deleteQuestion_;
    InsertStyle insertStyle_ = InsertStyle::Buffered;
    bool remembersPlacement_ = false;
    bool placed_ = false;
    bool open_ = false;
    bool syncing_ = false;  // the grid follows the table: do not move the table back
    ScreenActions actions_;
};

}  // namespace pcp
