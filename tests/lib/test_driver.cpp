// The two drivers behind one face: the server's spelling of the program's SQL,
// and what every statement must do the same way on either engine.
#include "PgSql.h"
#include "ScriptedTest.h"
#include "Store.h"
#include "TestTables.h"
#include "Transaction.h"

#include <QDir>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TEST(PgSql, SpellsTheProgramsSqlForTheServer)
{
    const struct {
        const char* name;
        QString sql;
        std::vector<bool> blank;
        QString expected;
    } cases[] = {
        {"parameters in order and numbered", u"SELECT a FROM t WHERE b = ? AND c = ?2"_s, {},
         u"SELECT a FROM t WHERE b = $1 AND c = $2"_s},
        {"quoted names fold, texts and collations keep their case",
         u"SELECT \"Nome\" FROM \"Itens\" WHERE x = 'Ab?\"C\"' COLLATE \"C\""_s, {},
         u"SELECT \"nome\" FROM \"itens\" WHERE x = 'Ab?\"C\"' COLLATE \"C\""_s},
        {"rowid is the server's row identity", u"SELECT rowid, s.rowid, _rowid_ FROM t"_s, {},
         u"SELECT _rowid_, s._rowid_, _rowid_ FROM t"_s},
        {"LIKE ignores case as on SQLite", u"SELECT 1 FROM t WHERE n LIKE ?"_s, {},
         u"SELECT 1 FROM t WHERE n ILIKE $1"_s},
        {"blanks sort first", u"SELECT a FROM t ORDER BY a, b DESC, c NULLS LAST LIMIT 5"_s, {},
         u"SELECT a FROM t ORDER BY a NULLS FIRST, b DESC NULLS LAST, c NULLS LAST LIMIT 5"_s},
        {"an order inside a subquery ends at its parenthesis",
         u"SELECT (SELECT x FROM t ORDER BY y) FROM u"_s, {},
         u"SELECT (SELECT x FROM t ORDER BY y NULLS FIRST) FROM u"_s},
        {"a test that matches blanks uses the index when the value is not blank",
         u"SELECT 1 FROM t WHERE \"A\" IS ? AND f(b) IS NOT DISTINCT FROM ?"_s, {false, false},
         u"SELECT 1 FROM t WHERE (\"a\" = $1)  AND (f(b) = $2) "_s},
        {"and IS NULL when it is",
         u"SELECT 1 FROM t WHERE a IS NOT DISTINCT FROM ?"_s, {true},
         u"SELECT 1 FROM t WHERE (a IS NULL AND $1::text IS NULL) "_s},
        {"IS NULL and IS NOT NULL stay", u"SELECT 1 FROM t WHERE a IS NULL OR b IS NOT NULL"_s, {},
         u"SELECT 1 FROM t WHERE a IS NULL OR b IS NOT NULL"_s},
        {"an insert of one row returns its identity", u"INSERT INTO t (a) VALUES (?)"_s, {},
         u"INSERT INTO t (a) VALUES ($1) RETURNING _rowid_"_s},
        {"an insert from a select does not", u"INSERT INTO t (a) SELECT a FROM u"_s, {},
         u"INSERT INTO t (a) SELECT a FROM u"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromUtf8(driver::translateForPostgres(c.sql, c.blank).text), c.expected) << c.name;
}

class Driver : public test::ScriptedTest {
protected:
    void SetUp() override { store = Store::open(tmp.filePath(u"dados.sqlite"_s), {test::itensTable()}); }
    Database& db() { return store->db(); }
    void item(int codigo, const QVariant& tamanho, const QString& nome)
    {
        db().prepare(u"INSERT INTO Itens (Filial, Codigo, Tamanho, Nome) VALUES (1, ?, ?, ?)"_s)
            .bindList({codigo, tamanho, nome})
            .run();
    }
    QString nomes(const QString& where, const QVariantList& params = {})
    {
        Statement st = db().prepare(u"SELECT Nome FROM Itens "_s + where);
        st.bindList(params);
        QStringList out;
        while (st.next())
            out << st.textValue(0);
        return out.join(u',');
    }
    std::shared_ptr<Store> store;
};

TEST_F(Driver, AQueuedWriteThatFailsTakesTheWholeTransactionBack)
{
    item(1, {}, u"um"_s);
    try {
        Transaction tx(db());
        Statement& st = db().cached(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, ?, ?)"_s);
        for (int codigo : {2, 3, 1, 4})  // 1 is taken
            st.bindList({codigo, u"novo"_s}).queue();
        tx.commit();
        ADD_FAILURE() << "the duplicate key was not reported";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::KeyViolation);
    }
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(nomes(u"ORDER BY Codigo"_s), u"um"_s);
    // the connection goes on working
    item(5, {}, u"cinco"_s);
    EXPECT_EQ(nomes(u"ORDER BY Codigo"_s), u"um,cinco"_s);
}

