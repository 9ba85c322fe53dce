// What the register of responsible people has beyond the shared catalogue
// behaviour: the role box (a list of choices that also takes free text) and
// the three telephones.
#include "test_matizador_fixture.h"

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class Resptec : public test::TintingCompany {
protected:
    std::string row(int codigo)
    {
        return sql(u"SELECT coalesce(Nome, '') || '|' || coalesce(Qualificacao, '<null>') || '|' || "
                   u"coalesce(Fone1, '') || '|' || coalesce(Fone2, '') || '|' || coalesce(Fone3, '') "
                   u"FROM Resptec WHERE Codigo = %1"_s.arg(codigo))
            .toString()
            .toStdString();
    }
};

TEST_F(Resptec, TheRoleIsAChoiceOrFreeTextUpToTheFieldWidth)
{
    struct Case {
        const char* what;
        const char16_t* typed;
        const char16_t* stored;
    };
    const Case cases[] = {
        {"a choice of the list", u"Resp.Técnico", u"Resp.Técnico"},
        {"free text", u"Químico", u"Químico"},
        {"nothing", u"", u"<null>"},
        {"longer than the field", u"Engenheiro de aplicacao", u"Engenheiro de aplica"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec(u"DELETE FROM Resptec"_s);
        run(u"abre TfoCadResptec\n"
            u"clica btIncluir\n"
            u"preenche Nome \"ANA\"\n"
            u"preenche Qualificacao \"%1\"\n"
            u"preenche Fone1 \"(11) 4000-1000\"\n"
            u"preenche Fone3 \"ramal 22\"\n"
            u"clica BotaoGravar\n"
            u"fecha\n"_s.arg(QString::fromUtf16(c.typed)));
        EXPECT_EQ(row(1), u"ANA|%1|(11) 4000-1000||ramal 22"_s.arg(QString::fromUtf16(c.stored)).toStdString());
    }
}

TEST_F(Resptec, AlteringShowsTheStoredRoleAndKeepsWhatWasNotTouched)
{
    exec(u"INSERT INTO Resptec (Codigo, Nome, Qualificacao, Fone2) VALUES (1, 'JOSE', 'Mecânico', '3333')"_s);
    exec(u"INSERT INTO Resptec (Codigo, Nome, Qualificacao) VALUES (2, 'RITA', 'Vendas')"_s);
    run(u"abre TfoCadResptec\n"
        u"confere Qualificacao \"Mecânico\"\n"
        u"seleciona grid 2\n"
        u"confere Qualificacao \"Vendas\"\n"
        u"seleciona grid 1\n"
        u"clica btAlterar\n"
        u"preenche Fone1 \"1111\"\n"
        u"clica BotaoGravar\n"
        u"fecha\n"_s);
    EXPECT_EQ(row(1), u"JOSE|Mecânico|1111|3333|"_s.toStdString());
    EXPECT_EQ(row(2), "RITA|Vendas|||");
}

TEST_F(Resptec, EnterWalksTheFieldsInOrderUpToGravar)
{
    run(u"abre TfoCadResptec\n"
        u"confere-titulo \"Cadastro de Responsável \"\n"
        u"clica btIncluir\n"
        u"confere-estado Nome focado\n"
        u"tecla Enter\nconfere-estado Qualificacao focado\n"
        u"tecla Enter\nconfere-estado Fone1 focado\n"
        u"tecla Enter\nconfere-estado Fone2 focado\n"
        u"tecla Enter\nconfere-estado Fone3 focado\n"
        u"tecla Enter\nconfere-estado BotaoGravar focado\n"
        u"clica BotaoCancelar\n"
        u"fecha\n"_s);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Resptec"_s).toInt(), 0);
}

}  // namespace
