// The monthly audit log and its vocabulary.
#include "AccessTables.h"
#include "L_AutSen.h"
#include "Linhas.h"
#include "ScriptedTest.h"

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

class GravaLogSistemaTest : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        Catalog c;
        declareAccessTables(c);
        store = Store::openCompany(tmp.path(), c);
    }
    Database& db() { return store->db(); }
    QStringList linhas(const QString& sql)
    {
        QStringList out;
        Statement st = db().prepare(sql);
        while (st.next()) {
            QStringList cols;
            for (int i = 0; i < st.columnCount(); ++i)
                cols << st.textValue(i);
            out << cols.join(u'|');
        }
        return out;
    }
    void grava(const QDateTime& quando, const QString& janela, const QString& acao, const QString& tabela,
               const QString& usuario = u"ANA"_s, const QString& log = u"texto"_s)
    {
        GravaLogSistema(*store, quando, 3, janela, acao, log, tabela, usuario);
    }
    std::shared_ptr<Store> store;
    const QDateTime maio{QDate(2024, 5, 31), QTime(23, 59, 58)};
    const QDateTime junho{QDate(2024, 6, 1), QTime(0, 0, 1)};
};

TEST_F(GravaLogSistemaTest, FirstRowOfAMonthCreatesItsTableWithTheKeyIndex)
{
    EXPECT_FALSE(db().tableExists(u"LogSys_05_2024"_s));
    grava(maio, u"FoCadProduto"_s, u"I"_s, u"Estproma"_s);
    ASSERT_TRUE(db().tableExists(u"LogSys_05_2024"_s));
    EXPECT_FALSE(db().tableExists(u"LogSys_06_2024"_s));
    EXPECT_EQ(linhas(u"SELECT Filial, Data, Hora, Janela, Acao, Usuario, AutoInc, Tabela, Log FROM LogSys_05_2024"_s),
              QStringList{u"3|2024-05-31|23:59:58|FoCadProduto|I|ANA|1|Estproma|texto"_s});
    EXPECT_TRUE(db().indexNames().contains(u"LogSys_05_2024_PK"_s, Qt::CaseInsensitive));
    // the same key again is refused, whatever the log says
    const QVariantMap linha{{u"Filial"_s, 3},          {u"Data"_s, QDate(2024, 5, 31)}, {u"Hora"_s, QTime(23, 59, 58)},
                            {u"Janela"_s, u"FoCadProduto"_s}, {u"Acao"_s, u"I"_s},      {u"Usuario"_s, u"ANA"_s},
                            {u"AutoInc"_s, 1},         {u"Tabela"_s, u"Outra"_s},      {u"Log"_s, u"outro"_s}};
    try {
        test::insereLinha(db(), u"LogSys_05_2024"_s, linha);
        ADD_FAILURE() << "a repeated key was accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::KeyViolation) << e.what();
    }

    grava(junho, u"FoCadProduto"_s, u"E"_s, u"Estproma"_s);
    EXPECT_EQ(linhas(u"SELECT Data, Acao FROM LogSys_06_2024"_s), QStringList{u"2024-06-01|E"_s});
    EXPECT_EQ(linhas(u"SELECT count(*) FROM LogSys_05_2024"_s), QStringList{u"1"_s});
}

TEST_F(GravaLogSistemaTest, SameSecondRowsStayApartAndVocabularyGrowsOnce)
{
    for (int i = 0; i < 3; ++i)
        grava(maio, u"FoCadastroCliFor"_s, u"E"_s, u"Clifor"_s);
    grava(maio, u"FoCadastroCliFor"_s, u"A"_s, u""_s, u""_s);
    EXPECT_EQ(linhas(u"SELECT AutoInc, Usuario FROM LogSys_05_2024 ORDER BY AutoInc"_s),
              (QStringList{u"1|ANA"_s, u"2|ANA"_s, u"3|ANA"_s, u"4|Nenhum"_s}));
    EXPECT_EQ(linhas(u"SELECT Tipo, Campo FROM LogSys_Tipos ORDER BY _rowid_"_s),
              (QStringList{u"J|FoCadastroCliFor"_s, u"A|Editar"_s, u"T|Clifor"_s, u"A|Acesso"_s}));
}

TEST(GravaLogSistema, ActionNames)
{
    const std::pair<const char16_t*, const char16_t*> nomes[] = {
        {u"L", u"Login"},   {u"A", u"Acesso"},  {u"C", u"Consulta"}, {u"E", u"Editar"},
        {u"X", u"Excluir"}, {u"I", u"Inserir"}, {u"S", u"Autentica Senha"}, {u"Z", u""},
    };
    for (const auto& [letra, nome] : nomes)
        EXPECT_EQ(nomeAcaoLog(QString::fromUtf16(letra)), QString::fromUtf16(nome));
}

TEST_F(GravaLogSistemaTest, LongTextsAreCutToTheirFields)
{
    grava(maio, QString(70, u'J'), u"E"_s, QString(40, u'T'), u"ANA"_s, QString(300, u'x'));
    EXPECT_EQ(linhas(u"SELECT length(Janela), length(Tabela), length(Log) FROM LogSys_05_2024"_s),
              QStringList{u"60|30|250"_s});
}

TEST_F(GravaLogSistemaTest, ErrorsAreShownAndSwallowed)
{
    db().exec(u"CREATE VIEW LogSys_05_2024 AS SELECT 1 AS x"_s);  // the month's name is taken
    grava(maio, u"FoCadProduto"_s, u"I"_s, u"Estproma"_s);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().contains(u"Erro ao gravar log de sistema : \n"_s));
    EXPECT_EQ(linhas(u"SELECT count(*) FROM LogSys_Tipos"_s), QStringList{u"0"_s});
    script.clear();

    // without a company open
    GravaLogSistema(1, u"FoCadProduto"_s, u"I"_s, u"texto"_s, u"Estproma"_s, u"ANA"_s);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().contains(u"Erro ao gravar log de sistema : \n"_s));
    script.clear();
}

}  // namespace
