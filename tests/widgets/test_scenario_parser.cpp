// Reading scenario scripts: step words, quoting, options and the line of the
// first bad step.
#include "ScenarioScript.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

TEST(ScenarioParser, ReadsStepsWithQuotesOptionsAndLineNumbers)
{
    ScenarioFailure error;
    const auto steps = parseScenario(uR"(# cadastro
abre TfoCadEmbalagem

  preenche "Descrição:" "Lata \"18\" L\\ "
MENSAGEM "Confirma?" Titulo "Confirmação" icone Pergunta responde Não
entrada "Nome" cancela
entrada "Nome" responde "cancela"
tecla Shift+Tab
aguarda 250 ms
confere-estado BotaoGravar Desabilitado
fecha
)"_s, &error);
    ASSERT_TRUE(steps) << error.toString().toStdString();
    ASSERT_EQ(steps->size(), 9u);
    const ScenarioStep& fill = (*steps)[1];
    EXPECT_EQ(fill.line, 4);
    EXPECT_EQ(fill.kind, StepKind::Fill);
    EXPECT_EQ(fill.args, (QStringList{u"Descrição:"_s, u"Lata \"18\" L\\ "_s}));
    const ScenarioStep& message = (*steps)[2];
    EXPECT_EQ(message.kind, StepKind::ExpectMessage);
    EXPECT_EQ(message.args, QStringList{u"Confirma?"_s});
    EXPECT_EQ(message.caption, u"Confirmação"_s);
    EXPECT_EQ(message.icon, u"pergunta"_s);
    EXPECT_EQ(message.answer, u"nao"_s);
    EXPECT_TRUE((*steps)[3].cancel);
    EXPECT_FALSE((*steps)[4].cancel);  // quoted: the text "cancela", not the option
    EXPECT_EQ((*steps)[4].answer, u"cancela"_s);
    EXPECT_EQ((*steps)[5].key, QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab));
    EXPECT_EQ((*steps)[6].number, 250);
    EXPECT_EQ((*steps)[7].args[1], u"desabilitado"_s);
    EXPECT_TRUE((*steps)[8].args.isEmpty());
}

TEST(ScenarioParser, RejectsTheFirstBadLine)
{
    struct Case {
        const char16_t* line;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"pula TfoX", u"passo desconhecido \"pula\""},
        {u"\"clica\" BotaoGravar", u"passo desconhecido"},  // a quoted word is never a step
        {u"preenche edCodigo", u"faltam argumentos"},
        {u"clica A B", u"argumento a mais \"B\""},
        {u"confere edCodigo \"12", u"aspas sem fechamento"},
        {u"confere edCodigo \"12\"x", u"falta um espaço"},
        {u"mensagem \"Gravado\" responde Talvez", u"resposta inválido \"Talvez\""},
        {u"mensagem \"Gravado\" cor azul", u"opção desconhecida \"cor\""},
        {u"mensagem \"Gravado\" titulo", u"falta o valor de \"titulo\""},
        {u"entrada \"Nome\"", u"responde"},
        {u"entrada \"Nome\" responde x cancela", u"responde"},
        {u"tecla Hiper", u"tecla desconhecida \"Hiper\""},
        {u"seleciona grItens 0", u"a linha deve ser um número inteiro a partir de 1"},
        {u"confere-linhas grItens muitas", u"o número de linhas deve ser"},
        {u"confere-estado ckAtivo azul", u"estado inválido"},
        {u"aguarda 2 s", u"milissegundos"},
        {u"preenche meMesAno ${PCP_TESTE_NAO_DEFINIDA}", u"variável de ambiente não definida: PCP_TESTE_NAO_DEFINIDA"},
        {u"preenche meMesAno \"${PCP_TESTE\"", u"falta a chave de fechamento"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        ScenarioFailure error;
        EXPECT_FALSE(parseScenario(u"abre TfoA\n# comentário\n\n"_s + line + u"\nfecha"_s, &error));
        EXPECT_EQ(error.line, 4);
        EXPECT_TRUE(error.text.contains(QString::fromUtf16(c.text))) << error.text.toStdString();
    }
}

TEST(ScenarioParser, TakesEnvironmentVariablesIntoArguments)
{
    qputenv("PCP_TESTE_MES", "11/2026");
    qputenv("PCP_TESTE_VAZIA", "");
    ScenarioFailure error;
    const auto steps = parseScenario(
        u"preenche meMesAno ${PCP_TESTE_MES}\nconfere Label4 \"Mês ${PCP_TESTE_MES} de ${PCP_TESTE_MES}${PCP_TESTE_VAZIA}.\""_s,
        &error);
    qunsetenv("PCP_TESTE_MES");
    qunsetenv("PCP_TESTE_VAZIA");
    ASSERT_TRUE(steps) << error.toString().toStdString();
    EXPECT_EQ((*steps)[0].args[1], u"11/2026"_s);
    EXPECT_EQ((*steps)[1].args[1], u"Mês 11/2026 de 11/2026."_s);
}

TEST(ScenarioParser, NamesKeys)
{
    const std::pair<const char16_t*, QKeyCombination> keys[] = {
        {u"Enter", QKeyCombination(Qt::Key_Return)},
        {u"esc", QKeyCombination(Qt::Key_Escape)},
        {u"Tab", QKeyCombination(Qt::Key_Tab)},
        {u"F2", QKeyCombination(Qt::Key_F2)},
        {u"Ctrl+Del", QKeyCombination(Qt::ControlModifier, Qt::Key_Delete)},
        {u"Alt+G", QKeyCombination(Qt::AltModifier, Qt::Key_G)},
        {u"Espaço", QKeyCombination(Qt::Key_Space)},
    };
    for (const auto& [name, key] : keys)
        EXPECT_EQ(parseKeyName(QString::fromUtf16(name)), key) << QString::fromUtf16(name).toStdString();
    for (const char16_t* bad : {u"", u"Ctrl+", u"Hiper+A", u"Ctrl+A,B"})
        EXPECT_FALSE(parseKeyName(QString::fromUtf16(bad))) << QString::fromUtf16(bad).toStdString();
}

}  // namespace
