// The change history of the partners' identification fields (register 0175).
#include "CliforFixture.h"
#include "RecusaNoBanco.h"
#include "TableRoutines.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

const QStringList kColunas = {u"Nome"_s,     u"Endereco"_s, u"Numero"_s,  u"Complemento"_s, u"Bairro"_s, u"CodMunic"_s,
                              u"Cod_Pais"_s, u"Ie"_s,       u"Suframa"_s, u"Cnpj"_s,        u"Cpf"_s};

class HistoricoAlteracaoCliforTest : public test::CliforFixture {
protected:
    void SetUp() override
    {
        CliforFixture::SetUp();
        dm->historico().setRelogio([this] { return hoje; });
        cadastra(10);
    }

    // A partner with a name, an address, registrations and a CPF, unless `outros` says otherwise.
    void cadastra(int codigo, const QVariantMap& outros = {})
    {
        QVariantMap campos{{u"Filial"_s, 1},
                             {u"Cod_Clifor"_s, codigo},
                             {u"NOME"_s, u"TINTAS SOL LTDA"_s},
                             {u"FANTASIA"_s, u"SOL"_s},
                             {u"ENDERECO"_s, u"RUA DAS FLORES"_s},
                             {u"NUMERO"_s, 120},
                             {u"BAIRRO"_s, u"CENTRO"_s},
                             {u"CodMunicipio"_s, u"4314902"_s},
                             {u"Cod_Pais"_s, u"1058"_s},
                             {u"INSC_EST"_s, u"0960012345"_s},
                             {u"CGC"_s, u"52998224725"_s}};
        campos.insert(outros);
        insere(u"Clifor"_s, campos);
    }

    // Changes partner `codigo` the way the register's "Alterar" does.
    void altera(const QVariantMap& campos, int codigo = 10)
    {
        ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, codigo}));
        ASSERT_TRUE(EditaRegistro(dm->TClifor));
        dm->marcaAlteracao();
        for (auto it = campos.begin(); it != campos.end(); ++it)
            dm->TClifor.setValue(it.key(), it.value());
        ASSERT_TRUE(GravaRegistro(dm->TClifor));
    }

    // The history rows of a partner: date and the eleven value columns.
    QStringList historico(int codigo = 10)
    {
        return linhas(u"SELECT Dt_Altera, AnoMes, "_s + kColunas.join(u", "_s) +
                          u" FROM Sped_AlteraClifor WHERE Filial = 1 AND Cod_Clifor = ? ORDER BY Dt_Altera"_s,
                      {codigo});
    }

    // One expected history row: the day, and the old values by column (the rest NULL).
    static QString linha(QDate dia, const QVariantMap& antigos)
    {
        QStringList cols{dia.toString(Qt::ISODate), dia.toString(u"yyyy_MM"_s)};
        for (const QString& c : kColunas)
            cols << antigos.value(c, u"<null>"_s).toString();
        return cols.join(u'|');
    }

    QDate hoje{2024, 5, 31};
};

struct Caso {
    const char* nome;
    QVariantMap antes;  // fields of the partner before the change, besides the usual ones
    QVariantMap mudancas;
    QVariantMap antigos;  // empty: no history row
};

