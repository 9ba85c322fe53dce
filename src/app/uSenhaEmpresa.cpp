#include "uSenhaEmpresa.h"

#include "BotoesConfirma.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoSenhaEmpresa::TfoSenhaEmpresa(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"foSenhaEmpresa"_s);
    setWindowTitle(u"Verificação de Senha"_s);
    auto* label = new QLabel(u"Digite a senha da empresa selecionada:"_s, this);
    label->setObjectName(u"Label1"_s);
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName(u"MaskEdit1"_s);
    MaskEdit1->setEchoMode(QLineEdit::Password);
    label->setBuddy(MaskEdit1);
    const BotoesConfirma buttons =
        botoesConfirma(this, u"BitBtn1"_s, u"BitBtn2"_s, u"Cancelar"_s, &QDialog::accept, &QDialog::reject);
    connect(MaskEdit1, &QLineEdit::returnPressed, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(MaskEdit1);
    layout->addLayout(buttons.linha);
}

QString TfoSenhaEmpresa::pergunta()
{
    MaskEdit1->clear();
    MaskEdit1->setFocus();
    return exec() == QDialog::Accepted ? MaskEdit1->text() : QString();
}

}  // namespace pcp
