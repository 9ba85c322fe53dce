#include "ScenarioScript.h"

#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

struct Token {
    QString text;
    bool quoted = false;
};

struct StepSyntax {
    const char16_t* word;
    StepKind kind;
    int minArgs;
    int maxArgs;
    const char16_t* usage;
};

// The step words. Options (`titulo`, `responde`...) follow the positional arguments.
const StepSyntax kSteps[] = {
    {u"abre", StepKind::Open, 1, 1, u"abre TELA"},
    {u"janela", StepKind::Window, 1, 1, u"janela JANELA"},
    {u"preenche", StepKind::Fill, 2, 2, u"preenche CAMPO \"valor\""},
    {u"clica", StepKind::Click, 1, 1, u"clica BOTAO"},
    {u"menu", StepKind::Menu, 1, 1, u"menu \"Menu/Item\""},
    {u"tecla", StepKind::Key, 1, 1, u"tecla Enter"},
    {u"seleciona", StepKind::Select, 2, 3, u"seleciona GRADE LINHA [COLUNA]"},
    {u"mensagem", StepKind::ExpectMessage, 1, 1,
     u"mensagem \"texto\" [titulo \"T\"] [icone I] [botoes B] [responde OK|Cancelar|Sim|Nao]"},
    {u"entrada", StepKind::ExpectInput, 1, 1, u"entrada \"titulo\" responde \"texto\" | cancela"},
    {u"confere", StepKind::CheckText, 2, 2, u"confere ALVO \"texto\""},
    {u"confere-titulo", StepKind::CheckTitle, 1, 1, u"confere-titulo \"texto\""},
    {u"confere-celula", StepKind::CheckCell, 4, 4, u"confere-celula GRADE LINHA COLUNA \"texto\""},
    {u"confere-linhas", StepKind::CheckRows, 2, 2, u"confere-linhas GRADE N"},
    {u"confere-estado", StepKind::CheckState, 2, 2, u"confere-estado ALVO ESTADO"},
    {u"confere-sql", StepKind::CheckSql, 2, 2, u"confere-sql \"select ...\" \"texto\""},
    {u"aguarda", StepKind::Wait, 1, 2, u"aguarda N ms"},
    {u"fecha", StepKind::Close, 0, 1, u"fecha [JANELA]"},
};

const QStringList kIcons = {u"nenhum"_s, u"informacao"_s, u"aviso"_s, u"erro"_s, u"pergunta"_s};
const QStringList kButtons = {u"ok"_s, u"okcancelar"_s, u"simnao"_s, u"simnaocancelar"_s};
const QStringList kAnswers = {u"ok"_s, u"cancelar"_s, u"sim"_s, u"nao"_s};
const QStringList kStates = {u"habilitado"_s, u"desabilitado"_s, u"visivel"_s, u"oculto"_s,
                             u"marcado"_s,    u"desmarcado"_s,   u"focado"_s};

class SyntaxError {
public:
    explicit SyntaxError(QString text) : text(std::move(text)) {}
    QString text;
};

// "${NOME}" in an argument is the environment variable NOME, so a script
// can take values that change from run to run (the demo's month, a folder).
QString expande(const QString& text)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype inicio = text.indexOf(u"${"_s, i);
        if (inicio < 0)
            break;
        const qsizetype fim = text.indexOf(u'}', inicio + 2);
        if (fim < 0)
            throw SyntaxError(u"falta a chave de fechamento em \"${\""_s);
        const QString nome = text.mid(inicio + 2, fim - inicio - 2);
        if (!qEnvironmentVariableIsSet(nome.toLocal8Bit().constData()))
            throw SyntaxError(u"variável de ambiente não definida: "_s + nome);
        out += text.mid(i, inicio - i) + qEnvironmentVariable(nome.toLocal8Bit().constData());
        i = fim + 1;
    }
    return out + text.mid(i);
}

