// The product tables as declared, the reads other screens make of them and
// the upkeep of the shared size catalogue.
#include "ProdutoFixture.h"

#include "CatalogoTamanhos.h"
#include "EstpromaTable.h"
#include "ProdutoConsultas.h"
#include "TableCursor.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

using ProdutoTabelas = test::ProdutoFixture;

TEST(EstpromaLayout, FieldsKeepTheirPositionsTypesAndWidths)
{
    const TableDef t = estpromaTable();
    ASSERT_EQ(t.fields().size(), 142);
    struct Caso {
        int posicao;  // from 1
        QString campo;
        FieldType tipo;
        int largura;
    };
    const Caso casos[] = {
        {1, u"Filial"_s, FieldType::SmallInt, 0},      {2, u"Cod_Reduz"_s, FieldType::Integer, 0},
        {8, u"Nivel6"_s, FieldType::String, 6},        {9, u"NOME1"_s, FieldType::String, 45},
        {44, u"DATA_L1"_s, FieldType::Date, 0},        {55, u"LISTA6"_s, FieldType::Float, 0},
        {62, u"GRADE"_s, FieldType::String, 1},        {97, u"DATA_L10"_s, FieldType::Date, 0},
        {105, u"PER_COMIS10"_s, FieldType::Float, 0},  {122, u"ProdutoControlado"_s, FieldType::Boolean, 0},
        {138, u"TipoItemSped"_s, FieldType::String, 2}, {142, u"Altura"_s, FieldType::Float, 0},
    };
    for (const Caso& c : casos) {
        const FieldDef& f = t.fields().at(c.posicao - 1);
        EXPECT_EQ(f.name, c.campo) << c.posicao;
        EXPECT_EQ(f.type, c.tipo) << c.posicao;
        EXPECT_EQ(f.size, c.largura) << c.posicao;
    }
}

TEST_F(ProdutoTabelas, KeysRefuseASecondRowAndTellBranchKeyedFromSharedTables)
{
    // For each table: the key fields of one row, and whether the branch leads the key.
    struct Caso {
        QString tabela;
        QVariantMap chave;
        bool porFilial;
    };
    const Caso casos[] = {
        {u"Estproma"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 7}}, true},
        {u"Estniv1"_s, {{u"Filial"_s, 1}, {u"Nivel1"_s, u"01"_s}}, true},
        {u"Estniv5"_s, {{u"Filial"_s, 1}, {u"Nivel5"_s, u"000001"_s}}, true},
        {u"Tamanho"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 7}, {u"TAMANHO"_s, u"P"_s}}, true},
        {u"ObseProd"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 7}, {u"Sequencia"_s, 1}}, true},
        {u"Sped_AlteraProduto"_s,
         {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 7}, {u"DataAlteracao"_s, QDate(2024, 1, 2)}}, true},
        {u"NomLista"_s, {{u"Filial"_s, 1}, {u"Lista"_s, 2}}, true},
        {u"AliqBase"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 7}, {u"REGIAOFISC"_s, u"A"_s}}, true},
        {u"Tamanhos"_s, {{u"Codigo"_s, 1}}, false},
        {u"Cores"_s, {{u"Codigo"_s, 1}}, false},
        {u"Carimbo"_s, {{u"Car_Codigo"_s, 1}}, false},
        {u"EstpromaNCM"_s, {{u"NCM"_s, u"32081010"_s}}, false},
        {u"CTDubla"_s, {{u"Codigo"_s, 1}}, false},
        {u"Ferramentas"_s, {{u"Codigo"_s, 1}}, false},
        {u"CodListaServicos"_s, {{u"CListServ"_s, u"14.01"_s}}, false},
    };
    for (const Caso& c : casos) {
        const TableDef& t = store->table(c.tabela);
        EXPECT_EQ(t.primaryKey().size(), c.chave.size()) << c.tabela.toStdString();
        EXPECT_EQ(t.primaryKey().first().compare(u"Filial"_s, Qt::CaseInsensitive) == 0, c.porFilial)
            << c.tabela.toStdString();
        linha(c.tabela, c.chave);
        try {
            linha(c.tabela, c.chave);
            ADD_FAILURE() << "second row accepted in " << c.tabela.toStdString();
        } catch (const DbError& e) {
            EXPECT_TRUE(e.isKeyViolation()) << e.message().toStdString();
        }
    }
}

