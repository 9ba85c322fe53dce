// The grid model over a cursor and over a query: the full count and chunks
// read at random, checked by Qt's model tester, the display formats, and
// finding a row's record.
#include "CursorTableModel.h"
#include "ScriptedTest.h"
#include "Transaction.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TableDef pecasTable()
{
    TableDef t(u"Pecas"_s);
    t.field(u"Grupo"_s, FieldType::Integer)
        .field(u"Codigo"_s, FieldType::SmallInt, 0, u"000"_s)
        .string(u"Nome"_s, 30)
        .field(u"Peso"_s, FieldType::Float, 0, u"###,##0.000"_s)
        .field(u"Preco"_s, FieldType::Currency)
        .field(u"Data"_s, FieldType::Date)
        .field(u"Ativo"_s, FieldType::Boolean)
        .key({u"Grupo"_s, u"Codigo"_s});
    return t;
}

// Fails the test on anything Qt's model tester complains about.
class ModelWarnings {
public:
    ModelWarnings() { previous_ = qInstallMessageHandler(&ModelWarnings::handler); }
    ~ModelWarnings() { qInstallMessageHandler(previous_); }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type != QtDebugMsg && QByteArray(context.category ? context.category : "").startsWith("qt.modeltest"))
            ADD_FAILURE() << text.toStdString();
    }
    QtMessageHandler previous_ = nullptr;
};

class CursorTableModelTest : public test::ScriptedTest {
protected:
    void SetUp() override { store = Store::open(tmp.filePath(u"dados.sqlite"_s), {pecasTable()}); }

    void fill(int rows)
    {
        Transaction tx(store->db());
        Statement st(store->db(), u"INSERT INTO Pecas (Grupo, Codigo, Nome, Peso, Data) VALUES (?, ?, ?, ?, ?)"_s);
        for (int i = 1; i <= rows; ++i) {
            st.bindList({1 + i % 2, i, u"Peça %1"_s.arg(i, 3, 10, QChar(u'0')), i * 1.5,
                         QDate(2024, 1, 1).addDays(i).toString(Qt::ISODate)});
            st.run();
        }
        tx.commit();
    }
    QStringList column(const CursorTableModel& m, int c)
    {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, c).data().toString();
        return out;
    }

    std::shared_ptr<Store> store;
    const QList<GridColumn> columns{{u"Codigo"_s, u"Código"_s, 50, {}},
                                    {u"Nome"_s, u"Descrição"_s, 200, {}},
                                    {u"Data"_s, {}, 0, {}}};
};

TEST_F(CursorTableModelTest, CountsEveryRowAndReadsChunksAtRandomWithoutMovingTheCursor)
{
    fill(150);
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    QStringList walked;
    for (cursor.first(); !cursor.eof(); cursor.next())
        walked << cursor.asString(u"Codigo"_s).rightJustified(3, u'0');
    ASSERT_TRUE(cursor.findKey({1, 100}));
    int scrolled = 0;
    QObject::connect(&cursor, &TableCursor::scrolled, [&] { ++scrolled; });

    ModelWarnings warnings;
    CursorTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setColumns(columns);
    model.setChunkSize(16);
    model.setCursor(&cursor);
    EXPECT_EQ(model.rowCount(), 150) << "the whole count from the start";
    EXPECT_FALSE(model.canFetchMore());

    // jumps to the end, back to the middle, and chunks continued both ways
    for (int row : {149, 140, 75, 60, 91, 0, 33, 120, 17, 149, 104})
        EXPECT_EQ(model.index(row, 0).data().toString(), walked[row]) << "row " << row;
    EXPECT_EQ(column(model, 0), walked);
    EXPECT_EQ(cursor.asInteger(u"Codigo"_s), 100);
    EXPECT_EQ(scrolled, 0);  // the screen following the cursor saw nothing move

    // key order: group 1 (even codes) first, then group 2
    EXPECT_EQ(model.index(0, 0).data().toString(), u"002"_s);
    EXPECT_EQ(model.index(74, 0).data().toString(), u"150"_s);
    EXPECT_EQ(model.index(75, 0).data().toString(), u"001"_s);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), u"Descrição"_s);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), u"Data"_s);

    // the row of the cursor's record, and back from a row to its record
    EXPECT_EQ(model.rowOf(cursor), 49);
    ASSERT_TRUE(model.moveTo(3, cursor));
    EXPECT_EQ(cursor.asInteger(u"Codigo"_s), 8);
    ASSERT_TRUE(model.moveTo(149, cursor));
    EXPECT_EQ(model.rowOf(cursor), 149);
}

