// The product record's rules: classification slices, derived values, the
// defaults and invariants of a save, the description-change log and the copy
// of the last cost into price list 6.
#include "ProdutoFixture.h"

#include "Produto.h"
#include "TableCursor.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

class ProdutoRegras : public test::ProdutoFixture {
protected:
    void SetUp() override
    {
        ProdutoFixture::SetUp();
        cursor = std::make_unique<TableCursor>(store, u"Estproma"_s);
        cursor->open();
    }
    // A cursor positioned on the product, after a refresh.
    TableCursor& em(int filial, qint64 codigo)
    {
        cursor->refresh();
        EXPECT_TRUE(cursor->locate({u"Filial"_s, u"Cod_Reduz"_s}, {filial, codigo}));
        return *cursor;
    }
    // Changes NOME1 as the register does: edit, remember, set, post, log.
    void renomeia(LogDescricaoProduto& log, qint64 codigo, const QString& nome, QDate dia)
    {
        TableCursor& p = em(1, codigo);
        p.edit();
        log.lembra(p);
        p.setValue(u"NOME1"_s, nome);
        p.post();
        log.aposGravar(p, dia);
    }
    QStringList logDe(qint64 codigo)
    {
        return coluna(u"SELECT DataAlteracao || ' ' || Descricao FROM Sped_AlteraProduto "
                      "WHERE Filial = 1 AND Cod_Reduz = ? ORDER BY DataAlteracao"_s,
                      {codigo});
    }

    std::unique_ptr<TableCursor> cursor;
};

TEST(ClassificacaoProduto, TypedSearchIsCutIntoTheLevelsItReaches)
{
    struct Caso {
        QString texto;
        QStringList classificacao;
        QStringList nivelAlfa;
    };
    const QString nome50 = QString(50, u'N');
    const Caso casos[] = {
        {u""_s, {}, {}},
        {u"0"_s, {u"0"_s}, {u"0"_s}},
        {u"0100"_s, {u"01"_s, u"00"_s}, {u"01"_s, u"00"_s}},
        {u"010020003004"_s, {u"01"_s, u"002"_s, u"0003"_s, u"004"_s}, {u"01"_s, u"002"_s, u"0003"_s, u"004"_s}},
        {u"010020003004000001001234"_s,
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, u"001234"_s},
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, u"001234"_s}},
        {u"010020003004000001TINTA"_s,
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, u"TINTA"_s},
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, u"TINTA"_s}},
        {u"010020003004000001"_s + nome50,
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, u"NNNNNN"_s},
         {u"01"_s, u"002"_s, u"0003"_s, u"004"_s, u"000001"_s, QString(30, u'N')}},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(cortaClassificacao(c.texto), c.classificacao) << c.texto.toStdString();
        EXPECT_EQ(cortaNivelAlfa(c.texto), c.nivelAlfa) << c.texto.toStdString();
    }
}

TEST_F(ProdutoRegras, TypedClassificationFindsTheNearestProductOnItsIndex)
{
    produto(1, 10, {{u"Nivel1"_s, u"01"_s}, {u"Nivel2"_s, u"002"_s}, {u"Nivel3"_s, u"0001"_s}});
    produto(1, 11, {{u"Nivel1"_s, u"01"_s}, {u"Nivel2"_s, u"003"_s}, {u"Nivel3"_s, u"0001"_s}});
    produto(1, 12, {{u"Nivel1"_s, u"02"_s}, {u"Nivel2"_s, u"001"_s}});
    cursor->setIndexName(u"Classificacao"_s);
    cursor->refresh();
    QVariantList chave{1};
    for (const QString& parte : cortaClassificacao(u"010030"_s))
        chave << parte;
    ASSERT_TRUE(cursor->findNearest(chave));
    EXPECT_EQ(cursor->asInteger(u"Cod_Reduz"_s), 11);
}

