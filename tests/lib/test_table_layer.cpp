// The table layer: cursor vocabulary, storage format, schema upgrade and the
// shared routines with their messages.
#include "ScriptedTest.h"
#include "Schema.h"
#include "TableRoutines.h"
#include "TestTables.h"
#include "Transaction.h"

#include <sqlite3.h>

#include <QDir>
#include <functional>
#include <QFile>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class TableLayer : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        store = Store::open(tmp.filePath(u"dados.sqlite"_s), {test::itensTable()});
        setProgramFolder(tmp.path());
    }

    void add(int filial, int codigo, const QString& tamanho, const QString& nome, double preco = 0)
    {
        TableCursor t(store, u"Itens"_s);
        t.open();
        t.insert();
        t.setValue(u"Filial"_s, filial);
        t.setValue(u"Codigo"_s, codigo);
        t.setValue(u"Tamanho"_s, tamanho);
        t.setValue(u"Nome"_s, nome);
        t.setValue(u"Preco"_s, preco);
        t.post();
    }

    QStringList walk(TableCursor& t, const QString& field = u"Codigo"_s)
    {
        QStringList seen;
        for (t.first(); !t.eof(); t.next())
            seen << t.asString(field);
        return seen;
    }

    QVariant sql(const QString& text) { return store->db().prepare(text).scalar(); }

    std::shared_ptr<Store> store;
};

TEST_F(TableLayer, WalksBothWaysAcrossPagesInIndexOrder)
{
    {
        Transaction tx(store->db());
        for (int i = 200; i >= 1; --i)
            add(1, i, i % 3 == 0 ? QString() : u"G"_s, u"Nome %1"_s.arg(1000 - i));
        tx.commit();
    }
    TableCursor t(store, u"Itens"_s);
    t.open();
    QStringList forward = walk(t);
    ASSERT_EQ(forward.size(), 200);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(forward[i], QString::number(i + 1));
    EXPECT_TRUE(t.eof());

    QStringList backward;
    for (t.last(); !t.bof(); t.prior())
        backward << t.asString(u"Codigo"_s);
    ASSERT_EQ(backward.size(), 200);
    EXPECT_EQ(backward.first(), u"200"_s);
    EXPECT_EQ(backward.last(), u"1"_s);

    ASSERT_TRUE(MudaIndice(t, u"PorNome"_s));
    EXPECT_EQ(t.asString(u"Codigo"_s), u"200"_s);  // "Nome 800" sorts first
    EXPECT_EQ(t.recordCount(), 200);
}

TEST_F(TableLayer, BlankKeyFieldsSortFirstAndStayUnique)
{
    add(1, 5, u"M"_s, u"b"_s);
    add(1, 5, QString(), u"a"_s);
    add(1, 5, u"G"_s, u"c"_s);
    TableCursor t(store, u"Itens"_s);
    t.open();
    EXPECT_EQ(walk(t, u"Nome"_s), (QStringList{u"a"_s, u"c"_s, u"b"_s}));

    t.insert();
    t.setValue(u"Filial"_s, 1);
    t.setValue(u"Codigo"_s, 5);
    t.setValue(u"Tamanho"_s, u""_s);
    script.expect(u"Registro ja existe - Key violation.\nTabela : Itens"_s).icon = MsgIcon::Information;
    EXPECT_FALSE(GravaRegistro(t));
    EXPECT_EQ(t.state(), TableCursor::State::Insert);
    t.cancel();
    EXPECT_EQ(sql(u"SELECT count(*) FROM Itens"_s).toInt(), 3);
}

TEST_F(TableLayer, DuplicateKeyOnPostKeepsInsertMode)
{
    add(1, 7, u"G"_s, u"primeiro"_s);
    TableCursor t(store, u"Itens"_s);
    t.open();
    t.insert();
    t.setValue(u"Filial"_s, 1);
    t.setValue(u"Codigo"_s, 7);
    t.setValue(u"Tamanho"_s, u"G"_s);
    t.setValue(u"Nome"_s, u"segundo"_s);
    script.expect(u"Registro ja existe - Key violation.\nTabela : Itens"_s);
    EXPECT_FALSE(GravaRegistro(t));
    EXPECT_EQ(t.state(), TableCursor::State::Insert);
    EXPECT_EQ(t.asString(u"Nome"_s), u"segundo"_s);
    t.setValue(u"Codigo"_s, 8);  // the caller may mend the key and post again
    EXPECT_TRUE(GravaRegistro(t));
    EXPECT_EQ(sql(u"SELECT count(*) FROM Itens"_s).toInt(), 2);
}

