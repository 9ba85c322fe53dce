#include "FieldCombo.h"

#include <QLineEdit>

namespace pcp {

FieldCombo::FieldCombo(const FieldDef& field, const QStringList& choices, QWidget* parent)
    : QComboBox(parent), field_(field)
{
    setObjectName(field.name);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);  // a typed text is a value, not a new choice
    addItems(choices);
    if (field.type == FieldType::String && field.size > 0)
        lineEdit()->setMaxLength(field.size);
    setMinimumContentsLength(qBound(4, field.size, 50));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setCurrentIndex(-1);
}

void FieldCombo::load(const TableCursor& cursor)
{
    const QString text = cursor.value(field_.name).toString();
    setCurrentIndex(findText(text));
    setEditText(text);
    shownText_ = currentText();
}

void FieldCombo::store(TableCursor& cursor) const
{
    const QString text = currentText();
    if (text != shownText_)
        cursor.setValue(field_.name, text);
}

}  // namespace pcp