TEST_F(HistoricoAlteracaoCliforTest, OneChangeRecordsTheOldValuesOfTheChangedFieldsOnly)
{
    const QList<Caso> casos = {
        {"trade name only", {}, {{u"FANTASIA"_s, u"SOL TINTAS"_s}}, {}},
        {"name and district", {},
         {{u"NOME"_s, u"TINTAS SOL S/A"_s}, {u"BAIRRO"_s, u"NAVEGANTES"_s}},
         {{u"Nome"_s, u"TINTAS SOL LTDA"_s}, {u"Bairro"_s, u"CENTRO"_s}}},
        {"empty complement filled", {}, {{u"COMPLEMENTO"_s, u"SALA 2"_s}}, {{u"Complemento"_s, u"Vazio"_s}}},
        {"house number, municipality, country", {},
         {{u"NUMERO"_s, 98}, {u"CodMunicipio"_s, u"4304606"_s}, {u"Cod_Pais"_s, u"0639"_s}},
         {{u"Numero"_s, u"120"_s}, {u"CodMunic"_s, u"4314902"_s}, {u"Cod_Pais"_s, u"1058"_s}}},
        {"state and SUFRAMA registrations", {},
         {{u"INSC_EST"_s, u"ISENTO"_s}, {u"InscSuframa"_s, u"200100123"_s}},
         {{u"Ie"_s, u"0960012345"_s}, {u"Suframa"_s, u"Vazio"_s}}},
        {"CPF becomes a CNPJ", {}, {{u"CGC"_s, u"11222333000181"_s}}, {{u"Cnpj"_s, u"Vazio"_s}}},
        {"CPF becomes another CPF", {}, {{u"CGC"_s, u"11144477735"_s}}, {{u"Cpf"_s, u"52998224725"_s}}},
        {"tax number cleared", {}, {{u"CGC"_s, QString()}}, {}},
        {"same values typed again", {}, {{u"NOME"_s, u"TINTAS SOL LTDA"_s}, {u"CGC"_s, u"52998224725"_s}}, {}},
        {"CNPJ becomes a CPF",
         {{u"CGC"_s, u"11222333000181"_s}},
         {{u"CGC"_s, u"52998224725"_s}},
         {{u"Cpf"_s, u"Vazio"_s}}},
        {"CNPJ becomes another CNPJ",
         {{u"CGC"_s, u"11222333000181"_s}},
         {{u"CGC"_s, u"11444777000161"_s}},
         {{u"Cnpj"_s, u"11222333000181"_s}}},
        {"CNPJ typed again", {{u"CGC"_s, u"11222333000181"_s}}, {{u"CGC"_s, u"11222333000181"_s}}, {}},
        {"a 16-character state registration is kept whole",
         {{u"INSC_EST"_s, u"1234567890123456"_s}},
         {{u"INSC_EST"_s, u"0960012345"_s}},
         {{u"Ie"_s, u"1234567890123456"_s}}},
    };
    int codigo = 100;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        cadastra(++codigo, c.antes);
        altera(c.mudancas, codigo);
        const QStringList esperado = c.antigos.isEmpty() ? QStringList() : QStringList{linha(hoje, c.antigos)};
        EXPECT_EQ(historico(codigo), esperado);
        EXPECT_FALSE(dm->historico().marcado());
    }
}

TEST_F(HistoricoAlteracaoCliforTest, ChangesOfOneDayShareARowAndTheNextDayGetsItsOwn)
{
    altera({{u"NOME"_s, u"TINTAS SOL S/A"_s}, {u"BAIRRO"_s, u"NAVEGANTES"_s}});
    altera({{u"NOME"_s, u"SOL TINTAS S/A"_s}, {u"ENDERECO"_s, u"AV BRASIL"_s}});
    // the second change of the name keeps the name it had before that change
    const QString primeiroDia = linha(
        hoje, {{u"Nome"_s, u"TINTAS SOL S/A"_s}, {u"Bairro"_s, u"CENTRO"_s}, {u"Endereco"_s, u"RUA DAS FLORES"_s}});
    EXPECT_EQ(historico(), QStringList{primeiroDia});

    hoje = QDate(2024, 6, 1);
    altera({{u"BAIRRO"_s, u"CENTRO"_s}});
    EXPECT_EQ(historico(), (QStringList{primeiroDia, linha(hoje, {{u"Bairro"_s, u"NAVEGANTES"_s}})}));
    EXPECT_EQ(linhas(u"SELECT AnoMes FROM Sped_AlteraClifor WHERE Dt_Altera = '2024-06-01'"_s),
              QStringList{u"2024_06"_s});
}

