#pragma once
// Entry widgets bound to a field of a table cursor, the edit masks of the
// forms, and the Enter key that moves to the next field.
#include "TableCursor.h"

#include <QLineEdit>
#include <QList>

namespace pcp {

// When a bound widget may be changed by the user.
enum class FieldAccess {
    Editable,    // in both entry modes
    InsertOnly,  // key fields: editable for a new record ("I"), disabled when altering ("A")
    ReadOnly,    // shown only; the screen fills it ("Codigo (always read-only)")
};

// A widget of an entry page that shows one field of the screen's cursor and
// writes what the user changed back into it.
class BoundField {
public:
    virtual ~BoundField() = default;
    virtual QString fieldName() const = 0;
    virtual QWidget* widget() = 0;
    virtual FieldAccess access() const = 0;
    // Shows the field's value of the cursor's current (or edited) record.
    virtual void load(const TableCursor& cursor) = 0;
    // Writes the user's change into the cursor, which must be in insert or edit
    // mode; a field the user did not change is left alone. Throws DbError with
    // the message for the user when the text does not fit the field.
    virtual void store(TableCursor& cursor) const = 0;
    // True when the user changed what load() showed.
    virtual bool changed() const = 0;
};

// A form's edit mask, "mask;save literals;blank" as in "!99/99/0000;1;_",
// turned into a Qt input mask.
//
//   form mask               Qt input mask
//   0  digit, required      9
//   9  digit, optional      0
//   #  digit or sign        #
//   L/l letter req./opt.    A/a
//   A/a alphanumeric        N/n
//   C/c any character       X/x
//   >  <  upper/lower case  >  <
//   <> case unchanged       !
//   \x literal x            \x
//   _  a blank              (literal blank)
//   !  keep leading blanks  (dropped: Qt keeps blanks where they are typed)
//   anything else literal   (escaped when Qt reads it as a mask character)
//
// The second part ("0" or "1", default "1") says whether the literals are part
// of the value written to the field; the third is the blank character shown in
// empty positions (default "_").
struct EditMask {
    QString inputMask;         // for QLineEdit::setInputMask; empty for no mask
    bool saveLiterals = true;  // the literals go into the stored text
    QList<bool> literal;       // per position of the text: a literal, not a typed character
};
EditMask parseEditMask(const QString& formMask);

// A line edit bound to one field: its maximum length is the field's size;
// numbers are read as typed here ("1.234,56") and dates as "dd/mm/yyyy"; the
// value is shown in the field's display format. Bad text is refused by
// store() with a message that names the text, what was expected and the field.
class FieldEdit : public QLineEdit, public BoundField {
    Q_OBJECT
public:
    FieldEdit(const FieldDef& field, QWidget* parent = nullptr);

    const FieldDef& field() const { return field_; }
    QString fieldName() const override { return field_.name; }
    QWidget* widget() override { return this; }

    FieldAccess access() const override { return access_; }
    void setAccess(FieldAccess access);

    // A form mask as in parseEditMask; empty removes it.
    void setEditMask(const QString& formMask);
    const QString& editMask() const { return formMask_; }
    // Typed letters become upper case (the forms' upper-case input).
    void setUpperCase(bool on) { upperCase_ = on; }

    // The text as the field would get it: literals of the mask removed when they
    // are not saved, a mask with nothing typed as empty text.
    QString fieldText() const;
    // The typed text converted for the field (null when empty); throws DbError.
    QVariant value() const;
    // Shows a value in the field's display form; the edit counts as unchanged.
    void showValue(const QVariant& value);
    // True when the text differs from what load()/showValue() put there.
    bool changed() const override { return text() != shownText_; }

    void load(const TableCursor& cursor) override;
    void store(TableCursor& cursor) const override;

    // Wide enough for the field: its size for texts, a date, a number.
    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    [[noreturn]] void refuse(const QString& what) const;

    FieldDef field_;
    FieldAccess access_ = FieldAccess::Editable;
    QString formMask_;
    EditMask mask_;
    QString shownText_;
    bool upperCase_ = false;
};

// The text a value is shown with in an edit or a grid: dates "dd/mm/yyyy",
// times "HH:mm:ss", numbers through a display mask ("###,##0.00", "000") or a
// format string ("%6.6d", "%10.3n"), or plainly with "," before the decimals.
QString displayText(const QVariant& value, FieldType type, const QString& format = {});

// The Enter key moves the focus to the next field, as Tab does. Installed
// once on a window, it sees the Enter that any of the window's widgets leaves
// unused (line edits, lists, check boxes), so widgets added later are covered
// too. Widgets that use Enter themselves (multi-line texts) keep it, and so do
// grids. Program-wide, Enter on a focused push button presses it.
class EnterMovesFocus : public QObject {
    Q_OBJECT
public:
    static void install(QWidget* window);
    // Makes Enter press a focused push button in every window of the program
    // (done when the application starts; calling it again does nothing).
    static void pressButtonsOnEnter();
    // The widget Tab would focus after `from` in its window; nullptr when none.
    static QWidget* nextField(QWidget* from);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit EnterMovesFocus(QWidget* window) : QObject(window) {}
};

}  // namespace pcp