TEST_F(TableLayer, SearchesFiltersRangesAndLocate)
{
    for (int f = 1; f <= 3; ++f)
        for (int c = 10; c <= 50; c += 10)
            add(f, c, QString(), u"Tinta Acrílica %1-%2"_s.arg(f).arg(c), f * c);
    TableCursor t(store, u"Itens"_s);
    t.open();

    EXPECT_TRUE(t.findKey({2, 30}));
    EXPECT_EQ(t.asInteger(u"Filial"_s) * 100 + t.asInteger(u"Codigo"_s), 230);
    EXPECT_FALSE(t.findKey({2, 35}));
    EXPECT_EQ(t.asInteger(u"Codigo"_s), 30) << "a failed keyed search leaves the cursor where it was";

    EXPECT_TRUE(t.findNearest({2, 35}));
    EXPECT_EQ(t.asInteger(u"Codigo"_s), 40);
    EXPECT_TRUE(t.findNearest({2, 55}));
    EXPECT_EQ(t.asInteger(u"Filial"_s), 3);
    EXPECT_EQ(t.asInteger(u"Codigo"_s), 10);
    EXPECT_FALSE(t.findNearest({4}));
    EXPECT_TRUE(t.eof());

    t.setFilter(u"Filial = 2 and Codigo >= 30"_s);
    t.setFiltered(true);
    EXPECT_EQ(walk(t), (QStringList{u"30"_s, u"40"_s, u"50"_s}));
    t.setFilter(u"Nome = 'Tinta Acrílica 3*' or (Filial = 1 and not Codigo <> 20)"_s);
    EXPECT_EQ(t.recordCount(), 6);
    t.setFiltered(false);

    t.setRange({2}, {2});
    EXPECT_EQ(t.recordCount(), 5);
    t.setRange({1, 40}, {2, 20});
    EXPECT_EQ(walk(t), (QStringList{u"40"_s, u"50"_s, u"10"_s, u"20"_s}));
    t.cancelRange();
    EXPECT_EQ(t.recordCount(), 15);

    EXPECT_TRUE(t.locate({u"Nome"_s}, {u"TINTA ACRÍLICA 2-40"_s}, true));
    EXPECT_EQ(t.asInteger(u"Codigo"_s), 40);
    EXPECT_FALSE(t.locate({u"Nome"_s}, {u"TINTA ACRÍLICA 2-40"_s}, false));

    const auto mark = t.bookmark();
    t.first();
    EXPECT_TRUE(t.gotoBookmark(mark));
    EXPECT_EQ(t.asInteger(u"Filial"_s) * 100 + t.asInteger(u"Codigo"_s), 240);
}

