// The packaging registers driven through the scenario runner, opened by name
// from the registry their subsystem fills: the catalogue with the code it
// gives, and the packagings of a product with the packaging chosen before the
// weights are typed.
#include "CompanyScreens.h"
#include "EmbalagemTables.h"
#include "EstpromaTable.h"
#include "PackagingScreens.h"
#include "uCadEmbalPorProd.h"

#include <QTableView>
#include <QTest>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class EmbalagemTelas : public test::CompanyScreens {
protected:
    void declareTables(Catalog& c) override
    {
        declarePackagingTables(c);
        c.add(estpromaTable());
    }
    void registerScreens(ScreenRegistry& registry) override { registerPackagingScreens(registry); }

    void addPackaging(int codigo, const QString& descricao)
    {
        exec(u"INSERT INTO EMBALAGE (Codigo, Descricao, Peso_Liq, Peso_Embal) VALUES (?, ?, 1, 0.1)"_s,
             {codigo, descricao});
    }
    QString sql(const QString& text) { return CompanyScreens::sql(text).toString(); }
};

// ---- the catalogue ----------------------------------------------------------------

TEST_F(EmbalagemTelas, CatalogueIncluirGivesTheNextCodeAndGravarStoresTheRow)
{
    struct Case {
        const char* name;
        QList<int> existing;
        QString code;
        int row;  // of the new packaging in the grid
    };
    const Case cases[] = {
        {"empty catalogue", {}, u"1"_s, 1},
        {"codes 1, 2 and 7", {1, 2, 7}, u"8"_s, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(u"DELETE FROM EMBALAGE"_s);
        for (int codigo : c.existing)
            addPackaging(codigo, u"Lata %1"_s.arg(codigo));
        run(uR"S(
            abre TfoCadEmbalagem
            confere-titulo "Cadastro de Embalagens"
            confere-estado Descricao desabilitado
            clica Incluir
            confere Codigo "%1"
            confere-estado Descricao focado
            confere-estado grid desabilitado
            confere-estado btIncluir desabilitado
            confere-estado btAlterar desabilitado
            confere-estado btExcluir desabilitado
            confere-estado btFechar desabilitado
            confere-estado BotaoCancelar habilitado
            preenche Descricao "Galão 3,6 L"
            preenche Peso_Liq "3,6"
            preenche Peso_Embal "0,45"
            clica Gravar
            confere-estado Descricao desabilitado
            confere-estado btIncluir habilitado
            confere-sql "select Descricao from EMBALAGE where Codigo = %1" "Galão 3,6 L"
            confere-sql "select Peso_Liq from EMBALAGE where Codigo = %1" "3.6"
            confere-sql "select Peso_Embal from EMBALAGE where Codigo = %1" "0.45"
            confere-celula grid %2 "Código" "%1"
            confere-celula grid %2 "Descrição" "Galão 3,6 L"
            fecha
        )S"_s.arg(c.code).arg(c.row));
    }
}

TEST_F(EmbalagemTelas, CatalogueWithTheLargestCodeTakenRefusesIncluir)
{
    addPackaging(32767, u"Ultima"_s);
    run(uR"S(
        abre TfoCadEmbalagem
        mensagem "Não há mais códigos livres para embalagens: o maior código possível (32767) já existe." icone erro
        clica Incluir
        confere-estado btIncluir habilitado
        confere-estado BotaoGravar desabilitado
        confere-sql "select count(*) from EMBALAGE" "1"
    )S"_s);
}

TEST_F(EmbalagemTelas, CatalogueAlterarChangesOnlyTheSelectedRow)
{
    addPackaging(1, u"Lata 18 L"_s);
    addPackaging(2, u"Galao"_s);
    run(uR"S(
        abre TfoCadEmbalagem
        seleciona grid 2
        confere Descricao "Galao"
        clica Alterar
        confere-estado Descricao focado
        confere-estado btFechar desabilitado
        preenche Descricao "Galão 3,6 L"
        preenche Peso_Embal "0,5"
        clica Gravar
        confere-sql "select Descricao from EMBALAGE where Codigo = 2" "Galão 3,6 L"
        confere-sql "select Peso_Liq from EMBALAGE where Codigo = 2" "1"
        confere-sql "select Peso_Embal from EMBALAGE where Codigo = 2" "0.5"
        confere-sql "select Descricao from EMBALAGE where Codigo = 1" "Lata 18 L"
        confere-sql "select Peso_Embal from EMBALAGE where Codigo = 1" "0.1"
        confere-celula grid 2 "Descrição" "Galão 3,6 L"
    )S"_s);
}

TEST_F(EmbalagemTelas, CatalogueExcluirDeletesOnlyWhenConfirmed)
{
    addPackaging(1, u"Lata 18 L"_s);
    addPackaging(2, u"Galao"_s);
    run(uR"S(
        abre TfoCadEmbalagem
        seleciona grid 2
        mensagem "Confirma eliminação deste registro ?" botoes SimNao responde Nao
        clica Excluir
        confere-linhas grid 2
        confere-sql "select count(*) from EMBALAGE" "2"
        seleciona grid 2
        mensagem "Confirma eliminação deste registro ?" responde Sim
        clica Excluir
        confere-linhas grid 1
        confere-sql "select count(*) || '/' || min(Codigo) from EMBALAGE" "1/1"
    )S"_s);
}

TEST_F(EmbalagemTelas, CatalogueBadInputIsRefusedAndWritesNothing)
{
    addPackaging(1, u"Lata 18 L"_s);
    struct Case {
        const char* name;
        QString button;
        QString field;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"letters as a new weight", u"Incluir"_s, u"Peso_Liq"_s, u"abc"_s,
         u"'abc' não é um número válido (campo Peso Liquido)"_s},
        {"negative new package weight", u"Incluir"_s, u"Peso_Embal"_s, u"-1"_s,
         u"O peso da embalagem não pode ser negativo!"_s},
        {"letters in an altered weight", u"Alterar"_s, u"Peso_Embal"_s, u"1,2x"_s,
         u"'1,2x' não é um número válido (campo Peso Embal.)"_s},
        {"negative altered content", u"Alterar"_s, u"Peso_Liq"_s, u"-3,5"_s,
         u"O peso líquido não pode ser negativo!"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        run(uR"S(
            abre TfoCadEmbalagem
            clica %1
            preenche Descricao "Alterada"
            preenche %2 "%3"
            mensagem "%4" icone erro
            clica Gravar
            confere-estado BotaoGravar habilitado
            clica Cancelar
            confere-sql "select count(*) from EMBALAGE" "1"
            confere-sql "select count(*) from EMBALAGE where Descricao = 'Lata 18 L' and Peso_Liq = 1 and Peso_Embal = 0.1" "1"
            fecha
        )S"_s.arg(c.button, c.field, c.text, c.message));
    }
}

// ---- the packagings of a product ------------------------------------------------------

class EmbalagemPorProduto : public EmbalagemTelas {
protected:
    void SetUp() override
    {
        EmbalagemTelas::SetUp();
        addProduct(1, 10, u"Tinta Acrílica Branca"_s, 1.35);
        addProduct(1, 20, u"Esmalte Sintético Azul"_s, 0.98);
        addProduct(2, 10, u"Tinta Acrílica Branca"_s, 1.35);  // the same code in another branch
        addProduct(2, 30, u"verniz marítimo"_s, 0.9);
        addPackaging(1, u"Lata 18 L"_s);
        addPackaging(2, u"Galão 3,6 L"_s);
        addPackaging(3, u"Balde 20 L"_s);
        exec(u"INSERT INTO EmbProd (Cod_Reduz, Codigo, Peso_Liq, Peso_Embal) VALUES (10, 1, 18, 1.2), (10, 2, 3.6, 0.4)"_s);
    }
    void addProduct(int filial, int codReduz, const QString& nome, double densidade)
    {
        exec(u"INSERT INTO Estproma (Filial, Cod_Reduz, NOME1, Densidade) VALUES (?, ?, ?, ?)"_s,
             {filial, codReduz, nome, densidade});
    }
    // The script that opens the screen and shows the packagings of the
    // product on that row of the product list (ordered by name: Esmalte 20,
    // Tinta 10 of branch 1, Tinta 10 of branch 2, verniz 30).
    static QString openOn(int row)
    {
        return uR"S(
            abre TfoCadEmbalPorProd
            confere-titulo "Cadastro de Embalagens por Produto"
            seleciona grProdutos %1
            clica btOk
            confere-estado grProdutos oculto
        )S"_s.arg(row);
    }
    QString embProd()
    {
        QStringList linhas;
        Statement st = store->db().prepare(
            u"select Cod_Reduz, Codigo, Peso_Liq, Peso_Embal from EmbProd order by Cod_Reduz, Codigo"_s);
        while (st.next())
            linhas << u"%1:%2=%3/%4"_s.arg(st.intValue(0))
                          .arg(st.intValue(1))
                          .arg(st.doubleValue(2), 0, 'f', 2)
                          .arg(st.doubleValue(3), 0, 'f', 2);
        return linhas.join(u' ');
    }
    static constexpr auto seeded = u"10:1=18.00/1.20 10:2=3.60/0.40";
};

