#include "LookupCombo.h"

namespace pcp {

LookupCombo::LookupCombo(const QString& field, const QString& codeField, const QString& descriptionField,
                         FieldAccess access, QWidget* parent)
    : QComboBox(parent), field_(field), codeField_(codeField), descriptionField_(descriptionField), access_(access)
{
    setObjectName(field);
    setMinimumContentsLength(30);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void LookupCombo::fill(TableCursor& source)
{
    clear();
    source.refresh();
    for (source.first(); !source.eof(); source.next())
        addItem(source.asString(descriptionField_), source.value(codeField_));
    setCurrentIndex(-1);
}

QVariant LookupCombo::chosen() const { return currentIndex() >= 0 ? currentData() : QVariant(); }

void LookupCombo::load(const TableCursor& cursor)
{
    loaded_ = cursor.value(field_);
    setCurrentIndex(loaded_.isNull() ? -1 : findData(loaded_));
}

void LookupCombo::store(TableCursor& cursor) const
{
    const QVariant value = chosen();
    if (!value.isNull() && value != loaded_)
        cursor.setValue(field_, value);
}

}  // namespace pcp
