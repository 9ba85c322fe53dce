#pragma once
// A row of a window's command buttons ("OK", "Fechar", "Gravar", ...): each
// with its designer name, none a default button (Enter moves between the
// fields; on a focused button it presses that button), packed to one side.
#include <QHBoxLayout>

#include <initializer_list>

class QPushButton;

namespace pcp {

// A button as the forms have it: its designer name and caption, not pressed
// by an Enter typed in another control.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent = nullptr);

class ButtonRow : public QHBoxLayout {
    Q_OBJECT
public:
    enum class Side { Left, Right };
    explicit ButtonRow(Side side = Side::Left);
    // A row of buttons made elsewhere, in this order.
    ButtonRow(Side side, std::initializer_list<QWidget*> buttons);

    // A new button at the end of the row.
    QPushButton* add(const QString& name, const QString& caption);
    // Puts a widget made elsewhere at the end of the row.
    void place(QWidget* widget);
    // A new button just before `next` (a button of the row).
    QPushButton* insertBefore(QWidget* next, const QString& name, const QString& caption);

private:
    Side side_;
};

}  // namespace pcp
