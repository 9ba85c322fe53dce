#pragma once
// An editable combo box bound to a string field: the list offers the usual
// choices and any other text typed is taken as it stands, up to the field's
// size.
#include "FieldEdit.h"

#include <QComboBox>

namespace pcp {

class FieldCombo : public QComboBox, public BoundField {
    Q_OBJECT
public:
    FieldCombo(const FieldDef& field, const QStringList& choices, QWidget* parent = nullptr);

    QString fieldName() const override { return field_.name; }
    QWidget* widget() override { return this; }
    FieldAccess access() const override { return FieldAccess::Editable; }
    void load(const TableCursor& cursor) override;
    void store(TableCursor& cursor) const override;
    bool changed() const override { return currentText() != shownText_; }

private:
    FieldDef field_;
    QString shownText_;
};

}  // namespace pcp