TEST_F(EmbalagemPorProduto, ProductListShowsEveryBranchAndTheSearchFindsTheStartOfTheName)
{
    run(uR"S(
        abre TfoCadEmbalPorProd
        confere-estado grProdutos focado
        confere-estado grid oculto
        confere-linhas grProdutos 4
        confere-celula grProdutos 1 "Descrição" "Esmalte Sintético Azul"
        confere-celula grProdutos 2 "Código" "10"
        confere-celula grProdutos 3 "Código" "10"
    )S"_s);
    auto* screen = qobject_cast<TfoCadEmbalPorProd*>(screens.find(u"TfoCadEmbalPorProd"_s));
    ASSERT_TRUE(screen);
    struct Case {
        QString step;
        int row;  // current row afterwards, from 0
    };
    // Each step starts from the row the previous one left; "preenche" clears
    // the box first, then types key by key, each key searching again.
    const Case cases[] = {
        {u"preenche edPesquisa \"tin\""_s, 1},                     // case ignored
        {u"preenche edPesquisa \"ESMALTE SINTÉTICO\""_s, 0},       // accented capitals too
        {u"preenche edPesquisa \"Verniz\""_s, 3},                  // a lower-case name, sorted last
        {u"tecla X"_s, 3},                                          // "VernizX" starts no name: the grid stays
        {u"preenche edPesquisa \"Tinta Acrílica Brancas\""_s, 1},  // stays on the last name matched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step.toStdString());
        run(c.step);
        EXPECT_EQ(screen->productGrid()->currentIndex().row(), c.row);
    }
}