TEST_F(ProdutoRegras, DerivedValuesFollowTheRowAndItsBranch)
{
    linha(u"Estniv3"_s, {{u"Filial"_s, 1}, {u"Nivel3"_s, u"0007"_s}, {u"Descric3"_s, u"Esmaltes sinteticos"_s}});
    linha(u"Estniv3"_s, {{u"Filial"_s, 2}, {u"Nivel3"_s, u"0008"_s}, {u"Descric3"_s, u"Da outra filial"_s}});
    linha(u"Estniv3"_s, {{u"Filial"_s, 1}, {u"Nivel3"_s, u"0009"_s}, {u"Descric3"_s, QString(40, u'D')}});
    struct Caso {
        qint64 codigo;
        QVariantMap campos;
        QString classi;
        qint64 saldoDecimos;  // ten-thousandths
        QString nomeNivel3;
    };
    const Caso casos[] = {
        {1,
         {{u"Nivel1"_s, u"01"_s}, {u"Nivel2"_s, u"002"_s}, {u"Nivel3"_s, u"0007"_s}, {u"Nivel4"_s, u"004"_s},
          {u"Nivel5"_s, u"000001"_s}, {u"Nivel6"_s, u"000001"_s}, {u"QTD_FIS"_s, 10.0}, {u"QTD_EMP1"_s, 12.5}},
         u"010020007004000001"_s, -25000, u"Esmaltes sinteticos"_s},
        {2, {{u"Nivel3"_s, u"0008"_s}, {u"QTD_FIS"_s, 3.25}}, u"0008"_s, 32500, u""_s},  // level 3 of branch 2
        {3, {{u"Nivel3"_s, u"0001"_s}, {u"QTD_EMP1"_s, 0.3333}}, u"0001"_s, -3333, u""_s},  // no Estniv3 row
        {4, {{u"Nivel3"_s, u"0009"_s}}, u"0009"_s, 0, QString(30, u'D')},
        {5, {}, u""_s, 0, u""_s},
    };
    for (const Caso& c : casos)
        produto(1, c.codigo, c.campos);
    for (const Caso& c : casos) {
        const DerivadosProduto d = calculaDerivados(em(1, c.codigo));
        EXPECT_EQ(d.Classi, c.classi) << c.codigo;
        EXPECT_EQ(d.SaldoFisico.raw(), c.saldoDecimos) << c.codigo;
        EXPECT_EQ(d.NomeNivel3, c.nomeNivel3) << c.codigo;
    }
}

TEST(Nivel6, IsTheCodeInSixDigitsCutToTheField)
{
    const std::pair<qint64, QString> casos[] = {
        {1234, u"001234"_s}, {4014510, u"401451"_s}, {0, u"000000"_s}, {999999, u"999999"_s}, {1, u"000001"_s}};
    for (const auto& [codigo, nivel6] : casos)
        EXPECT_EQ(nivel6DoCodigo(codigo), nivel6) << codigo;
}

TEST_F(ProdutoRegras, NewProductStartsWithTheDefaults)
{
    const QDate hoje(2024, 5, 17);
    cursor->insert();
    iniciaProduto(*cursor, 3, 4014510, hoje);
    cursor->post();
    EXPECT_EQ(test::linhasJuntas(db(), u"SELECT Filial, Cod_Reduz, GRADE, CONVERSAO, SITUACAO, SIT_TRIBUT, Nivel5, Nivel6,"
                                     " TRANSF_ICM, ProdutoControlado, TipoComplementoNfe, DataCadastro FROM Estproma"_s),
              u"3|4014510|0|1|1|0|000001|401451|100|0|0|2024-05-17"_s);
}

TEST_F(ProdutoRegras, SaveKeepsNivel6AndGradeWithTheSizesOfThatProductOnly)
{
    produto(1, 1234, {{u"Nivel6"_s, u"999999"_s}, {u"GRADE"_s, u"1"_s}});
    tamanho(2, 1234, u"P"_s);  // same code in another branch
    tamanho(1, 1235, u"P"_s);  // another product
    auto salva = [this] {
        TableCursor& p = em(1, 1234);
        p.edit();
        aplicaInvariantes(p);
        p.post();
        return sql(u"SELECT Nivel6 || ' ' || GRADE FROM Estproma WHERE Filial = 1 AND Cod_Reduz = 1234"_s)
            .toString();
    };
    EXPECT_EQ(salva(), u"001234 0"_s);
    tamanho(1, 1234, u"M"_s);
    EXPECT_EQ(salva(), u"001234 1"_s);
    db().exec(u"DELETE FROM Tamanho WHERE Filial = 1 AND Cod_Reduz = 1234"_s);
    EXPECT_EQ(salva(), u"001234 0"_s);
}