TEST_F(Driver, OneStatementMatchesBlankAndNotBlankValuesAndBlanksSortFirst)
{
    item(1, u"G"_s, u"grande"_s);
    item(1, {}, u"sem"_s);
    item(2, u"P"_s, u"pequeno"_s);
    Statement& st = db().cached(u"SELECT Nome FROM Itens WHERE Tamanho IS NOT DISTINCT FROM ?"_s);
    for (const auto& [tamanho, nome] : {std::pair{QVariant(u"G"_s), u"grande"_s}, {QVariant(), u"sem"_s},
                                       {QVariant(u"P"_s), u"pequeno"_s}, {QVariant(), u"sem"_s}}) {
        db().cached(u"SELECT Nome FROM Itens WHERE Tamanho IS NOT DISTINCT FROM ?"_s).bindList({tamanho});
        ASSERT_TRUE(st.next()) << nome.toStdString();
        EXPECT_EQ(st.textValue(0), nome);
        EXPECT_FALSE(st.next());
    }
    EXPECT_EQ(nomes(u"ORDER BY Tamanho, Codigo"_s), u"sem,grande,pequeno"_s);
    EXPECT_EQ(nomes(u"ORDER BY Tamanho DESC, Codigo"_s), u"pequeno,grande,sem"_s);
}

// Queued writes of a simple form travel in batches on the server: what the
// rows say in the end must be what one statement after another would leave.
TEST_F(Driver, QueuedWritesLeaveWhatTheyWouldOneByOne)
{
    {
        Transaction tx(db());
        Statement& ins = db().cached(u"INSERT INTO Itens (Filial, Codigo, Nome, Preco) VALUES (1, ?, ?, ?)"_s);
        for (int codigo = 1; codigo <= 2500; ++codigo)
            ins.bindList({codigo, codigo % 7 ? QVariant(u"n\""_s + QString::number(codigo) + u"\\"_s) : QVariant(),
                          codigo / 4.0})
                .queue();
        tx.commit();
    }
    EXPECT_EQ(nomes(u"WHERE Codigo IN (7, 8) ORDER BY Codigo"_s), u",n\"8\\"_s);
    const qint64 linha = db().prepare(u"SELECT _rowid_ FROM Itens WHERE Codigo = 8"_s).scalar().toLongLong();
    {
        Transaction tx(db());
        Statement& upd = db().cached(u"UPDATE Itens SET Nome = ?, Preco = ? WHERE _rowid_ = ?"_s);
        for (const QString& nome : {u"primeiro"_s, u"segundo"_s, u"último"_s})
            upd.bindList({nome, 1.5, linha}).queue();
        tx.commit();
    }
    EXPECT_EQ(nomes(u"WHERE Codigo = 8"_s), u"último"_s);
    EXPECT_EQ(db().prepare(u"SELECT count(*) FROM Itens WHERE Preco = Codigo / 4.0"_s).scalar().toLongLong(), 2499);
}

TEST_F(Driver, AnInsertGivesTheIdentityOfItsRow)
{
    item(1, {}, u"um"_s);
    item(2, {}, u"dois"_s);
    const qint64 id = db().lastInsertRowId();
    EXPECT_EQ(nomes(u"WHERE _rowid_ = ?"_s, {id}), u"dois"_s);
}

}  // namespace
