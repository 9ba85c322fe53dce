#include "TFormSenha.h"

#include "ButtonRow.h"
#include "FieldEdit.h"
#include "Messages.h"
#include "Sessao.h"
#include "TDMFilial.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QLineEdit* novaEdicao(const QString& nome, int tamanho, bool senha, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(nome);
    if (tamanho > 0)
        e->setMaxLength(tamanho);
    if (senha)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

}  // namespace

TFormSenha::TFormSenha(QWidget* parent)
    : QDialog(parent),
      EdSenha(novaEdicao(u"EdSenha"_s, 0, true, this)),
      Panel1(new QWidget(this)),
      edUsuario(novaEdicao(u"edUsuario"_s, 6, false, Panel1)),
      edSenhaUsu(novaEdicao(u"edSenhaUsu"_s, 8, true, Panel1)),
      btOK(makeButton(u"btOK"_s, u"OK"_s, this)),
      btCancelar(makeButton(u"btCancelar"_s, u"Cancelar"_s, this))
{
    setObjectName(u"FormSenha"_s);
    setModal(true);
    // Enter in the edits is handled by the edits themselves; on the focused
    // "OK" (where Enter in edSenhaUsu leaves it) it presses the button.
    EnterMovesFocus::pressButtonsOnEnter();

    auto* lbSenha = new QLabel(u"Senha"_s, this);
    auto* lbUsuario = new QLabel(u"Usuário"_s, Panel1);
    auto* lbSenhaUsu = new QLabel(u"Senha"_s, Panel1);
    // two forms (the panel hides as a whole): one label width keeps the
    // boxes in one column
    const int largura = lbUsuario->sizeHint().width();
    for (QLabel* l : {lbSenha, lbUsuario, lbSenhaUsu})
        l->setMinimumWidth(largura);

    auto* senha = new QFormLayout;
    senha->addRow(lbSenha, EdSenha);

    Panel1->setObjectName(u"Panel1"_s);
    auto* usuario = new QFormLayout(Panel1);
    usuario->setContentsMargins(0, 0, 0, 0);
    usuario->addRow(lbUsuario, edUsuario);
    usuario->addRow(lbSenhaUsu, edSenhaUsu);

    auto* botoes = new ButtonRow(ButtonRow::Side::Right, {btOK, btCancelar});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(senha);
    layout->addWidget(Panel1);
    layout->addLayout(botoes);

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(EdSenha, &QLineEdit::returnPressed, this, &TFormSenha::EdSenhaReturnPressed);
    connect(edUsuario, &QLineEdit::returnPressed, edSenhaUsu, [this] { edSenhaUsu->setFocus(); });
    connect(edSenhaUsu, &QLineEdit::returnPressed, btOK, [this] { btOK->setFocus(); });
}

void TFormSenha::prepara(Store& store, const CodigoAcesso& acesso)
{
    setWindowTitle(u"Entre com a senha "_s + QString::number(acesso.codigo));
    const QDate hoje = QDate::currentDate();
    logAcesso_.clear();
    Panel1->hide();
    if (sessao().FatModNf == 164)
        mostraMensagem(acesso.infUsuario);
    if (acesso.pedeUsuario()) {
        Panel1->show();
        logAcesso_ = preparaLogAcesso(store, hoje);
    }
    EdSenha->clear();
    edUsuario->clear();
    edSenhaUsu->clear();
    EdSenha->setFocus();
}

SenhaDigitada TFormSenha::digitado() const
{
    return {EdSenha->text(), edUsuario->text(), edSenhaUsu->text()};
}

void TFormSenha::EdSenhaReturnPressed()
{
    if (!Panel1->isHidden())
        edUsuario->setFocus();
    else
        accept();
}

bool VerificaAcesso(Store& store, int codigo)
{
    const auto limpaContexto = qScopeGuard([] { contextoAcesso() = {}; });
    const std::optional<CodigoAcesso> acesso = leCodigoAcesso(store, codigo);
    if (!acesso || acesso->aberto())
        return true;
    TFormSenha dialogo(QApplication::activeWindow());
    dialogo.prepara(store, *acesso);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    return confereAcesso(store, *acesso, dialogo.digitado(), dialogo.logAcesso());
}

bool VerificaAcesso(int codigo)
{
    if (!DMFilial()) {
        contextoAcesso() = {};
        throw DbError(u"Nenhuma empresa aberta"_s);
    }
    return VerificaAcesso(DMFilial()->store(), codigo);
}

}  // namespace pcp