TEST_F(CursorTableModelTest, HoldsABoundedNumberOfChunks)
{
    fill(400);
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    CursorTableModel model;
    model.setColumns(columns);
    model.setChunkSize(2);
    model.setCursor(&cursor);
    const QStringList first = column(model, 0);
    EXPECT_LE(model.chunksHeld(), 64);
    EXPECT_EQ(column(model, 0), first) << "chunks dropped and read again give the same rows";
}

TEST_F(CursorTableModelTest, ReadingLeavesARecordBeingChangedAlone)
{
    fill(10);
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    CursorTableModel model;
    model.setColumns(columns);
    model.setChunkSize(4);
    model.setCursor(&cursor);
    cursor.edit();
    cursor.setValue(u"Nome"_s, u"em edição"_s);
    EXPECT_EQ(column(model, 1).size(), 10);
    EXPECT_EQ(model.index(9, 1).data().toString(), u"Peça 009"_s);
    EXPECT_EQ(cursor.state(), TableCursor::State::Edit);  // walking would have posted it
    EXPECT_EQ(cursor.asString(u"Nome"_s), u"em edição"_s);
    EXPECT_EQ(model.index(0, 1).data().toString(), u"Peça 002"_s) << "the grid shows what is on disk";
    cursor.cancel();
}

// A chunk that cannot be read is not reported from inside a paint: its rows
// stay blank and its error comes once the view is done, unless the grid has
// been reset since (the report belongs to rows nobody shows any more).
TEST_F(CursorTableModelTest, AFailedReadIsReportedAfterPaintingUnlessTheGridWasResetSince)
{
    fill(10);
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    CursorTableModel model;
    model.setChunkSize(2);
    model.setColumns(columns);
    model.setCursor(&cursor);
    const QList<GridColumn> bad{{u"Inexistente"_s, {}, 0, {}}};

    model.setColumns(bad);
    EXPECT_FALSE(model.index(4, 0).data().isValid());
    EXPECT_FALSE(model.index(5, 0).data().isValid());
    EXPECT_TRUE(script.shown().isEmpty()) << "no message box while painting";
    script.expect(u"Campo Inexistente nao encontrado na tabela Pecas"_s).icon = MsgIcon::Error;
    QCoreApplication::processEvents();
    checkScript();

    (void)model.index(8, 0).data();
    model.setColumns(columns);
    QCoreApplication::processEvents();  // nothing expected
    EXPECT_EQ(model.index(8, 0).data().toString(), u"007"_s);
}

