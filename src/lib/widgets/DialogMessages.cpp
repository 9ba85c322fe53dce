#include "DialogMessages.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QMessageBox::Icon iconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

MsgAnswer DialogMessages::show(const Message& m)
{
    QMessageBox box(iconOf(m.icon), m.caption.isEmpty() ? standardCaption(m.icon) : m.caption, m.text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (m.buttons) {
    case MsgButtons::Ok: ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole); break;
    case MsgButtons::OkCancel:
        ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
        cancel = box.addButton(u"Cancelar"_s, QMessageBox::RejectRole);
        break;
    case MsgButtons::YesNo:
        yes = box.addButton(u"&Sim"_s, QMessageBox::YesRole);
        no = box.addButton(u"&Não"_s, QMessageBox::NoRole);
        break;
    case MsgButtons::YesNoCancel:
        yes = box.addButton(u"&Sim"_s, QMessageBox::YesRole);
        no = box.addButton(u"&Não"_s, QMessageBox::NoRole);
        cancel = box.addButton(u"Cancelar"_s, QMessageBox::RejectRole);
        break;
    }
    box.setDefaultButton(ok ? ok : yes);
    if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok) return MsgAnswer::Ok;
    if (clicked == yes) return MsgAnswer::Yes;
    if (clicked == no) return MsgAnswer::No;
    if (clicked == cancel || !ok) return cancel ? MsgAnswer::Cancel : MsgAnswer::No;
    return MsgAnswer::Ok;
}

std::optional<QString> DialogMessages::input(const InputRequest& r)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(r.caption);
    dialog.setLabelText(r.prompt);
    dialog.setTextValue(r.defaultValue);
    dialog.setTextEchoMode(r.password ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(u"OK"_s);
    dialog.setCancelButtonText(u"Cancelar"_s);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

}  // namespace pcp