TEST_F(EmbalagemPorProduto, OkListsThePackagingsOfTheProductSharedByEveryBranch)
{
    struct Case {
        int row;
        int packagings;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 2}, Case{1, 0}}) {
        SCOPED_TRACE(c.row);
        run(openOn(c.row) + uR"S(
            confere-estado grid focado
            confere-linhas grid %1
            confere-estado btVoltar habilitado
            clica Voltar
            confere-estado grid oculto
            confere-estado grProdutos focado
            fecha
        )S"_s.arg(c.packagings));
    }
    run(openOn(2) + uR"S(
        confere-celula grid 1 "Código" "1"
        confere-celula grid 1 "Peso Liquido" "18,00"
        confere-celula grid 2 "Peso Embalagem" "0,40"
        seleciona grid 2
        confere cbEmbalagem "Galão 3,6 L"
        confere Peso_Liq "3,60"
    )S"_s);
}

TEST_F(EmbalagemPorProduto, ADoubleClickOnAProductOpensItAsOkDoes)
{
    run(u"abre TfoCadEmbalPorProd\n"_s);
    auto* screen = qobject_cast<TfoCadEmbalPorProd*>(screens.find(u"TfoCadEmbalPorProd"_s));
    ASSERT_TRUE(screen);
    QTableView* products = screen->productGrid();
    const QRect tinta = products->visualRect(products->model()->index(1, 0));  // product 10 of branch 1
    ASSERT_TRUE(tinta.isValid());
    QTest::mouseClick(products->viewport(), Qt::LeftButton, {}, tinta.center());
    QTest::mouseDClick(products->viewport(), Qt::LeftButton, {}, tinta.center());
    EXPECT_FALSE(products->isVisible());
    EXPECT_TRUE(screen->grid()->isVisible());
    EXPECT_EQ(screen->grid()->model()->rowCount(), 2);
}

TEST_F(EmbalagemPorProduto, IncluirChoosesThePackagingBeforeTheWeights)
{
    run(openOn(1) + uR"S(
        clica Incluir
        confere-estado cbEmbalagem focado
        confere-estado btOkEmbalagem habilitado
        confere-estado Peso_Liq desabilitado
        confere-estado BotaoGravar desabilitado
        confere-estado BotaoCancelar desabilitado
        confere-estado btAlterar desabilitado
        confere-estado grid desabilitado
        confere-estado btVoltar habilitado
        preenche cbEmbalagem "Balde 20 L"
        clica btOkEmbalagem
        confere-estado Peso_Liq focado
        confere-estado cbEmbalagem desabilitado
        confere-estado btOkEmbalagem desabilitado
        confere-estado btVoltar desabilitado
        confere-estado BotaoGravar habilitado
        preenche Peso_Liq "20"
        preenche Peso_Embal "1,15"
        clica Gravar
        confere-estado btVoltar habilitado
        confere-linhas grid 1
        confere-celula grid 1 "Código" "3"
    )S"_s);
    EXPECT_EQ(embProd(), u"10:1=18.00/1.20 10:2=3.60/0.40 20:3=20.00/1.15"_s);
}

