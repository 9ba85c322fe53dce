// Access codes: the checkpoint, its password dialog, the user check and the access log.
#include "AccessTables.h"
#include "L_AutSen.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "TFormSenha.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

// Answers the password dialog once it is running modally.
class Dialogo {
public:
    explicit Dialogo(std::function<void(TFormSenha&)> resposta)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this, resposta] {
            auto* d = qobject_cast<TFormSenha*>(QApplication::activeModalWidget());
            if (!d)
                return;
            visto = true;
            titulo = d->windowTitle();
            painelVisivel = !d->Panel1->isHidden();
            resposta(*d);
            if (d->isVisible())  // the answer left it open: do not hang the test
                d->reject();
        });
        timer_.start(0);
    }
    bool visto = false;
    bool painelVisivel = false;
    QString titulo;

private:
    QTimer timer_;
};

std::function<void(TFormSenha&)> digita(const QString& senha, const QString& usuario = {},
                                        const QString& senhaUsuario = {})
{
    return [=](TFormSenha& d) {
        d.EdSenha->setText(senha);
        d.edUsuario->setText(usuario);
        d.edSenhaUsu->setText(senhaUsuario);
        d.btOK->click();
    };
}

void pressionaEnter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

class VerificaAcessoTest : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        sessao() = {};
        contextoAcesso() = {};
        Catalog c;
        declareAccessTables(c);
        store = Store::openCompany(tmp.path(), c);
        codigo(157, u""_s, u""_s);  // stored as NULL
        codigo(158, u"   "_s, u"S"_s);
        codigo(101, u" Chave "_s, u"N"_s);
        codigo(58, u"pRod"_s, u"s"_s);
        store->db()
            .prepare(u"INSERT INTO Usuarios (Codigo, Senha, Nivel) VALUES ('ANA', 'Se1', 'ADM')"_s)
            .run();
    }
    void codigo(int n, const QString& senha, const QString& infUsuario)
    {
        store->db()
            .prepare(u"INSERT INTO Acesso (Codigo, Conteudo, Descricao, Inf_Usuario) VALUES (?, ?, ?, ?)"_s)
            .bindList({n, senha, u"Codigo %1"_s.arg(n), infUsuario})
            .run();
    }
    qint64 linhasLog()
    {
        const QString log = nomeLogAcesso(QDate::currentDate());
        if (!store->db().tableExists(log))
            return -1;
        return store->db().prepare(u"SELECT count(*) FROM "_s + quoted(log)).scalar().toLongLong();
    }
    std::shared_ptr<Store> store;
};

TEST_F(VerificaAcessoTest, CodesWithoutPasswordPassWithoutDialog)
{
    for (int n : {999, 157, 158}) {  // missing, empty, blanks only
        contextoAcesso().tabela = u"CLIFOR"_s;
        Dialogo d([](TFormSenha& f) { f.reject(); });
        EXPECT_TRUE(VerificaAcesso(*store, n)) << n;
        QApplication::processEvents();
        EXPECT_FALSE(d.visto) << n;
        EXPECT_TRUE(contextoAcesso().tabela.isEmpty()) << n;
    }
}

TEST_F(VerificaAcessoTest, AccessPasswordIgnoresCaseAndSurroundingBlanks)
{
    struct Caso {
        QString digitada;
        bool concede;
    };
    const Caso casos[] = {
        {u"chave"_s, true}, {u"  CHAVE  "_s, true}, {u"ChAvE"_s, true},
        {u"chaves"_s, false}, {u"ch ave"_s, false}, {u""_s, false},
    };
    for (const Caso& c : casos) {
        if (!c.concede)
            script.expect(u"Senha invalida"_s).icon = MsgIcon::Error;
        Dialogo d(digita(c.digitada));
        EXPECT_EQ(VerificaAcesso(*store, 101), c.concede) << c.digitada.toStdString();
        EXPECT_TRUE(d.visto);
        EXPECT_EQ(d.titulo, u"Entre com a senha 101"_s);
        EXPECT_FALSE(d.painelVisivel);
        checkScript();
    }
    EXPECT_EQ(linhasLog(), -1);  // no user asked: no access log
}

