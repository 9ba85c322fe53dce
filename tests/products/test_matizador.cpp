// The two catalogue registers (tinting machines and responsible people) share
// one behaviour: the screen gives the code, "Incluir" posts the new row at
// once, "Cancelar" of a new row deletes it again. Each case runs on both.
#include "test_matizador_fixture.h"

#include "uCadMatizador.h"

#include <QLineEdit>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Register {
    const char16_t* screen;
    const char16_t* table;
    const char16_t* caption;
};
const Register kRegisters[] = {
    {u"TFoCadMatizador", u"Matizador", u"Cadastro de Matizadores"},
    {u"TfoCadResptec", u"Resptec", u"Cadastro de Responsável "},
};

void PrintTo(const Register& r, std::ostream* os) { *os << QString::fromUtf16(r.screen).toStdString(); }

class CatalogRegister : public test::TintingCompany, public ::testing::WithParamInterface<Register> {
protected:
    QString screen() const { return QString::fromUtf16(GetParam().screen); }
    QString table() const { return QString::fromUtf16(GetParam().table); }
    std::string listing() { return TintingCompany::listing(table()).toStdString(); }
    void seed(const QList<std::pair<int, QString>>& rows)
    {
        for (const auto& [codigo, nome] : rows)
            exec(u"INSERT INTO %1 (Codigo, Nome) VALUES (?, ?)"_s.arg(table()), {codigo, nome});
    }
    QString open() const { return u"abre %1\n"_s.arg(screen()); }
};

INSTANTIATE_TEST_SUITE_P(Both, CatalogRegister, ::testing::ValuesIn(kRegisters),
                         [](const auto& info) { return QString::fromUtf16(info.param.table).toStdString(); });