std::vector<Token> tokenize(const QString& line)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (line.at(i).isSpace()) {
            ++i;
            continue;
        }
        Token t;
        if (line.at(i) == u'"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line.at(i++);
                if (c == u'"') {
                    closed = true;
                    break;
                }
                if (c == u'\\' && i < n) {
                    const QChar e = line.at(i++);
                    if (e == u'n')
                        t.text += u'\n';
                    else if (e == u't')
                        t.text += u'\t';
                    else
                        t.text += e;  // \" and \\ and anything else literally
                    continue;
                }
                t.text += c;
            }
            if (!closed)
                throw SyntaxError(u"aspas sem fechamento"_s);
            if (i < n && !line.at(i).isSpace())
                throw SyntaxError(u"falta um espaço depois das aspas"_s);
        } else {
            while (i < n && !line.at(i).isSpace())
                t.text += line.at(i++);
        }
        t.text = expande(t.text);
        tokens.push_back(std::move(t));
    }
    return tokens;
}

int positiveNumber(const QString& text, const char16_t* what, int minimum)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum)
        throw SyntaxError(u"%1 deve ser um número inteiro a partir de %2: \"%3\""_s.arg(
            QString::fromUtf16(what), QString::number(minimum), text));
    return value;
}

QString choose(const QString& value, const QStringList& allowed, const char16_t* what)
{
    const QString folded = foldKeyword(value);
    if (!allowed.contains(folded))
        throw SyntaxError(u"%1 inválido \"%2\" (use %3)"_s.arg(QString::fromUtf16(what), value,
                                                                allowed.join(u", "_s)));
    return folded;
}

ScenarioStep parseLine(const std::vector<Token>& tokens)
{
    const Token& head = tokens.front();
    const QString word = foldKeyword(head.text);
    const StepSyntax* syntax = nullptr;
    for (const StepSyntax& s : kSteps)
        if (!head.quoted && word == QString::fromUtf16(s.word))
            syntax = &s;
    if (!syntax)
        throw SyntaxError(u"passo desconhecido \"%1\""_s.arg(head.text));

    ScenarioStep step;
    step.kind = syntax->kind;
    const bool hasOptions = step.kind == StepKind::ExpectMessage || step.kind == StepKind::ExpectInput;
    std::size_t i = 1;
    while (i < tokens.size() && step.args.size() < syntax->maxArgs) {
        if (hasOptions && !step.args.isEmpty() && !tokens[i].quoted)
            break;  // a bare word after the text starts the options
        step.args << tokens[i++].text;
    }
    if (step.args.size() < syntax->minArgs)
        throw SyntaxError(u"faltam argumentos; use: %1"_s.arg(QString::fromUtf16(syntax->usage)));

    while (i < tokens.size()) {
        const Token& t = tokens[i++];
        const QString option = foldKeyword(t.text);
        if (!hasOptions || t.quoted)
            throw SyntaxError(u"argumento a mais \"%1\"; use: %2"_s.arg(t.text, QString::fromUtf16(syntax->usage)));
        if (step.kind == StepKind::ExpectInput && option == u"cancela"_s) {
            step.cancel = true;
            continue;
        }
        if (i >= tokens.size())
            throw SyntaxError(u"falta o valor de \"%1\""_s.arg(t.text));
        const QString value = tokens[i++].text;
        if (option == u"responde"_s)
            step.answer = step.kind == StepKind::ExpectMessage ? choose(value, kAnswers, u"resposta") : value;
        else if (step.kind == StepKind::ExpectMessage && option == u"titulo"_s)
            step.caption = value;
        else if (step.kind == StepKind::ExpectMessage && option == u"icone"_s)
            step.icon = choose(value, kIcons, u"ícone");
        else if (step.kind == StepKind::ExpectMessage && option == u"botoes"_s)
            step.buttons = choose(value, kButtons, u"botões");
        else
            throw SyntaxError(u"opção desconhecida \"%1\"; use: %2"_s.arg(t.text, QString::fromUtf16(syntax->usage)));
    }

    switch (step.kind) {
    case StepKind::ExpectInput:
        if (step.cancel == step.answer.has_value())
            throw SyntaxError(u"diga \"responde \\\"texto\\\"\" ou \"cancela\""_s);
        break;
    case StepKind::Key:
        if (const auto key = parseKeyName(step.args[0]))
            step.key = *key;
        else
            throw SyntaxError(u"tecla desconhecida \"%1\""_s.arg(step.args[0]));
        break;
    case StepKind::Select:
        positiveNumber(step.args[1], u"a linha", 1);
        if (step.args.size() > 2)
            positiveNumber(step.args[2], u"a coluna", 1);
        break;
    case StepKind::CheckCell:
        positiveNumber(step.args[1], u"a linha", 1);
        break;
    case StepKind::CheckRows:
        step.number = positiveNumber(step.args[1], u"o número de linhas", 0);
        break;
    case StepKind::CheckState:
        step.args[1] = choose(step.args[1], kStates, u"estado");
        break;
    case StepKind::Wait:
        step.number = positiveNumber(step.args[0], u"a espera", 0);
        if (step.args.size() > 1 && foldKeyword(step.args[1]) != u"ms"_s)
            throw SyntaxError(u"a espera é em milissegundos: aguarda N ms"_s);
        break;
    default:
        break;
    }
    return step;
}

}  // namespace

