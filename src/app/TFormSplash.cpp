#include "TFormSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TFormSplash::TFormSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"FormSplash"_s);
    auto* top = new QLabel(u"PCP"_s, this);
    top->setObjectName(u"Panel1"_s);
    top->setAlignment(Qt::AlignCenter);
    top->setStyleSheet(u"background:#1f4e79; color:white; font-size:28pt; font-weight:bold; padding:24px"_s);
    auto* picture = new QLabel(u"Planejamento e Controle da Produção"_s, this);
    picture->setObjectName(u"Image1"_s);
    picture->setAlignment(Qt::AlignCenter);
    picture->setStyleSheet(u"background:#dfe8f1; color:#1f4e79; font-size:12pt; padding:32px"_s);
    auto* bottom = new QLabel(u"Ardeno Informatica Ltda"_s, this);
    bottom->setObjectName(u"Panel2"_s);
    bottom->setAlignment(Qt::AlignCenter);
    QFont bold = bottom->font();
    bold.setBold(true);
    bottom->setFont(bold);
    bottom->setStyleSheet(u"padding:8px"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(picture);
    layout->addWidget(bottom);
    resize(380, 220);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

}  // namespace pcp
