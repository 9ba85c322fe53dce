#pragma once
// A list bound to a code field whose items are the rows of another table: it
// shows each row's description and stores its code ("Embalagem" of a
// product's packagings shows the catalogue's Descricao and keeps Codigo). A
// code the source no longer has shows a blank list.
#include "FieldEdit.h"

#include <QComboBox>

namespace pcp {

class LookupCombo : public QComboBox, public BoundField {
    Q_OBJECT
public:
    // `field` of the screen's table takes the code; `codeField` and
    // `descriptionField` are read from the source's rows.
    LookupCombo(const QString& field, const QString& codeField, const QString& descriptionField,
                FieldAccess access = FieldAccess::Editable, QWidget* parent = nullptr);

    // Reads the source again, in its order; nothing is chosen afterwards.
    void fill(TableCursor& source);
    // The code of the chosen row; null when none.
    QVariant chosen() const;

    // BoundField: shows the code's row, stores the chosen row's code.
    void load(const TableCursor& cursor) override;
    void store(TableCursor& cursor) const override;
    bool changed() const override { return chosen() != loaded_; }
    QString fieldName() const override { return field_; }
    FieldAccess access() const override { return access_; }
    QWidget* widget() override { return this; }

private:
    QString field_;
    QString codeField_;
    QString descriptionField_;
    FieldAccess access_;
    QVariant loaded_;
};

}  // namespace pcp