TEST_F(ProdutoRegras, FirstMissingRequiredFieldStopsTheSaveWithItsMessage)
{
    const QString unidade = u"Campo unidade padrão do produto deve ser preenchido!"_s;
    const QString conversao = u"Campo Conversão deve ser preenchido! Caso não exista conversão preencha com 1"_s;
    const QString origem = u"Campo origem do produto deve ser preenchido!"_s;
    const QString tipo = u"Campo tipo do produto deve ser preenchido!"_s;
    const QString nome = u"Campo nome do produto deve ser preenchido!"_s;
    struct Caso {
        QVariantMap vazios;
        QString mensagem;
    };
    const Caso casos[] = {
        {{}, u""_s},
        {{{u"CONVERSAO"_s, 0.0}}, u""_s},  // zero is a value
        {{{u"UNID_PAD"_s, QVariant()}}, unidade},
        {{{u"UNID_PAD"_s, u"   "_s}}, unidade},
        {{{u"CONVERSAO"_s, QVariant()}}, conversao},
        {{{u"SIT_TRIBUT"_s, QVariant()}}, origem},
        {{{u"TipoItemSped"_s, QVariant()}}, tipo},
        {{{u"NOME1"_s, u" "_s}}, nome},
        {{{u"NOME1"_s, QVariant()}, {u"SIT_TRIBUT"_s, QVariant()}}, origem},
        {{{u"NOME1"_s, QVariant()}, {u"UNID_PAD"_s, QVariant()}, {u"TipoItemSped"_s, QVariant()}}, unidade},
    };
    for (const Caso& c : casos) {
        cursor->insert();
        iniciaProduto(*cursor, 1, 7);
        cursor->setValue(u"UNID_PAD"_s, u"KG"_s);
        cursor->setValue(u"TipoItemSped"_s, u"04"_s);
        cursor->setValue(u"NOME1"_s, u"Tinta"_s);
        for (auto it = c.vazios.begin(); it != c.vazios.end(); ++it)
            cursor->setValue(it.key(), it.value());
        EXPECT_EQ(campoObrigatorioAusente(*cursor), c.mensagem) << c.vazios.keys().join(u',').toStdString();
        if (!c.mensagem.isEmpty())
            script.expect(c.mensagem);
        EXPECT_EQ(confereCamposObrigatorios(*cursor), c.mensagem.isEmpty());
        checkScript();
        cursor->cancel();
    }
}

TEST_F(ProdutoRegras, DescriptionLogKeepsOneRowPerDayWithTheDescriptionBeforeTheLastChange)
{
    const QDate dia(2024, 3, 4);
    produto(1, 5, {{u"NOME1"_s, u"A"_s}});
    produto(1, 6, {{u"NOME1"_s, u"X"_s}});
    LogDescricaoProduto log;
    renomeia(log, 5, u"B"_s, dia);
    renomeia(log, 5, u"C"_s, dia);
    EXPECT_EQ(logDe(5), QStringList{u"2024-03-04 B"_s});
    renomeia(log, 5, u"D"_s, dia.addDays(1));
    EXPECT_EQ(logDe(5), (QStringList{u"2024-03-04 B"_s, u"2024-03-05 C"_s}));

    renomeia(log, 6, u"X"_s, dia);  // posted without a change of description
    EXPECT_TRUE(logDe(6).isEmpty());
}

TEST_F(ProdutoRegras, DescriptionLogIsNotWrittenForAnInsertOrAfterThePostThatUsedIt)
{
    LogDescricaoProduto log;
    cursor->insert();
    iniciaProduto(*cursor, 1, 8);
    cursor->post();
    TableCursor& p = em(1, 8);
    p.edit();  // the insert goes on editing the posted row
    p.setValue(u"NOME1"_s, u"Nova"_s);
    p.post();
    EXPECT_FALSE(log.aposGravar(p));

    p.edit();
    log.lembra(p);
    p.setValue(u"NOME1"_s, u"Outra"_s);
    p.post();
    EXPECT_TRUE(log.aposGravar(p));
    EXPECT_FALSE(log.lembrando());
    p.edit();
    p.setValue(u"NOME1"_s, u"Terceira"_s);
    p.post();
    EXPECT_FALSE(log.aposGravar(p));  // nothing remembered since the last post
    EXPECT_EQ(sql(u"SELECT COUNT(*) || ' ' || MAX(Descricao) FROM Sped_AlteraProduto"_s).toString(), u"1 Nova"_s);
}

TEST_F(ProdutoRegras, GravaCustoNaLista6FillsOnlyEmptyLista6InEveryBranch)
{
    produto(1, 1, {{u"ULTIMOCUST"_s, 2.5}});
    produto(1, 2, {{u"ULTIMOCUST"_s, 3.0}, {u"LISTA6"_s, 0.0}});
    produto(1, 3, {{u"ULTIMOCUST"_s, 4.0}, {u"LISTA6"_s, 7.25}});
    produto(2, 1, {{u"ULTIMOCUST"_s, 5.0}});
    produto(2, 2, {});  // no last cost: the statement touches it, and it stays empty
    EXPECT_EQ(gravaCustoNaLista6(db()), 3);
    // branch/code/list 6, the last one blank
    EXPECT_EQ(test::linhasJuntas(db(), u"SELECT Filial, Cod_Reduz, LISTA6 FROM Estproma ORDER BY Filial, Cod_Reduz"_s,
                                 u"/"_s, u", "_s),
              u"1/1/2.5, 1/2/0, 1/3/7.25, 2/1/5, 2/2/"_s);
}

}  // namespace
