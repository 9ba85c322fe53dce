#include "uMenuFilial.h"

#include "FieldEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
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
    BotaoOK = new QPushButton(u"OK"_s, this);
    BotaoOK->setObjectName(u"BotaoOK"_s);
    BotaoOK->setDefault(true);
    BotaoSair = new QPushButton(u"Sair"_s, this);
    BotaoSair->setObjectName(u"BotaoSair"_s);
    connect(BotaoOK, &QPushButton::clicked, this, &TMenuFilial::ok);
    connect(BotaoSair, &QPushButton::clicked, this, &TMenuFilial::sair);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BotaoOK);
    buttons->addWidget(BotaoSair);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ComboBox1);
    layout->addLayout(buttons);
    EnterMovesFocus::install(this);
}

void TMenuFilial::closeEvent(QCloseEvent* event)
{
    // the window manager's close counts as "Sair"
    event->ignore();
    emit sair();
}

}  // namespace pcp
