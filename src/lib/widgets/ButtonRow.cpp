#include "ButtonRow.h"

#include <QPushButton>

namespace pcp {

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

ButtonRow::ButtonRow(Side side) : side_(side) { addStretch(1); }

ButtonRow::ButtonRow(Side side, std::initializer_list<QWidget*> buttons) : ButtonRow(side)
{
    for (QWidget* b : buttons)
        place(b);
}

QPushButton* ButtonRow::add(const QString& name, const QString& caption)
{
    QPushButton* b = makeButton(name, caption);
    place(b);
    return b;
}

void ButtonRow::place(QWidget* widget)
{
    // Left: the buttons come before the stretch; Right: after it.
    insertWidget(side_ == Side::Left ? count() - 1 : count(), widget);
}

QPushButton* ButtonRow::insertBefore(QWidget* next, const QString& name, const QString& caption)
{
    QPushButton* b = makeButton(name, caption);
    const int at = indexOf(next);
    insertWidget(at >= 0 ? at : count(), b);
    return b;
}

}  // namespace pcp