// A grid reads the cursor's records at random and finds a record's row by
// counting: both must agree with the cursor's own walk in every ordering,
// blank key fields, filter, range and master link included.
TEST_F(TableLayer, PositionsAndPagesAgreeWithTheWalk)
{
    {
        Transaction tx(store->db());
        for (int i = 1; i <= 150; ++i)
            add(1 + i % 3, i, i % 4 == 0 ? QString() : u"T%1"_s.arg(i % 5),
                i % 6 == 0 ? QString() : u"Nome %1"_s.arg(i % 9), i % 7);
        tx.commit();
    }
    TableCursor master(store, u"Itens"_s);
    master.open();
    ASSERT_TRUE(master.findKey({2}));
    const struct {
        const char* name;
        std::function<void(TableCursor&)> setUp;
    } cases[] = {
        {"primary index", [](TableCursor&) {}},
        {"secondary index with blank names", [](TableCursor& t) { t.setIndexName(u"PorNome"_s); }},
        {"any fields, blanks in both", [](TableCursor& t) { t.setIndexFields({u"Tamanho"_s, u"Nome"_s}); }},
        {"filtered",
         [](TableCursor& t) {
             t.setFilter(u"Preco >= 3"_s);
             t.setFiltered(true);
         }},
        {"range", [](TableCursor& t) { t.setRange({2, 10}, {3, 5}); }},
        {"master link", [&](TableCursor& t) { t.setMasterLink(&master, {u"Filial"_s}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableCursor t(store, u"Itens"_s);
        c.setUp(t);
        t.open();
        std::vector<qint64> order;
        for (t.first(); !t.eof(); t.next())
            order.push_back(t.bookmark().rowid);
        ASSERT_EQ(qint64(order.size()), t.recordCount());
        ASSERT_GT(order.size(), 10u);
        t.first();
        for (size_t i = 0; i < order.size(); ++i)
            ASSERT_EQ(t.positionOf({order[i]}), qint64(i)) << "record " << order[i];
        // pages at offsets from either end, and continued by key both ways
        const size_t mid = order.size() / 2;
        for (size_t at : {size_t(0), size_t(3), mid, order.size() - 4}) {
            for (qint64 total : {qint64(-1), qint64(order.size())}) {  // counted, or given by a grid
                const auto page = t.recordsAt(qint64(at), 4, total);
                ASSERT_EQ(page.size(), std::min<size_t>(4, order.size() - at));
                for (size_t k = 0; k < page.size(); ++k)
                    EXPECT_EQ(page[k].mark.rowid, order[at + k]) << "offset " << at;
            }
        }
        const auto middle = t.recordsAt(qint64(mid), 1).front();
        const auto after = t.recordsAfter(middle, 3);
        const auto before = t.recordsBefore(middle, 3);
        ASSERT_EQ(after.size(), 3u);
        ASSERT_EQ(before.size(), 3u);
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(after[k].mark.rowid, order[mid + 1 + k]);
            EXPECT_EQ(before[k].mark.rowid, order[mid - 3 + k]);
        }
        EXPECT_EQ(t.bookmark().rowid, order.front()) << "reading for a grid never moves the cursor";
    }
    TableCursor all(store, u"Itens"_s);
    all.open();
    all.setFilter(u"Filial = 1"_s);
    all.setFiltered(true);
    const qint64 outside = Statement(store->db(), u"SELECT _rowid_ FROM Itens WHERE Filial = 2"_s).scalar().toLongLong();
    EXPECT_EQ(all.positionOf({outside}), -1) << "a record the cursor does not show has no row";
    const auto found = all.lookup({u"Codigo"_s, u"Tamanho"_s}, {12, QVariant()});
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->values[all.def().fieldIndex(u"Codigo"_s)].toInt(), 12);
    EXPECT_FALSE(all.lookup({u"Codigo"_s}, {4}).has_value()) << "record 4 is outside the filter";
}

TEST_F(TableLayer, FilterTextIsCheckedAndNeverPastedIntoSql)
{
    add(1, 1, QString(), u"x"_s);
    TableCursor t(store, u"Itens"_s);
    t.open();
    const struct {
        const char16_t* filter;
        int count;  // -1: refused
    } cases[] = {
        {u"Filial = 1", 1},
        {u"Nome = 'x'' or ''1''=''1'", 0},
        {u"Tamanho = ''", 1},
        {u"Tamanho is not null", 0},
        {u"Data = '31/02/2024'", -1},
        {u"Nome = 'x'; DROP TABLE Itens", -1},
        {u"Inexistente = 3", -1},
        {u"Filial = ", -1},
        {u"(Filial = 1", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.filter).toStdString());
        try {
            t.setFilter(QString::fromUtf16(c.filter));
            t.setFiltered(true);
            EXPECT_EQ(t.recordCount(), c.count);
        } catch (const DbError& e) {
            EXPECT_EQ(c.count, -1) << e.what();
            EXPECT_TRUE(e.message().startsWith(u"Filtro invalido"_s)) << e.what();
        }
        t.setFiltered(false);
    }
    EXPECT_EQ(sql(u"SELECT count(*) FROM Itens"_s).toInt(), 1);
}

TEST_F(TableLayer, MasterLinkFollowsTheMaster)
{
    TableDef filiais(u"Filiais"_s);
    filiais.field(u"Filial"_s, FieldType::Integer).string(u"NOME"_s, 60).key({u"Filial"_s});
    store->ensure(filiais);
    for (int f = 1; f <= 2; ++f) {
        TableCursor m(store, u"Filiais"_s);
        m.open();
        m.insert();
        m.setValue(u"Filial"_s, f);
        m.post();
        for (int c = 1; c <= f + 1; ++c)
            add(f, c, QString(), u"n"_s);
    }
    TableCursor master(store, u"Filiais"_s), detail(store, u"Itens"_s);
    master.open();
    detail.open();
    detail.setMasterLink(&master, {u"Filial"_s});
    EXPECT_EQ(detail.recordCount(), 2);
    master.next();
    EXPECT_EQ(detail.recordCount(), 3);
    EXPECT_EQ(detail.asInteger(u"Filial"_s), 2);
}