TEST_F(CursorTableModelTest, ShowsValuesInTheColumnsFormats)
{
    Statement(store->db(), u"INSERT INTO Pecas VALUES (1, 7, 'Lata', 1234.5, 2.675, '2024-12-31', 1)"_s).run();
    Statement(store->db(), u"INSERT INTO Pecas (Grupo, Codigo) VALUES (1, 8)"_s).run();
    struct Case {
        GridColumn column;
        QString first;   // row of code 7
        QString second;  // row of code 8, blank fields
    };
    const Case cases[] = {
        {{u"Codigo"_s, {}, 0, {}}, u"007"_s, u"008"_s},                      // the field's own format
        {{u"Codigo"_s, {}, 0, u"%6.6d"_s}, u"000007"_s, u"000008"_s},        // a format string
        {{u"Peso"_s, {}, 0, {}}, u"1.234,500"_s, QString()},                 // the field's mask
        {{u"Peso"_s, {}, 0, u"#,##0.0"_s}, u"1.234,5"_s, QString()},         // the column's mask wins
        {{u"Preco"_s, {}, 0, {}}, u"2,675"_s, QString()},                    // no format: plain
        {{u"Preco"_s, {}, 0, u"0.00"_s}, u"2,68"_s, QString()},
        {{u"Data"_s, {}, 0, {}}, u"31/12/2024"_s, QString()},
        {{u"Ativo"_s, {}, 0, u"Sim;Não"_s}, u"Sim"_s, QString()},
        {{u"Nome"_s, {}, 0, {}}, u"Lata"_s, QString()},
    };
    QList<GridColumn> all;
    for (const Case& c : cases)
        all << c.column;
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    CursorTableModel fromCursor;
    fromCursor.setColumns(all);
    fromCursor.setCursor(&cursor);
    CursorTableModel fromQuery;
    fromQuery.setColumns(all);
    fromQuery.setQuery(store, u"SELECT * FROM Pecas ORDER BY Codigo;"_s, {}, pecasTable());
    for (const CursorTableModel* model : {&fromCursor, &fromQuery}) {
        ASSERT_EQ(model->rowCount(), 2);
        for (int i = 0; i < int(std::size(cases)); ++i) {
            SCOPED_TRACE(cases[i].column.field.toStdString() + " " + cases[i].column.format.toStdString());
            EXPECT_EQ(model->index(0, i).data().toString(), cases[i].first);
            EXPECT_EQ(model->index(1, i).data().toString(), cases[i].second);
        }
        const auto alignment = [&](int c) { return model->index(0, c).data(Qt::TextAlignmentRole).toInt(); };
        EXPECT_TRUE(alignment(2) & Qt::AlignRight);
        EXPECT_TRUE(alignment(8) & Qt::AlignLeft);
        EXPECT_EQ(model->index(0, 6).data(CursorTableModel::ValueRole).toDate(), QDate(2024, 12, 31));
    }
}

TEST_F(CursorTableModelTest, QueryIsPagedWithItsParametersAndFindsRecordsInACursor)
{
    fill(95);
    ModelWarnings warnings;
    CursorTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setColumns(columns);
    model.setChunkSize(10);
    model.setLinkFields({u"Grupo"_s, u"Codigo"_s});
    model.setQuery(store, u"SELECT * FROM Pecas WHERE Grupo = ? ORDER BY Codigo DESC"_s, {2}, pecasTable());
    EXPECT_EQ(model.rowCount(), 48);  // the odd codes 95 ... 1
    EXPECT_EQ(model.index(40, 0).data().toString(), u"015"_s);
    EXPECT_EQ(model.index(0, 0).data().toString(), u"095"_s);
    EXPECT_EQ(model.index(47, 0).data().toString(), u"001"_s);
    EXPECT_EQ(model.index(47, 2).data().toString(), u"02/01/2024"_s);

    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    ASSERT_TRUE(model.moveTo(5, cursor));
    EXPECT_EQ(cursor.asInteger(u"Codigo"_s), 85);
    ASSERT_TRUE(cursor.findKey({2, 33}));
    EXPECT_EQ(model.rowOf(cursor), 31);
    ASSERT_TRUE(cursor.findKey({1, 34}));  // not in the query
    EXPECT_EQ(model.rowOf(cursor), -1);

    // a query naming a column it does not select
    model.setColumns({{u"Inexistente"_s, {}, 0, {}}});
    EXPECT_THROW(model.refresh(), DbError);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(CursorTableModelTest, RefreshSeesNewRowsAndFindsThemBeyondTheFirstChunk)
{
    fill(30);
    TableCursor cursor(store, u"Pecas"_s);
    cursor.open();
    ModelWarnings warnings;
    CursorTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setColumns(columns);
    model.setChunkSize(8);
    model.setCursor(&cursor);

    cursor.insert();
    cursor.setValue(u"Grupo"_s, 2);
    cursor.setValue(u"Codigo"_s, 500);
    cursor.post();
    EXPECT_EQ(model.rowOf(cursor), -1) << "not counted before the refresh";
    model.refresh();
    EXPECT_EQ(model.rowCount(), 31);
    EXPECT_EQ(model.rowOf(cursor), 30);  // the last row, counted by the index
    EXPECT_EQ(model.chunksHeld(), 2) << "found by counting, not by reading every chunk before it";
    EXPECT_EQ(model.index(30, 0).data().toString(), u"500"_s);

    // a record of another cursor, found by its key
    TableCursor other(store, u"Pecas"_s);
    other.open();
    ASSERT_TRUE(other.findKey({1, 12}));
    EXPECT_EQ(model.rowOf(other), 5);

    cursor.close();
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