QString ScenarioFailure::toString() const
{
    return line > 0 ? u"linha %1: %2"_s.arg(line).arg(text) : text;
}

QString foldKeyword(const QString& word)
{
    const QString decomposed = word.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    return out;
}

std::optional<QKeyCombination> parseKeyName(const QString& name)
{
    static const QHash<QString, Qt::Key> aliases = {
        {u"enter"_s, Qt::Key_Return},   {u"return"_s, Qt::Key_Return}, {u"esc"_s, Qt::Key_Escape},
        {u"escape"_s, Qt::Key_Escape},  {u"tab"_s, Qt::Key_Tab},       {u"del"_s, Qt::Key_Delete},
        {u"delete"_s, Qt::Key_Delete},  {u"backspace"_s, Qt::Key_Backspace},
        {u"espaco"_s, Qt::Key_Space},   {u"space"_s, Qt::Key_Space},   {u"ins"_s, Qt::Key_Insert},
        {u"insert"_s, Qt::Key_Insert},  {u"home"_s, Qt::Key_Home},     {u"end"_s, Qt::Key_End},
        {u"pgup"_s, Qt::Key_PageUp},    {u"pgdn"_s, Qt::Key_PageDown}, {u"pgdown"_s, Qt::Key_PageDown},
        {u"cima"_s, Qt::Key_Up},        {u"up"_s, Qt::Key_Up},         {u"baixo"_s, Qt::Key_Down},
        {u"down"_s, Qt::Key_Down},      {u"esquerda"_s, Qt::Key_Left}, {u"left"_s, Qt::Key_Left},
        {u"direita"_s, Qt::Key_Right},  {u"right"_s, Qt::Key_Right},
    };
    QStringList parts = name.split(u'+');
    if (parts.isEmpty() || parts.last().isEmpty())
        return std::nullopt;
    const QString last = parts.takeLast();
    Qt::KeyboardModifiers modifiers;
    for (const QString& p : parts) {
        const QString m = foldKeyword(p);
        if (m == u"ctrl"_s)
            modifiers |= Qt::ControlModifier;
        else if (m == u"shift"_s)
            modifiers |= Qt::ShiftModifier;
        else if (m == u"alt"_s)
            modifiers |= Qt::AltModifier;
        else
            return std::nullopt;
    }
    Qt::Key key = Qt::Key_unknown;
    if (const auto it = aliases.find(foldKeyword(last)); it != aliases.end()) {
        key = *it;
    } else {
        const QKeySequence seq = QKeySequence::fromString(last, QKeySequence::PortableText);
        if (seq.count() != 1 || seq[0].keyboardModifiers() != Qt::NoModifier)
            return std::nullopt;
        key = seq[0].key();
    }
    if (key == Qt::Key_unknown)
        return std::nullopt;
    if (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier))
        key = Qt::Key_Backtab;
    return QKeyCombination(modifiers, key);
}

std::optional<std::vector<ScenarioStep>> parseScenario(const QString& text, ScenarioFailure* error)
{
    std::vector<ScenarioStep> steps;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        try {
            ScenarioStep step = parseLine(tokenize(line));
            step.line = int(n + 1);
            step.source = trimmed;
            steps.push_back(std::move(step));
        } catch (const SyntaxError& e) {
            if (error)
                *error = {int(n + 1), e.text};
            return std::nullopt;
        }
    }
    return steps;
}

}  // namespace pcp