TEST_F(ProdutoTabelas, ProductIsFoundByBranchAndCodeOnAnyIndex)
{
    produto(1, 7, {{u"NOME1"_s, u"Zarcao"_s}});
    produto(2, 7, {{u"NOME1"_s, u"Da filial 2"_s}});
    produto(1, 8, {{u"NOME1"_s, u"Acrilica"_s}});
    TableCursor estproma(store, u"Estproma"_s);
    estproma.open();
    estproma.setIndexName(u"Nome"_s);
    estproma.refresh();
    ASSERT_TRUE(buscaProduto(estproma, 2, 7));
    EXPECT_EQ(estproma.asString(u"NOME1"_s), u"Da filial 2"_s);
    EXPECT_FALSE(buscaProduto(estproma, 2, 8));

    EXPECT_EQ(nomeProduto(db(), 1, 7), u"Zarcao"_s);
    EXPECT_EQ(nomeProduto(db(), 3, 7), u""_s);
}

TEST_F(ProdutoTabelas, BranchListsAndFamiliesHoldTheirProductsInOrder)
{
    auto p = [this](int filial, qint64 codigo, const QString& nome, const char16_t* situacao, const QVariant& nivel4,
                    const QVariant& lista6) {
        produto(filial, codigo,
                {{u"NOME1"_s, nome}, {u"SITUACAO"_s, QString::fromUtf16(situacao)}, {u"Nivel4"_s, nivel4},
                 {u"LISTA6"_s, lista6}});
    };
    p(1, 1, u"Esmalte"_s, u"1", u"010"_s, 2.0);
    p(1, 2, u"Base"_s, u"1", u"010"_s, QVariant());
    p(1, 3, u"Catalisador"_s, u"0", u"010"_s, 9.0);  // inactive
    p(1, 4, u"Diluente"_s, u"1", u"010"_s, 5.5);
    p(1, 5, u"Aditivo"_s, u"1", u"020"_s, 1.0);      // another family
    p(1, 6, u"Verniz"_s, u"1", QVariant(), 3.0);     // no family
    p(2, 7, u"Acetona"_s, u"1", u"010"_s, 8.0);      // another branch
    auto codigos = [this](const Consulta& c) { return coluna(u"SELECT Cod_Reduz FROM ("_s + c.sql + u") AS consulta"_s, c.params); };
    struct Caso {
        const char* nome;
        Consulta consulta;
        QStringList codigos;
    };
    const Caso casos[] = {
        {"ativos", consultaProdutosDaFilial(1), {u"5"_s, u"2"_s, u"4"_s, u"1"_s, u"6"_s}},
        {"todos", consultaProdutosDaFilial(1, true), {u"5"_s, u"2"_s, u"3"_s, u"4"_s, u"1"_s, u"6"_s}},
        {"familia", consultaFamiliaProduto(1, 2), {u"4"_s, u"1"_s, u"2"_s}},
        {"familia de um inativo", consultaFamiliaProduto(1, 3), {u"4"_s, u"1"_s, u"2"_s}},
        {"sem familia", consultaFamiliaProduto(1, 6), {}},
        {"produto ausente", consultaFamiliaProduto(1, 99), {}},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(codigos(c.consulta), c.codigos) << c.nome;
}

TEST_F(ProdutoTabelas, SizesObservationsAndLevelsAreReadPerProductAndBranch)
{
    tamanho(1, 7, u"M"_s);
    tamanho(1, 7, u"G"_s);
    tamanho(1, 8, u"P"_s);
    tamanho(2, 7, u"GG"_s);
    EXPECT_EQ(tamanhosProduto(db(), 1, 7), (QStringList{u"G"_s, u"M"_s}));
    EXPECT_TRUE(tamanhosProduto(db(), 3, 7).isEmpty());

    auto obs = [this](int filial, qint64 codigo, int seq, const QString& texto) {
        linha(u"ObseProd"_s,
              {{u"Filial"_s, filial}, {u"Cod_Reduz"_s, codigo}, {u"Sequencia"_s, seq}, {u"Observacao"_s, texto}});
    };
    EXPECT_EQ(proximaSequenciaObservacao(db(), 1, 7), 1);
    obs(1, 7, 10, u"terceira"_s);
    obs(1, 7, 2, u"segunda"_s);
    obs(1, 7, 1, u"primeira"_s);
    obs(2, 7, 11, u"outra filial"_s);
    EXPECT_EQ(observacoesProduto(db(), 1, 7), (QStringList{u"primeira"_s, u"segunda"_s, u"terceira"_s}));
    EXPECT_EQ(proximaSequenciaObservacao(db(), 1, 7), 11);

    linha(u"Estniv2"_s, {{u"Filial"_s, 1}, {u"Nivel2"_s, u"001"_s}, {u"Descric2"_s, u"Tintas"_s}});
    linha(u"Estniv2"_s, {{u"Filial"_s, 1}, {u"Nivel2"_s, u"002"_s}, {u"Descric2"_s, u"Embalagens"_s}});
    linha(u"Estniv2"_s, {{u"Filial"_s, 2}, {u"Nivel2"_s, u"003"_s}, {u"Descric2"_s, u"Aditivos"_s}});
    const Consulta niveis = consultaNiveis(2, 1);
    EXPECT_EQ(coluna(u"SELECT Codigo || ' ' || Descricao FROM ("_s + niveis.sql + u") AS consulta"_s, niveis.params),
              (QStringList{u"002 Embalagens"_s, u"001 Tintas"_s}));
    EXPECT_EQ(descricaoNivel(db(), 2, 1, u"001"_s), u"Tintas"_s);
    EXPECT_EQ(descricaoNivel(db(), 2, 1, u"003"_s), u""_s);
    EXPECT_THROW(consultaNiveis(6, 1), std::invalid_argument);
}

TEST_F(ProdutoTabelas, SizeCatalogueTakesTheLowestFreeCodeUpTo999)
{
    struct Caso {
        const char* nome;
        QList<int> ocupados;  // codes taken by sizes named by the code (the field holds 4 letters)
        QString tamanho;
        std::optional<int> novo;
        bool esgotado;
    };
    QList<int> todos;
    for (int i = 1; i <= 999; ++i)
        todos << i;
    const Caso casos[] = {
        {"catalogo vazio", {}, u"P"_s, 1, false},
        {"buraco no meio", {1, 2, 4}, u"P"_s, 3, false},
        {"codigo 1 livre", {2, 3}, u"P"_s, 1, false},
        {"ja catalogado", {1, 2, 4}, u"2"_s, std::nullopt, false},
        {"acima de 999 nao conta", {1, 1000}, u"P"_s, 2, false},
        {"esgotado", todos, u"P"_s, std::nullopt, true},
    };
    for (const Caso& c : casos) {
        {
            Transaction t(db());
            db().exec(u"DELETE FROM Tamanhos"_s);
            for (int codigo : c.ocupados)
                linha(u"Tamanhos"_s, {{u"Codigo"_s, codigo}, {u"Tamanho"_s, QString::number(codigo)}});
            t.commit();
        }
        if (c.esgotado)
            script.expect(u"Não há mais código disponível para tamanho. Contate imediatamente a Ardeno Informática!"_s);
        EXPECT_EQ(atualizaCatalogoTamanhos(db(), c.tamanho), c.novo) << c.nome;
        checkScript();
        const qint64 linhas = c.ocupados.size() + (c.novo ? 1 : 0);
        EXPECT_EQ(sql(u"SELECT COUNT(*) FROM Tamanhos"_s).toLongLong(), linhas) << c.nome;
        if (c.novo) {
            EXPECT_EQ(sql(u"SELECT Tamanho || '/' || Descricao FROM Tamanhos WHERE Codigo = ?"_s, {*c.novo})
                          .toString(),
                      c.tamanho + u"/"_s + c.tamanho)
                << c.nome;
        }
    }
}

TEST_F(ProdutoTabelas, SizeCatalogueRefusesAnEmptyOrOverlongSize)
{
    for (const QString& tamanho : {u""_s, u"XXXXL"_s}) {
        try {
            atualizaCatalogoTamanhos(db(), tamanho);
            ADD_FAILURE() << "accepted '" << tamanho.toStdString() << "'";
        } catch (const DbError& e) {
            EXPECT_EQ(e.message(), u"Tamanho Invalido"_s);
        }
    }
    EXPECT_EQ(sql(u"SELECT COUNT(*) FROM Tamanhos"_s).toLongLong(), 0);
}

}  // namespace