TEST_F(TableLayer, ValuesAreStoredInTheFixedColumnFormat)
{
    TableCursor t(store, u"Itens"_s);
    t.open();
    t.insert();
    t.setValue(u"Filial"_s, u"1"_s);
    t.setValue(u"Codigo"_s, 2);
    t.setValue(u"Nome"_s, u""_s);
    t.setValue(u"Data"_s, u"05/03/2024"_s);
    t.setValue(u"Ativo"_s, true);
    t.setValue(u"Preco"_s, u"12,5"_s);
    t.post();
    Statement st = store->db().prepare(u"SELECT Data, Ativo, Nome, Preco, Filial FROM Itens"_s);
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.value(0), QVariant(u"2024-03-05"_s));
    EXPECT_EQ(st.value(1), QVariant(qint64(1)));
    EXPECT_TRUE(st.isNull(2));
    EXPECT_EQ(st.value(3), QVariant(12.5));
    EXPECT_EQ(st.value(4), QVariant(qint64(1)));
    st.reset();
    EXPECT_EQ(t.asDate(u"Data"_s), QDate(2024, 3, 5));
    EXPECT_EQ(t.asString(u"Data"_s), u"05/03/2024"_s);
}

TEST_F(TableLayer, BadValuesAreRefusedBeforeAnythingIsWritten)
{
    TableCursor t(store, u"Itens"_s);
    t.open();
    t.insert();
    const struct {
        const char16_t* field;
        const char16_t* value;
    } cases[] = {
        {u"Codigo", u"abc"}, {u"Codigo", u"12x"}, {u"Preco", u"1,2,3"}, {u"Data", u"31/02/2024"},
        {u"Data", u"ontem"}, {u"Tamanho", u"GGGGG"}, {u"Ativo", u"talvez"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.value).toStdString());
        EXPECT_THROW(t.setValue(QString::fromUtf16(c.field), QString::fromUtf16(c.value)), DbError);
    }
    try {
        t.setValue(u"Codigo"_s, u"abc"_s);
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), u"'abc' não é um número inteiro válido (campo Codigo)"_s);
    }
    t.cancel();
    EXPECT_EQ(sql(u"SELECT count(*) FROM Itens"_s).toInt(), 0);
}

TEST_F(TableLayer, MudaIndiceOnTheActiveIndexKeepsTheTableOpenAndPositioned)
{
    for (int i = 1; i <= 3; ++i)
        add(1, i, QString(), u"n%1"_s.arg(i));
    TableCursor t(store, u"Itens"_s);
    ASSERT_TRUE(MudaIndice(t, u"PorNome"_s));
    t.next();
    ASSERT_TRUE(MudaIndice(t, u"PorNome"_s));
    EXPECT_TRUE(t.active());
    EXPECT_EQ(t.asString(u"Nome"_s), u"n2"_s);
}

TEST_F(TableLayer, MudaIndiceAsksAfterThreeFailuresAndGivesUpOnNo)
{
    TableCursor t(store, u"Itens"_s);
    t.open();
    const QString question = u"Impossivel mudar chave:Nenhum do arquivo:Itens,tentar novamente"_s;
    script.expect(question, MsgAnswer::Yes).icon = MsgIcon::Error;
    script.expect(question, MsgAnswer::No);
    script.expect(u"Sair do programa e entrar novamente"_s);
    EXPECT_FALSE(MudaIndice(t, u"Nenhum"_s));
    EXPECT_FALSE(t.active());
}

TEST_F(TableLayer, CriaTabelaTempTwiceLeavesOneEmptyTable)
{
    TableDef layout(u"Etiquetas"_s);
    layout.field(u"Seq"_s, FieldType::Integer).string(u"Texto"_s, 40).key({u"Seq"_s});
    TableCursor t(store, layout);
    for (int round = 0; round < 2; ++round) {
        CriaTabelaTemp(u"Tmp239.db"_s, t);
        EXPECT_FALSE(t.active());
        t.open();
        EXPECT_EQ(t.recordCount(), 0);
        t.insert();
        t.setValue(u"Seq"_s, 1);
        t.post();
        t.close();
    }
    EXPECT_TRUE(QFile::exists(tmp.filePath(u"TmpDb/Tmp239.db"_s)));
    EXPECT_EQ(t.tableName(), u"Tmp239"_s);
    EXPECT_EQ(t.store().db().prepare(u"SELECT count(*) FROM sqlite_master WHERE type='table'"_s).scalar().toInt(), 1);
}

