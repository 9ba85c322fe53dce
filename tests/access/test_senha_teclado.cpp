// The password dialog from the keyboard alone: Enter moves from the user's
// password to "OK" and then presses it; without the user panel one Enter in
// the password confirms.
#include "AccessTables.h"
#include "L_AutSen.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TFormSenha.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

// Enter as the keyboard sends it: a press then a release, to whichever
// widget has the focus.
void enter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// Code 101 asks the password "chave"; code 58 also the user ANA, "Se1".
std::shared_ptr<Store> lojaComSenhas(const QString& pasta)
{
    Catalog c;
    declareAccessTables(c);
    auto store = Store::openCompany(pasta, c);
    store->db().exec(u"INSERT INTO Acesso (Codigo, Conteudo, Descricao, Inf_Usuario) VALUES "
                     "(101, 'chave', 'Baixa', 'N'), (58, 'prod', 'Producao', 'S'); "
                     "INSERT INTO Usuarios (Codigo, Senha, Nivel) VALUES ('ANA', 'Se1', 'ADM')"_s);
    return store;
}

class SenhaTeclado : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        sessao() = {};
        contextoAcesso() = {};
        store = lojaComSenhas(tmp.path());
    }
    // Types into the dialog once it runs modally, key by key.
    bool verifica(int codigo, const std::function<void(TFormSenha&)>& teclas)
    {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TFormSenha*>(QApplication::activeModalWidget());
            if (!d)
                return;
            visto = true;
            teclas(*d);
            if (d->isVisible())  // the keys left it open: do not hang the test
                d->reject();
        });
        const bool ok = VerificaAcesso(*store, codigo);
        EXPECT_TRUE(visto);
        return ok;
    }
    std::shared_ptr<Store> store;
};

TEST_F(SenhaTeclado, WithTheUserPanelEnterReachesOkAndPressesIt)
{
    bool aberto = true;
    EXPECT_TRUE(verifica(58, [&](TFormSenha& d) {
        d.EdSenha->setText(u"prod"_s);
        enter(d.EdSenha);
        d.edUsuario->setText(u"ANA"_s);
        enter(d.edUsuario);
        d.edSenhaUsu->setText(u"se1"_s);
        enter(d.edSenhaUsu);
        ASSERT_EQ(d.focusWidget(), d.btOK);
        EXPECT_TRUE(d.isVisible()) << "Enter in the user's password only moves to OK";
        enter(d.focusWidget());
        aberto = d.isVisible();
    }));
    EXPECT_FALSE(aberto);
}

TEST_F(SenhaTeclado, WithoutThePanelOneEnterInThePasswordConfirms)
{
    bool aberto = true;
    EXPECT_TRUE(verifica(101, [&](TFormSenha& d) {
        d.EdSenha->setText(u"chave"_s);
        enter(d.EdSenha);
        aberto = d.isVisible();
    }));
    EXPECT_FALSE(aberto);
}

TEST_F(SenhaTeclado, EnterOnAFocusedCancelarCancels)
{
    EXPECT_FALSE(verifica(101, [&](TFormSenha& d) {
        d.EdSenha->setText(u"chave"_s);
        d.btCancelar->setFocus();
        enter(d.btCancelar);
        EXPECT_FALSE(d.isVisible());
    }));
}

// With the user panel shown the three boxes stand in one column, as one form.
TEST_F(SenhaTeclado, TheThreeBoxesShareTheirLeftEdge)
{
    verifica(58, [&](TFormSenha& d) {
        ASSERT_TRUE(d.Panel1->isVisible());
        const int senha = d.EdSenha->mapTo(&d, QPoint()).x();
        EXPECT_EQ(d.edUsuario->mapTo(&d, QPoint()).x(), senha);
        EXPECT_EQ(d.edSenhaUsu->mapTo(&d, QPoint()).x(), senha);
    });
}

}  // namespace
