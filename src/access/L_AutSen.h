#pragma once
// Access codes, group permissions and the audit log: the rules that are not a
// screen. The password dialog and VerificaAcesso itself live in screens/.
#include "Store.h"

#include <QDateTime>
#include <optional>

namespace pcp {

// ---- access codes ----------------------------------------------------------

// The access context: what a screen may set just before VerificaAcesso, copied
// into the access log; VerificaAcesso clears it when it ends.
struct ContextoAcesso {
    QString tabela;    // "CLIFOR", "ESTPROMA", ...
    QString registro;  // "Cliente: 123", "Produto: 456", ...
    QString operacao;  // one letter
};
ContextoAcesso& contextoAcesso();

// One row of Acesso.
struct CodigoAcesso {
    int codigo = 0;
    QString conteudo;  // the password; blank means the checkpoint is open
    QString descricao;
    QString infUsuario;
    bool aberto() const { return conteudo.trimmed().isEmpty(); }
    bool pedeUsuario() const { return infUsuario.trimmed().toUpper() == u"S"; }
};
// The row of the code; no value when the code is not in Acesso.
std::optional<CodigoAcesso> leCodigoAcesso(Store& store, int codigo);

// The access password ignores letter case and surrounding blanks.
bool senhaAcessoConfere(const QString& conteudo, const QString& digitada);
// The user password ignores letter case only.
bool senhaUsuarioConfere(const QString& senha, const QString& digitada);

// What the user typed in the password dialog.
struct SenhaDigitada {
    QString senha;
    QString usuario;
    QString senhaUsuario;
};

// Creates (when missing) the access log of the month of the date; returns its name.
QString preparaLogAcesso(Store& store, QDate hoje);

// Decides a checkpoint once the dialog was answered with "OK": checks the
// password and, when logAcesso names the month's access log (the checkpoint
// asks for the user), the user and the user's password. Refusals show their
// message. A granted user check sets UsuarioAtual and NivelUsuario and writes
// one access-log row with the access context.
bool confereAcesso(Store& store, const CodigoAcesso& acesso, const SenhaDigitada& digitada,
                   const QString& logAcesso, const QDateTime& agora = QDateTime::currentDateTime());

// ---- group permissions -----------------------------------------------------

// True when the user's groups in the login store of baseLogin, for the branch,
// grant the permission; otherwise true exactly when the level is "SUP". For a
// blocking permission ("Bloqueia(o)..."), true means the action is blocked.
// With `explica`, a refusal (or a block) is explained in a warning.
bool TemPermissao(const QString& baseLogin, const QString& filial, const QString& usuario, bool explica,
                  const QString& nivel, const QString& permissao);
// Empties both permission caches (done at each external login).
void LimpaCachePermissoes();

// ---- audit log -------------------------------------------------------------

// "Login", "Acesso", "Consulta", "Editar", "Excluir", "Inserir", "Autentica
// Senha" for the letters L, A, C, E, X, I, S; empty for any other.
QString nomeAcaoLog(const QString& acao);

// Writes one audit row in the month's LogSys table of the company store of
// DMFilial() and records the window, action and table names in LogSys_Tipos.
// Errors are shown and swallowed.
void GravaLogSistema(int filial, const QString& janela, const QString& acao, const QString& log,
                     const QString& tabela, const QString& usuario);
void GravaLogSistema(Store& store, const QDateTime& agora, int filial, const QString& janela,
                     const QString& acao, const QString& log, const QString& tabela, const QString& usuario);

}  // namespace pcp
