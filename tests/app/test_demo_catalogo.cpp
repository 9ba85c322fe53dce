// The demo's catalogue is written the way its registers save it.
#include "DemoInstalacao.h"
#include "Paths.h"
#include "Store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(DemoCatalogo, EveryProductKeepsTheRulesOfItsRegister)
{
    QTemporaryDir tmp;
    Paths paths;
    paths.instalacao = paths.programa = paths.dados = tmp.path();
    QString erro;
    ASSERT_TRUE(criaDemo(paths, &erro)) << erro.toStdString();
    for (const QString& diretorio : {u"\\Dados\\Matriz"_s, u"\\Dados\\Sul"_s, u"\\Dados\\BoaVista"_s}) {
        SCOPED_TRACE(diretorio.toStdString());
        auto store = Store::openCompany(paths.companyFolder(diretorio));
        Database& db = store->db();
        const auto conta = [&](const QString& where) {
            return db.prepare(u"SELECT count(*) FROM Estproma e WHERE "_s + where).scalar().toInt();
        };
        EXPECT_GT(conta(u"1 = 1"_s), 0);
        // the fiscal item type and every other required field
        EXPECT_EQ(conta(u"TipoItemSped IS NULL OR UNID_PAD IS NULL OR CONVERSAO IS NULL OR SIT_TRIBUT IS NULL "
                        u"OR NOME1 IS NULL"_s),
                      0);
        EXPECT_EQ(conta(u"TipoItemSped = '04' AND Nivel1 <> '02'"_s), 0);
        // sized exactly when it has size rows; Nivel6 is the code
        EXPECT_EQ(conta(u"GRADE <> CASE WHEN EXISTS (SELECT 1 FROM Tamanho t WHERE t.Filial = e.Filial "
                        u"AND t.Cod_Reduz = e.Cod_Reduz) THEN '1' ELSE '0' END"_s),
                  0);
        EXPECT_EQ(conta(u"GRADE = '1'"_s), 9);
        for (Statement st = db.prepare(u"SELECT Cod_Reduz, Nivel6 FROM Estproma"_s); st.next();)
            EXPECT_EQ(st.textValue(1), u"%1"_s.arg(st.intValue(0), 6, 10, QChar(u'0'))) << st.intValue(0);
        // every size the paints use is catalogued
        EXPECT_EQ(db.prepare(u"SELECT count(DISTINCT t.TAMANHO) FROM Tamanho t JOIN Tamanhos c ON c.Tamanho = t.TAMANHO"_s)
                      .scalar()
                      .toInt(),
                  3);
    }
}

}  // namespace
