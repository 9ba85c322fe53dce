#pragma once
// The text of a scenario script, read into steps. One step per line; `#` starts
// a comment line. docs/scenario-runner.md describes every step.
#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace pcp {

enum class StepKind {
    Open,           // abre TELA
    Window,         // janela JANELA
    Fill,           // preenche CAMPO "valor"
    Click,          // clica BOTAO
    Menu,           // menu "Cadastros/Embalagens"
    Key,            // tecla Enter
    Select,         // seleciona GRADE LINHA [COLUNA]
    ExpectMessage,  // mensagem "texto" [titulo T] [icone I] [botoes B] [responde R]
    ExpectInput,    // entrada "titulo" responde "texto" | entrada "titulo" cancela
    CheckText,      // confere ALVO "texto"
    CheckTitle,     // confere-titulo "texto"
    CheckCell,      // confere-celula GRADE LINHA COLUNA "texto"
    CheckRows,      // confere-linhas GRADE N
    CheckState,     // confere-estado ALVO habilitado|desabilitado|visivel|oculto|marcado|desmarcado|focado
    CheckSql,       // confere-sql "select ..." "texto"
    Wait,           // aguarda N [ms]
    Close,          // fecha [JANELA]
};

struct ScenarioStep {
    int line = 0;
    StepKind kind = StepKind::Open;
    QString source;     // the line as written, for the log
    QStringList args;   // positional arguments, unquoted
    // Options of `mensagem` / `entrada` (folded keyword -> value).
    std::optional<QString> caption;
    std::optional<QString> icon;
    std::optional<QString> buttons;
    std::optional<QString> answer;
    bool cancel = false;
    QKeyCombination key;  // `tecla`
    int number = 0;       // `aguarda` milliseconds, `confere-linhas` count
};

// Where and why a script went wrong. line 0: before any step (file unreadable).
struct ScenarioFailure {
    int line = 0;
    QString text;
    QString toString() const;
};

// Reads the whole script; fails on the first line that is not a valid step.
std::optional<std::vector<ScenarioStep>> parseScenario(const QString& text, ScenarioFailure* error);

// Keyword comparison of the script: case and accents do not matter ("Não" == "nao").
QString foldKeyword(const QString& word);
// The key a `tecla` argument names: Enter, Esc, Tab, Shift+Tab, F2, Ctrl+Del...
std::optional<QKeyCombination> parseKeyName(const QString& name);

}  // namespace pcp