TEST_F(EmbalagemPorProduto, ASecondRowForTheSamePackagingIsRefusedBeforeTheWeights)
{
    run(openOn(2) + uR"S(
        clica Incluir
        preenche cbEmbalagem "Lata 18 L"
        mensagem "Registro já existente!"
        clica btOkEmbalagem
        confere-estado btIncluir habilitado
        confere-estado grid habilitado
        confere-estado BotaoGravar desabilitado
        confere-estado cbEmbalagem desabilitado
        confere-linhas grid 2
        clica Incluir
        preenche cbEmbalagem "Balde 20 L"
        clica btOkEmbalagem
        preenche Peso_Liq "19"
        clica Gravar
    )S"_s);
    EXPECT_EQ(embProd(), u"10:1=18.00/1.20 10:2=3.60/0.40 10:3=19.00/0.00"_s);
}

TEST_F(EmbalagemPorProduto, AlterarChangesTheWeightsAndKeepsThePackaging)
{
    run(openOn(2) + uR"S(
        seleciona grid 2
        clica Alterar
        confere-estado Peso_Liq focado
        confere-estado cbEmbalagem desabilitado
        confere-estado btVoltar desabilitado
        confere-estado btIncluir desabilitado
        preenche Peso_Liq "3,75"
        clica Gravar
        confere-celula grid 2 "Peso Liquido" "3,75"
    )S"_s);
    EXPECT_EQ(embProd(), u"10:1=18.00/1.20 10:2=3.75/0.40"_s);
}

TEST_F(EmbalagemPorProduto, ExcluirDeletesOnlyWhenConfirmed)
{
    run(openOn(2) + uR"S(
        mensagem "Confirma eliminação deste registro ?" responde Nao
        clica Excluir
        confere-linhas grid 2
        mensagem "Confirma eliminação deste registro ?" responde Sim
        clica Excluir
        confere-linhas grid 1
        confere-celula grid 1 "Código" "2"
    )S"_s);
    EXPECT_EQ(embProd(), u"10:2=3.60/0.40"_s);
}

TEST_F(EmbalagemPorProduto, BadInputIsRefusedAndWritesNothing)
{
    struct Case {
        const char* name;
        QString steps;
    };
    const Case cases[] = {
        {"no packaging chosen", uR"S(
            clica Incluir
            mensagem "Escolha uma embalagem da lista!"
            clica btOkEmbalagem
            confere-estado cbEmbalagem focado
            clica Voltar
        )S"_s},
        {"letters in a new weight", uR"S(
            clica Incluir
            preenche cbEmbalagem "Balde 20 L"
            clica btOkEmbalagem
            preenche Peso_Liq "vinte"
            mensagem "'vinte' não é um número válido (campo Peso Liquido)" icone erro
            clica Gravar
            confere-estado BotaoGravar habilitado
            clica Cancelar
        )S"_s},
        {"negative altered weight", uR"S(
            clica Alterar
            preenche Peso_Embal "-0,4"
            mensagem "O peso da embalagem não pode ser negativo!" icone erro
            clica Gravar
            clica Cancelar
        )S"_s},
        {"Voltar while the packaging is chosen", uR"S(
            clica Incluir
            preenche cbEmbalagem "Balde 20 L"
            clica Voltar
            confere-estado grProdutos visivel
            clica btOk
            confere-estado btIncluir habilitado
        )S"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        run(openOn(2) + c.steps + u"\nfecha\n"_s);
        EXPECT_EQ(embProd(), QString::fromUtf16(seeded));
    }
}

TEST_F(EmbalagemPorProduto, APackagingDeletedFromTheCatalogueStaysListedWithItsWeights)
{
    run(uR"S(
        abre TfoCadEmbalagem
        seleciona grid 2
        mensagem "Confirma eliminação deste registro ?" responde Sim
        clica Excluir
        fecha
    )S"_s + openOn(2) + uR"S(
        confere-linhas grid 2
        confere-celula grid 2 "Código" "2"
        confere-celula grid 2 "Peso Liquido" "3,60"
        seleciona grid 2
        confere cbEmbalagem ""
        clica Alterar
        preenche Peso_Embal "0,5"
        clica Gravar
    )S"_s);
    EXPECT_EQ(sql(u"select count(*) from EMBALAGE where Codigo = 2"_s), u"0"_s);
    EXPECT_EQ(embProd(), u"10:1=18.00/1.20 10:2=3.60/0.50"_s);
}

}  // namespace