TEST_F(HistoricoAlteracaoCliforTest, OnlyAMarkedChangeOfTheSamePartnerIsRecorded)
{
    // a post that no "Alterar" marked
    ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, 10}));
    ASSERT_TRUE(EditaRegistro(dm->TClifor));
    dm->TClifor.setValue(u"NOME"_s, u"OUTRO NOME"_s);
    ASSERT_TRUE(GravaRegistro(dm->TClifor));

    // a change marked and cancelled, then a new partner inserted
    ASSERT_TRUE(EditaRegistro(dm->TClifor));
    dm->marcaAlteracao();
    dm->TClifor.cancel();
    dm->TClifor.insert();
    dm->TClifor.setValue(u"Filial"_s, 1);
    dm->TClifor.setValue(u"Cod_Clifor"_s, 20);
    dm->TClifor.setValue(u"NOME"_s, u"NOVO CLIENTE"_s);
    ASSERT_TRUE(GravaRegistro(dm->TClifor));

    // a change marked and cancelled, then another partner posted by other code
    ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, 10}));
    ASSERT_TRUE(EditaRegistro(dm->TClifor));
    dm->marcaAlteracao();
    dm->TClifor.cancel();
    ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, 20}));
    ASSERT_TRUE(EditaRegistro(dm->TClifor));
    dm->TClifor.setValue(u"BAIRRO"_s, u"CENTRO"_s);
    ASSERT_TRUE(GravaRegistro(dm->TClifor));

    EXPECT_EQ(linhas(u"SELECT count(*) FROM Sped_AlteraClifor"_s), QStringList{u"0"_s});

    // a cancelled change whose mark was dropped leaves nothing behind for the next edit
    ASSERT_TRUE(dm->TClifor.locate({u"Filial"_s, u"Cod_Clifor"_s}, {1, 10}));
    ASSERT_TRUE(EditaRegistro(dm->TClifor));
    dm->marcaAlteracao();
    dm->desmarcaAlteracao();
    dm->TClifor.setValue(u"NOME"_s, u"MAIS UM NOME"_s);
    ASSERT_TRUE(GravaRegistro(dm->TClifor));
    EXPECT_EQ(linhas(u"SELECT count(*) FROM Sped_AlteraClifor"_s), QStringList{u"0"_s});
}

TEST_F(HistoricoAlteracaoCliforTest, AFailingHistoryIsReportedAndThePartnerStaysSaved)
{
    test::recusaNoBanco(db(), u"falha"_s, u"BEFORE INSERT ON Sped_AlteraClifor"_s, {}, u"disco cheio"_s);
    // the engine's text names the statement that failed
    const QString falha = QString::fromUtf16(kFalhaHistoricoClifor) +
                          u"\n\ndisco cheio [INSERT INTO \"Sped_AlteraClifor\" (\"Filial\", \"Cod_Clifor\", "
                          u"\"Dt_Altera\", \"AnoMes\", \"Nome\") VALUES (?, ?, ?, ?, ?)]"_s;
    script.expect(falha);
    altera({{u"NOME"_s, u"TINTAS SOL S/A"_s}});
    checkScript();
    EXPECT_EQ(linhas(u"SELECT NOME FROM Clifor WHERE Cod_Clifor = 10"_s), QStringList{u"TINTAS SOL S/A"_s});
    EXPECT_EQ(linhas(u"SELECT count(*) FROM Sped_AlteraClifor"_s), QStringList{u"0"_s});
    EXPECT_FALSE(dm->historico().marcado());
    EXPECT_EQ(dm->TClifor.state(), TableCursor::State::Browse);

    // inside the save's own transaction the failure undoes the history only
    {
        Transaction tr(db());
        script.expect(falha);
        altera({{u"NOME"_s, u"SOL S/A"_s}});
        tr.commit();
    }
    checkScript();
    EXPECT_EQ(linhas(u"SELECT NOME FROM Clifor WHERE Cod_Clifor = 10"_s), QStringList{u"SOL S/A"_s});
}

}  // namespace
