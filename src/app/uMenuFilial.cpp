#include "uMenuFilial.h"

#include "BotoesConfirma.h"
#include "FieldEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TMenuFilial::TMenuFilial(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"MenuFilial"_s);
    setWindowTitle(u"Menu Empresa"_s);
    // no close box: "Sair" leaves the screen
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    auto* label = new QLabel(u"Filial"_s, this);
    label->setObjectName(u"Label1"_s);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(260);
    label->setBuddy(ComboBox1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ComboBox1);
    const BotoesConfirma buttons =
        botoesConfirma(this, u"BotaoOK"_s, u"BotaoSair"_s, u"Sair"_s, &TMenuFilial::ok, &TMenuFilial::sair);
    BotaoOK = buttons.ok;
    BotaoSair = buttons.saida;
    layout->addLayout(buttons.linha);
    EnterMovesFocus::install(this);
}

void TMenuFilial::closeEvent(QCloseEvent* event)
{
    // the window manager's close counts as "Sair"
    event->ignore();
    emit sair();
}

}  // namespace pcp