TEST_P(CatalogRegister, IncluirGivesTheHighestCodePlusOneAndReusesTheCodeOfADeletedHighest)
{
    struct Case {
        const char* what;
        QList<std::pair<int, QString>> rows;
        int deleteRow;  // grid row deleted before "Incluir", 0 for none
        int expectedCode;
        const char16_t* expectedListing;
    };
    const Case cases[] = {
        {"empty table", {}, 0, 1, u"1:NOVO"},
        {"gaps are not filled", {{1, u"A"_s}, {2, u"B"_s}, {5, u"C"_s}}, 0, 6, u"1:A,2:B,5:C,6:NOVO"},
        {"deleted highest, next in line", {{1, u"A"_s}, {2, u"B"_s}, {3, u"C"_s}}, 3, 3, u"1:A,2:B,3:NOVO"},
        {"deleted highest after a gap", {{1, u"A"_s}, {2, u"B"_s}, {5, u"C"_s}}, 3, 3, u"1:A,2:B,3:NOVO"},
        {"deleted lower", {{1, u"A"_s}, {2, u"B"_s}, {5, u"C"_s}}, 1, 6, u"2:B,5:C,6:NOVO"},
        {"deleted the only one", {{3, u"A"_s}}, 1, 1, u"1:NOVO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec(u"DELETE FROM %1"_s.arg(table()));
        seed(c.rows);
        QString script = open() + u"confere-titulo \"%1\"\n"_s.arg(QString::fromUtf16(GetParam().caption));
        if (c.deleteRow)
            script += u"seleciona grid %1\n"
                      u"mensagem \"Confirma eliminação deste registro ?\" responde Sim\n"
                      u"clica btExcluir\n"_s.arg(c.deleteRow);
        // the new row is on disk before the user types anything
        script += u"clica btIncluir\n"
                  u"confere Codigo \"%1\"\n"
                  u"confere-sql \"select count(*) from %2 where Codigo = %1 and Nome is null\" \"1\"\n"
                  u"preenche Nome \"NOVO\"\n"
                  u"clica BotaoGravar\n"
                  u"confere-celula grid %3 \"NOME\" \"NOVO\"\n"
                  u"fecha\n"_s.arg(c.expectedCode)
                      .arg(table())
                      .arg(c.rows.size() + (c.deleteRow ? 0 : 1));
        run(script);
        EXPECT_EQ(listing(), QString::fromUtf16(c.expectedListing).toStdString());
    }
}

TEST_P(CatalogRegister, LeavingAnEntryKeepsOnlyWhatGravarSaved)
{
    // closing with a change asks first; "Sim" drops the entry as Cancelar does
    static constexpr auto kDescarta =
        u"mensagem \"Deseja descartar as alterações?\" icone pergunta botoes SimNao responde Sim\nfecha";
    struct Case {
        const char* what;
        const char16_t* start;  // the steps that open the entry
        const char16_t* end;    // the step that leaves it
        const char16_t* expectedListing;
    };
    const Case cases[] = {
        {"new row cancelled", u"clica btIncluir", u"clica BotaoCancelar", u"1:A,4:B"},
        {"new row, window closed", u"clica btIncluir", kDescarta, u"1:A,4:B"},
        {"new row saved", u"clica btIncluir", u"clica BotaoGravar", u"1:A,4:B,5:Z"},
        {"altered row cancelled", u"seleciona grid 2\nclica btAlterar", u"clica BotaoCancelar", u"1:A,4:B"},
        {"altered row, window closed", u"seleciona grid 2\nclica btAlterar", kDescarta, u"1:A,4:B"},
        {"altered row, closing declined", u"seleciona grid 2\nclica btAlterar",
         u"mensagem \"Deseja descartar as alterações?\" responde Nao\nfecha\n"
         u"confere Nome \"Z\"\nclica BotaoGravar",
         u"1:A,4:Z"},
        {"altered row saved", u"seleciona grid 2\nclica btAlterar", u"clica BotaoGravar", u"1:A,4:Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec(u"DELETE FROM %1"_s.arg(table()));
        seed({{1, u"A"_s}, {4, u"B"_s}});
        run(open() + QString::fromUtf16(c.start) + u"\npreenche Nome \"Z\"\n"_s + QString::fromUtf16(c.end) +
            u"\n"_s);
        EXPECT_EQ(listing(), QString::fromUtf16(c.expectedListing).toStdString());
        // nothing stays locked or half-entered: the next entry on the same screen saves
        run(open() +
            u"seleciona grid 1\nclica btAlterar\npreenche Nome \"A2\"\nclica BotaoGravar\n"
            u"confere-sql \"select Nome from %1 where Codigo = 1\" \"A2\"\nfecha\n"_s.arg(table()));
    }
}

TEST_P(CatalogRegister, ExcluirDeletesOnlyWhenConfirmed)
{
    seed({{1, u"A"_s}, {2, u"B"_s}});
    run(open() +
        u"seleciona grid 2\n"
        u"mensagem \"Confirma eliminação deste registro ?\" icone pergunta botoes SimNao responde Nao\n"
        u"clica btExcluir\n"
        u"confere-linhas grid 2\n"_s);
    EXPECT_EQ(listing(), "1:A,2:B");
    run(u"seleciona grid 2\n"
        u"mensagem \"Confirma eliminação deste registro ?\" responde Sim\n"
        u"clica btExcluir\n"
        u"confere-linhas grid 1\n"
        u"fecha\n"_s);
    EXPECT_EQ(listing(), "1:A");
}

TEST_P(CatalogRegister, ThePanelIsEditableOnlyDuringAnEntryAndTheCodeNever)
{
    seed({{1, u"A"_s}});
    const QString browsing =
        u"confere-estado entryPanel desabilitado\nconfere-estado grid habilitado\n"
        u"confere-estado btIncluir habilitado\nconfere-estado btFechar habilitado\n"
        u"confere-estado BotaoGravar desabilitado\nconfere-estado BotaoCancelar desabilitado\n"_s;
    const QString entering =
        u"confere-estado entryPanel habilitado\nconfere-estado grid desabilitado\n"
        u"confere-estado btIncluir desabilitado\nconfere-estado btAlterar desabilitado\n"
        u"confere-estado btExcluir desabilitado\nconfere-estado btFechar desabilitado\n"
        u"confere-estado BotaoGravar habilitado\nconfere-estado BotaoCancelar habilitado\n"
        u"confere-estado Nome focado\n"_s;
    run(open() + browsing + u"confere Nome \"A\"\nclica btIncluir\n"_s + entering + u"clica BotaoCancelar\n"_s +
        browsing + u"clica btAlterar\n"_s + entering + u"clica BotaoCancelar\n"_s);
    QWidget* w = screens.find(screen());
    ASSERT_TRUE(w);
    auto* codigo = w->findChild<QLineEdit*>(u"Codigo"_s);
    ASSERT_TRUE(codigo);
    EXPECT_TRUE(codigo->isReadOnly());
    EXPECT_FALSE(codigo->focusPolicy() & Qt::TabFocus);
}

TEST_P(CatalogRegister, ACatalogAtItsLastCodeRefusesANewRowAndStaysUsable)
{
    // codes are 16-bit: after 32767 there is no next one
    seed({{32767, u"ULTIMO"_s}});
    run(open() +
        u"mensagem \"Numeração esgotada: Codigo não passa de 32767\" icone erro\n"
        u"clica btIncluir\n"
        u"confere-estado btIncluir habilitado\n"
        u"confere-linhas grid 1\n"
        u"seleciona grid 1\n"
        u"clica btAlterar\n"
        u"preenche Nome \"MUDADO\"\n"
        u"clica BotaoGravar\n"
        u"fecha\n"_s);
    EXPECT_EQ(listing(), "32767:MUDADO");
}

TEST_P(CatalogRegister, TheTableIsOpenOnlyWhileTheScreenIsShown)
{
    run(open() + u"fecha\n"_s);
    auto* w = qobject_cast<RegisterScreen*>(screens.find(screen()));
    ASSERT_TRUE(w) << "closing hides the register, it stays alive";
    EXPECT_FALSE(w->table()->active());
    seed({{7, u"DE OUTRA ESTACAO"_s}});  // written while the screen was closed
    run(open() + u"confere-linhas grid 1\nconfere-celula grid 1 \"NOME\" \"DE OUTRA ESTACAO\"\nfecha\n"_s);
}

TEST(TintingScreens, WithoutACompanyTheRegistersAreNotBuilt)
{
    setDMFilial(nullptr);
    ScreenRegistry screens;
    registerTintingScreens(screens);
    for (const Register& r : kRegisters) {
        const QString name = QString::fromUtf16(r.screen);
        EXPECT_TRUE(screens.contains(name));
        EXPECT_EQ(screens.info(name)->lifetime, ScreenInfo::Lifetime::HideOnClose);
        EXPECT_EQ(screens.create(name), nullptr);
    }
}

}  // namespace