TEST_F(VerificaAcessoTest, CancelRefusesSilentlyAndClearsContext)
{
    contextoAcesso() = {u"ESTPROMA"_s, u"Produto: 7"_s, u"A"_s};
    Dialogo d([](TFormSenha& f) {
        f.EdSenha->setText(u"chave"_s);
        f.btCancelar->click();
    });
    EXPECT_FALSE(VerificaAcesso(*store, 101));
    EXPECT_TRUE(d.visto);
    EXPECT_TRUE(contextoAcesso().tabela.isEmpty());
    EXPECT_TRUE(contextoAcesso().registro.isEmpty());
    EXPECT_TRUE(contextoAcesso().operacao.isEmpty());
}

TEST_F(VerificaAcessoTest, UserPanelChecksUserAndWritesAccessLog)
{
    sessao().UsuarioAtual = u"OUTRO"_s;
    contextoAcesso() = {u"ESTPROMA"_s, u"Produto: 7"_s, u"A"_s};
    Dialogo d(digita(u" PROD "_s, u"ANA"_s, u"sE1"_s));
    EXPECT_TRUE(VerificaAcesso(*store, 58));
    EXPECT_TRUE(d.painelVisivel);
    EXPECT_EQ(sessao().UsuarioAtual, u"ANA"_s);
    EXPECT_EQ(sessao().NivelUsuario, u"ADM"_s);
    EXPECT_TRUE(contextoAcesso().tabela.isEmpty());

    Statement st = store->db().prepare(u"SELECT Tabela, Acesso, Registro, Operacao, Usuario, DataHora FROM "_s +
                                       quoted(nomeLogAcesso(QDate::currentDate())));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.textValue(0), u"ESTPROMA"_s);
    EXPECT_EQ(st.textValue(1), u"Codigo 58"_s);
    EXPECT_EQ(st.textValue(2), u"Produto: 7"_s);
    EXPECT_EQ(st.textValue(3), u"A"_s);
    EXPECT_EQ(st.textValue(4), u"ANA"_s);
    EXPECT_EQ(st.textValue(5).left(10), QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    EXPECT_FALSE(st.next());
}

TEST_F(VerificaAcessoTest, UserRefusalsLeaveSessionAndLogUntouched)
{
    struct Caso {
        QString senha, usuario, senhaUsuario, mensagem;
    };
    const Caso casos[] = {
        {u"prod"_s, u"BIA"_s, u"Se1"_s, u"Usuário não cadastrado!"_s},
        {u"prod"_s, u""_s, u""_s, u"Usuário não cadastrado!"_s},
        {u"prod"_s, u"ANA"_s, u"Se2"_s, u"A senha do usuário é inválida!"_s},
        {u"prod"_s, u"ANA"_s, u" Se1"_s, u"A senha do usuário é inválida!"_s},  // blanks count
        {u"errada"_s, u"ANA"_s, u"Se1"_s, u"Senha invalida"_s},
    };
    for (const Caso& c : casos) {
        script.expect(c.mensagem);
        Dialogo d(digita(c.senha, c.usuario, c.senhaUsuario));
        EXPECT_FALSE(VerificaAcesso(*store, 58)) << c.mensagem.toStdString();
        checkScript();
    }
    EXPECT_TRUE(sessao().UsuarioAtual.isEmpty());
    EXPECT_EQ(linhasLog(), 0);  // the month's log exists (made when the panel showed) but is empty
}

TEST_F(VerificaAcessoTest, Variant164ShowsInfUsuarioBeforeTheDialog)
{
    sessao().FatModNf = 164;
    script.expect(u"N"_s).icon = MsgIcon::None;
    Dialogo d(digita(u"chave"_s));
    EXPECT_TRUE(VerificaAcesso(*store, 101));
}

TEST_F(VerificaAcessoTest, EnterInPasswordActsAsOkOrMovesToUser)
{
    Dialogo semPainel([](TFormSenha& f) {
        f.EdSenha->setText(u"chave"_s);
        pressionaEnter(f.EdSenha);
    });
    EXPECT_TRUE(VerificaAcesso(*store, 101));

    Dialogo comPainel([](TFormSenha& f) {
        f.EdSenha->setText(u"prod"_s);
        pressionaEnter(f.EdSenha);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.focusWidget(), f.edUsuario);
        f.edUsuario->setText(u"ANA"_s);
        pressionaEnter(f.edUsuario);
        EXPECT_EQ(f.focusWidget(), f.edSenhaUsu);
        EXPECT_TRUE(f.isVisible());
        f.edSenhaUsu->setText(u"se1"_s);
        f.btOK->click();
    });
    EXPECT_TRUE(VerificaAcesso(*store, 58));
    EXPECT_EQ(linhasLog(), 1);
}

}  // namespace