TEST_F(TableLayer, OpeningAnOldStoreAddsMissingColumnsAndKeepsRows)
{
    QDir(tmp.path()).mkdir(u"antiga"_s);
    const QString folder = tmp.filePath(u"antiga"_s);
    test::preparaPastaDeTeste(folder);
    const QString file = QDir(folder).filePath(u"dados.sqlite"_s);
    {
        TableDef old(u"Itens"_s);
        old.field(u"Filial"_s, FieldType::Integer).field(u"Codigo"_s, FieldType::Integer).string(u"Nome"_s, 30);
        Store::open(file, {old})->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 1, 'velho')"_s);
    }
    auto upgraded = Store::open(file, {test::itensTable()});
    TableCursor t(upgraded, u"Itens"_s);
    t.open();
    EXPECT_EQ(t.asString(u"Nome"_s), u"velho"_s);
    EXPECT_TRUE(t.isNull(u"Preco"_s));
    t.edit();
    t.setValue(u"Preco"_s, 3.25);
    t.post();
    EXPECT_DOUBLE_EQ(upgraded->db().prepare(u"SELECT Preco FROM Itens"_s).scalar().toDouble(), 3.25);
    EXPECT_TRUE(upgraded->db().indexNames().contains(u"itens__pornome"_s, Qt::CaseInsensitive));
}

TEST_F(TableLayer, AttachedStoreRunsAStatementOverAnotherCompany)
{
    if (store->onServer())
        GTEST_SKIP() << "no servidor cada empresa tem seu esquema: anexar outro banco é só do SQLite";
    const QString other = tmp.filePath(u"outra.sqlite"_s);
    {
        auto s = Store::open(other, {test::itensTable()});
        s->db().exec(u"INSERT INTO Itens (Filial, Codigo, Nome) VALUES (1, 9, 'la')"_s);
    }
    AttachedStore attached(store->db(), other);
    store->db().exec(u"INSERT INTO Itens SELECT * FROM "_s + attached.table(u"Itens"_s));
    EXPECT_EQ(sql(u"SELECT Nome FROM Itens WHERE Codigo = 9"_s).toString(), u"la"_s);
}

TEST_F(TableLayer, TransactionGuardRollsBackUnlessCommitted)
{
    {
        Transaction tx(store->db());
        add(1, 1, QString(), u"a"_s);
        {
            Transaction inner(store->db());
            add(1, 2, QString(), u"b"_s);
        }  // the savepoint alone is undone
        tx.commit();
    }
    {
        Transaction tx(store->db());
        add(1, 3, QString(), u"c"_s);
    }
    EXPECT_EQ(sql(u"SELECT count(*) || ':' || min(Codigo) FROM Itens"_s).toString(), u"1:1"_s);
}

TEST(Sqlite, LinkedVersionHasTheWalResetFix)
{
    EXPECT_GE(sqlite3_libversion_number(), 3051003);
}

TEST(Settings, ReadsAValueOrEmptyText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Login.ini"_s);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comentario\r\n[BaseDadosUltLogin]\r\nBase = Tintas Sul \r\n[BaseLogin]\r\nBase=C:\\Ardeno\\Login\r\n");
    f.close();
    const struct {
        const char16_t* section;
        const char16_t* key;
        const char16_t* value;
    } cases[] = {
        {u"BaseDadosUltLogin", u"Base", u"Tintas Sul"},
        {u"basedadosultlogin", u"BASE", u"Tintas Sul"},
        {u"BaseLogin", u"Base", u"C:\\Ardeno\\Login"},
        {u"BaseLogin", u"Outra", u""},
        {u"Nenhuma", u"Base", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readIniValue(path, QString::fromUtf16(c.section), QString::fromUtf16(c.key)),
                  QString::fromUtf16(c.value));
    EXPECT_EQ(readIniValue(dir.filePath(u"falta.ini"_s), u"a"_s, u"b"_s), QString());
}

}  // namespace
