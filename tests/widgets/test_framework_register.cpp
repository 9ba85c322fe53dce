// The register-screen base driven through a small register of colours: its
// real buttons are clicked, its edits typed into, and the stored rows read
// back with SQL.
#include "RegisterScreen.h"
#include "Linhas.h"
#include "ScriptedTest.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

TableDef coresTable()
{
    TableDef t(u"Cores"_s);
    t.field(u"Codigo"_s, FieldType::SmallInt, 0, u"000"_s)
        .string(u"Nome"_s, 20)
        .field(u"Preco"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .field(u"Validade"_s, FieldType::Date)
        .key({u"Codigo"_s});
    return t;
}

// The register under test: a code given by the screen (highest + 1), a name,
// a price and a date with the forms' date mask.
class CoresScreen : public RegisterScreen {
public:
    CoresScreen(std::shared_ptr<Store> store, Layout layout = Layout::TwoPages)
        : RegisterScreen(u"foCadCores"_s, u"Cadastro de Cores"_s, layout), cores(std::move(store), u"Cores"_s)
    {
        setTable(&cores);
        setGridColumns({{u"Codigo"_s, u"Código"_s, 60, {}},
                        {u"Nome"_s, u"Nome"_s, 180, {}},
                        {u"Preco"_s, u"Preço"_s, 90, {}},
                        {u"Validade"_s, u"Validade"_s, 90, {}}});
        addField(u"Código"_s, u"Codigo"_s, FieldAccess::InsertOnly);
        addField(u"Nome"_s, u"Nome"_s);
        addField(u"Preço"_s, u"Preco"_s);
        addField(u"Validade"_s, u"Validade"_s, FieldAccess::Editable, u"!99/99/0000;1;_"_s);
    }
    using RegisterScreen::setGridQuery;
    using RegisterScreen::setInsertStyle;

    bool initNewRecord(TableCursor& t) override
    {
        t.setValue(u"Codigo"_s, nextNumber(u"Codigo"_s));
        return true;
    }
    bool saveRecord(TableCursor& t) override
    {
        return RegisterScreen::saveRecord(t) && (!alsoWrite || alsoWrite());
    }

    std::function<bool()> alsoWrite;  // a second write of the same save
    TableCursor cores;
};

class FrameworkRegister : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        store = Store::open(tmp.filePath(u"dados.sqlite"_s), {coresTable()});
    }

    void seed(int codigo, const QString& nome, double preco = 0)
    {
        Statement st(store->db(), u"INSERT INTO Cores (Codigo, Nome, Preco) VALUES (?, ?, ?)"_s);
        st.bindList({codigo, nome, preco}).run();
    }
    QVariant sql(const QString& text) { return store->db().prepare(text).scalar(); }
    qint64 count() { return sql(u"SELECT count(*) FROM Cores"_s).toLongLong(); }

    static void click(QWidget& screen, const QString& name)
    {
        auto* b = screen.findChild<QAbstractButton*>(name);
        ASSERT_TRUE(b) << name.toStdString();
        ASSERT_TRUE(b->isEnabled()) << name.toStdString() << " is disabled";
        b->click();
    }
    static FieldEdit* edit(QWidget& screen, const QString& field)
    {
        return screen.findChild<FieldEdit*>(field);
    }
    // Replaces the edit's text by typing, as a user does.
    static void type(QWidget& screen, const QString& field, const QString& text)
    {
        FieldEdit* e = edit(screen, field);
        ASSERT_TRUE(e) << field.toStdString();
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        e->home(false);
        QTest::keyClicks(e, text);
    }
    static bool onListPage(RegisterScreen& s) { return s.pages()->currentWidget() == s.listPage(); }
    static void selectRow(RegisterScreen& s, int row) { s.grid()->setCurrentIndex(s.grid()->model()->index(row, 0)); }
    static QString cell(RegisterScreen& s, int row, int column)
    {
        return s.grid()->model()->index(row, column).data().toString();
    }

    // Whether the screen holds the record lock of a colour: what another
    // workstation would find.
    bool lockHeld(int codigo) { return store->locks().heldElsewhere(u"Cores"_s, {qint64(codigo)}); }

    std::shared_ptr<Store> store;
};

TEST_F(FrameworkRegister, IncluirOffersTheNextCodeAndGravarStoresTheTypedRecord)
{
    seed(1, u"Azul"_s);
    seed(2, u"Verde"_s);
    seed(7, u"Preto"_s);
    CoresScreen s(store);
    s.show();
    EXPECT_TRUE(onListPage(s));
    EXPECT_FALSE(s.pages()->isTabVisible(1));

    click(s, u"btIncluir"_s);
    EXPECT_EQ(s.mode(), u"I"_s);
    EXPECT_EQ(s.pages()->currentWidget(), s.entryPage());
    EXPECT_FALSE(s.pages()->isTabVisible(0));
    EXPECT_EQ(edit(s, u"Codigo"_s)->text(), u"008"_s);
    EXPECT_TRUE(edit(s, u"Codigo"_s)->isEnabled());
    for (const char16_t* name : {u"btIncluir", u"btAlterar", u"btExcluir", u"btFechar"})
        EXPECT_FALSE(s.findChild<QAbstractButton*>(QString::fromUtf16(name))->isEnabled());
    EXPECT_FALSE(s.grid()->isEnabled());

    type(s, u"Nome"_s, u"Amarelo"_s);
    type(s, u"Preco"_s, u"1.234,5"_s);
    type(s, u"Validade"_s, u"31122024"_s);
    click(s, u"BotaoGravar"_s);

    EXPECT_EQ(s.mode(), QString());
    EXPECT_TRUE(onListPage(s));
    EXPECT_EQ(sql(u"SELECT Nome || '|' || Preco || '|' || Validade FROM Cores WHERE Codigo = 8"_s).toString(),
              u"Amarelo|1234.5|2024-12-31"_s);
    // the grid is read again and stands on the new record, in the columns' formats
    const int row = s.grid()->currentIndex().row();
    ASSERT_EQ(row, 3);
    EXPECT_EQ(cell(s, row, 0), u"008"_s);
    EXPECT_EQ(cell(s, row, 2), u"1.234,50"_s);
    EXPECT_EQ(cell(s, row, 3), u"31/12/2024"_s);
    EXPECT_EQ(s.table()->asInteger(u"Codigo"_s), 8);
}

TEST_F(FrameworkRegister, AlterarHoldsTheLockDisablesTheKeyAndWritesOnlyWhatWasTyped)
{
    seed(1, u"Azul"_s, 10.125);  // shown as "10,13": showing must not round what is stored
    seed(2, u"Verde"_s, 3);
    CoresScreen s(store);
    s.show();
    selectRow(s, 0);
    click(s, u"btAlterar"_s);
    EXPECT_EQ(s.mode(), u"A"_s);
    EXPECT_TRUE(lockHeld(1));
    EXPECT_FALSE(lockHeld(2));
    EXPECT_FALSE(edit(s, u"Codigo"_s)->isEnabled());
    EXPECT_EQ(edit(s, u"Preco"_s)->text(), u"10,13"_s);

    type(s, u"Nome"_s, u"Azul Royal"_s);
    click(s, u"BotaoGravar"_s);
    EXPECT_FALSE(lockHeld(1));
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores WHERE Codigo = 1"_s).toString(), u"Azul Royal"_s);
    EXPECT_EQ(sql(u"SELECT Preco FROM Cores WHERE Codigo = 1"_s).toDouble(), 10.125);
    EXPECT_EQ(cell(s, s.grid()->currentIndex().row(), 1), u"Azul Royal"_s);
}

TEST_F(FrameworkRegister, BadInputIsRefusedWithAClearMessageAndWritesNothing)
{
    struct Case {
        const char16_t* field;
        const char16_t* typed;
        const char16_t* message;
    };
    const Case cases[] = {
        // the field is named by its label on the screen, not by its name in the table
        {u"Preco", u"12abc", u"'12abc' não é um número válido (campo Preço)"},
        {u"Validade", u"31022024", u"'31/02/2024' não é uma data válida (campo Validade)"},
        {u"Codigo", u"abc", u"'abc' não é um número inteiro válido (campo Código)"},
        {u"Codigo", u"99999", u"'99999' não é um número entre -32768 e 32767 (campo Código)"},
    };
    seed(1, u"Azul"_s);
    CoresScreen s(store);
    s.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.typed).toStdString());
        click(s, u"btIncluir"_s);
        type(s, u"Nome"_s, u"Branco"_s);
        type(s, QString::fromUtf16(c.field), QString::fromUtf16(c.typed));
        script.expect(QString::fromUtf16(c.message));
        click(s, u"BotaoGravar"_s);
        checkScript();
        EXPECT_EQ(s.mode(), u"I"_s);
        EXPECT_EQ(s.pages()->currentWidget(), s.entryPage());
        EXPECT_EQ(s.focusWidget(), edit(s, QString::fromUtf16(c.field)));
        EXPECT_EQ(count(), 1);
        click(s, u"BotaoCancelar"_s);
        EXPECT_EQ(count(), 1);
        EXPECT_TRUE(onListPage(s));
    }
}

TEST_F(FrameworkRegister, DuplicateKeyIsReportedAfterTheTransactionEndedAndKeepsTheEntry)
{
    seed(1, u"Azul"_s);
    CoresScreen s(store);
    s.show();
    click(s, u"btIncluir"_s);
    type(s, u"Codigo"_s, u"1"_s);
    type(s, u"Nome"_s, u"Outro azul"_s);
    // a box waiting for the user must not keep the store locked for everyone else
    script.expect(u"Registro ja existe - Key violation.\nTabela : Cores"_s).before = [&] {
        EXPECT_FALSE(store->db().inTransaction());
    };
    click(s, u"BotaoGravar"_s);
    checkScript();
    EXPECT_EQ(s.mode(), u"I"_s);
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores WHERE Codigo = 1"_s).toString(), u"Azul"_s);

    type(s, u"Codigo"_s, u"2"_s);  // corrected, the same entry saves
    click(s, u"BotaoGravar"_s);
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores WHERE Codigo = 2"_s).toString(), u"Outro azul"_s);
}

TEST_F(FrameworkRegister, ASaveFailingAfterItsPostWritesNoRowAtAll)
{
    seed(1, u"Azul"_s);
    CoresScreen s(store);
    QString seenInside;  // what the save had written when its second write failed
    s.alsoWrite = [&]() -> bool {
        seenInside = test::colunaJunta(store->db(), u"SELECT Nome FROM Cores ORDER BY Codigo"_s, u","_s);
        throw DbError(u"Falha ao gravar o histórico"_s);
    };
    s.show();
    click(s, u"btIncluir"_s);
    type(s, u"Nome"_s, u"Vermelho"_s);
    script.expect(u"Falha ao gravar o histórico"_s);
    click(s, u"BotaoGravar"_s);
    checkScript();
    EXPECT_EQ(seenInside, u"Azul,Vermelho"_s);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(onListPage(s));
    EXPECT_EQ(s.grid()->model()->rowCount(), 1);

    selectRow(s, 0);
    click(s, u"btAlterar"_s);
    type(s, u"Nome"_s, u"Anil"_s);
    script.expect(u"Falha ao gravar o histórico"_s);
    click(s, u"BotaoGravar"_s);
    checkScript();
    EXPECT_EQ(seenInside, u"Anil"_s);
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores WHERE Codigo = 1"_s).toString(), u"Azul"_s);
    EXPECT_FALSE(lockHeld(1));
    EXPECT_EQ(cell(s, 0, 1), u"Azul"_s);
}

TEST_F(FrameworkRegister, WhatASaveReportsNamesTheFieldByItsLabel)
{
    // a routine's own box and an error thrown out of the save, each naming a
    // field the way the table layer does
    CoresScreen s(store);
    s.show();
    struct Case {
        std::function<bool()> save;
        QString shown;
    };
    const Case cases[] = {
        {[] {
             mostraErro(u"O campo Preco passa do limite"_s);
             return false;
         },
         u"O campo Preço passa do limite"_s},
        {[]() -> bool { throw DbError(u"O campo CODIGO não aceita este valor"_s, DbErrorKind::Refused); },
         u"O campo Código não aceita este valor"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        s.alsoWrite = c.save;
        click(s, u"btIncluir"_s);
        type(s, u"Nome"_s, u"Vermelho"_s);
        script.expect(c.shown);
        click(s, u"BotaoGravar"_s);
        checkScript();
        EXPECT_EQ(count(), 0);
        EXPECT_TRUE(onListPage(s));
    }
}

TEST_F(FrameworkRegister, ExcluirDeletesOnlyWhenConfirmed)
{
    seed(1, u"Azul"_s);
    seed(2, u"Verde"_s);
    CoresScreen s(store);
    s.show();
    selectRow(s, 1);
    script.expect(u"Confirma eliminação deste registro ?"_s, MsgAnswer::No);
    click(s, u"btExcluir"_s);
    checkScript();
    EXPECT_EQ(count(), 2);

    script.expect(u"Confirma eliminação deste registro ?"_s, MsgAnswer::Yes);
    click(s, u"btExcluir"_s);
    checkScript();
    EXPECT_EQ(test::colunaJunta(store->db(), u"SELECT Codigo FROM Cores"_s), u"1"_s);
    EXPECT_EQ(s.grid()->model()->rowCount(), 1);

    selectRow(s, 0);
    script.expect(u"Confirma eliminação deste registro ?"_s, MsgAnswer::Yes);
    click(s, u"btExcluir"_s);
    EXPECT_EQ(count(), 0);
    // nothing left to change or delete
    EXPECT_FALSE(s.findChild<QAbstractButton*>(u"btAlterar"_s)->isEnabled());
    EXPECT_FALSE(s.findChild<QAbstractButton*>(u"btExcluir"_s)->isEnabled());
    EXPECT_TRUE(s.findChild<QAbstractButton*>(u"btIncluir"_s)->isEnabled());
}

TEST_F(FrameworkRegister, CancelarLeavesTheTableAsItWasInBothInsertStyles)
{
    using Style = RegisterScreen::InsertStyle;
    for (const Style style : {Style::Buffered, Style::PostThenEdit}) {
        SCOPED_TRACE(int(style));
        CoresScreen s(store);
        s.setInsertStyle(style);
        s.show();
        const qint64 before = count();
        click(s, u"btIncluir"_s);
        // a record posted at once exists, locked, while it is being entered
        EXPECT_EQ(count(), before + (style == Style::PostThenEdit ? 1 : 0));
        EXPECT_EQ(lockHeld(1), style == Style::PostThenEdit);
        type(s, u"Nome"_s, u"Cinza"_s);
        click(s, u"BotaoCancelar"_s);
        EXPECT_EQ(count(), before);
        EXPECT_FALSE(lockHeld(1));
        EXPECT_TRUE(onListPage(s));

        click(s, u"btIncluir"_s);  // and the same style saves
        type(s, u"Nome"_s, u"Prata"_s);
        click(s, u"BotaoGravar"_s);
        EXPECT_EQ(sql(u"SELECT Nome FROM Cores WHERE Codigo = 1"_s).toString(), u"Prata"_s);
        store->db().exec(u"DELETE FROM Cores"_s);
    }
}

TEST_F(FrameworkRegister, EnterWalksTheEnabledFieldsAndPressesGravar)
{
    seed(1, u"Azul"_s);
    CoresScreen s(store);
    s.show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    selectRow(s, 0);
    click(s, u"btAlterar"_s);
    ASSERT_EQ(s.focusWidget(), edit(s, u"Nome"_s));  // the key field is disabled in mode "A"
    QTest::keyClick(s.focusWidget(), Qt::Key_End);
    QTest::keyClicks(s.focusWidget(), u" Claro"_s);
    QTest::keyClick(s.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), edit(s, u"Preco"_s));
    QTest::keyClick(s.focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(s.focusWidget(), edit(s, u"Validade"_s));
    QTest::keyClick(s.focusWidget(), Qt::Key_Return);
    ASSERT_EQ(s.focusWidget(), s.findChild<QWidget*>(u"BotaoGravar"_s));
    QTest::keyClick(s.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(s.mode(), QString());
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores"_s).toString(), u"Azul Claro"_s);
}

TEST_F(FrameworkRegister, ClosingWithUnsavedChangesAsksBeforeDroppingThem)
{
    seed(1, u"Azul"_s);
    CoresScreen s(store);
    s.show();
    selectRow(s, 0);
    click(s, u"btAlterar"_s);
    type(s, u"Nome"_s, u"Nunca gravado"_s);

    script.expect(u"Deseja descartar as alterações?"_s).answer = MsgAnswer::No;
    EXPECT_FALSE(s.close());
    checkScript();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.mode(), u"A"_s);
    EXPECT_EQ(edit(s, u"Nome"_s)->text(), u"Nunca gravado"_s);
    EXPECT_TRUE(lockHeld(1));

    script.expect(u"Deseja descartar as alterações?"_s).answer = MsgAnswer::Yes;
    EXPECT_TRUE(s.close());
    checkScript();
    EXPECT_FALSE(lockHeld(1));
    EXPECT_FALSE(s.table()->active());
    EXPECT_EQ(s.mode(), QString());
    EXPECT_EQ(sql(u"SELECT Nome FROM Cores"_s).toString(), u"Azul"_s);

    seed(2, u"Verde"_s);  // written meanwhile by someone else
    s.show();
    EXPECT_TRUE(s.table()->active());
    EXPECT_TRUE(onListPage(s));
    EXPECT_EQ(s.grid()->model()->rowCount(), 2);
    selectRow(s, 1);
    click(s, u"btAlterar"_s);
    EXPECT_EQ(edit(s, u"Nome"_s)->text(), u"Verde"_s);
    click(s, u"BotaoCancelar"_s);
}

TEST_F(FrameworkRegister, ClosingRunsTheScreensOwnCancelarAndAsksOnlyWhenSomethingChanged)
{
    // A new record posted at once is deleted again by Cancelar, whether or not
    // the user typed anything; nothing typed asks nothing.
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed);
        CoresScreen s(store);
        s.setInsertStyle(RegisterScreen::InsertStyle::PostThenEdit);
        s.show();
        click(s, u"btIncluir"_s);
        ASSERT_EQ(count(), 1);
        if (typed) {
            type(s, u"Nome"_s, u"Cinza"_s);
            script.expect(u"Deseja descartar as alterações?"_s).answer = MsgAnswer::Yes;
        }
        EXPECT_TRUE(s.close());
        checkScript();
        EXPECT_EQ(count(), 0);
        EXPECT_FALSE(lockHeld(1));
    }
}

TEST_F(FrameworkRegister, OnePageOverAQueryShowsTheSelectedRecordAndEnablesThePanelOnlyWhileEditing)
{
    seed(1, u"Verde"_s);
    seed(2, u"Azul"_s);
    seed(3, u"Roxo"_s);
    CoresScreen s(store, RegisterScreen::Layout::OnePage);
    s.setGridQuery(u"SELECT * FROM Cores WHERE Codigo <> ? ORDER BY Nome"_s, {3},
                   {{u"Nome"_s, u"Nome"_s, 180, {}}, {u"Codigo"_s, u"Código"_s, 60, {}}});
    s.show();
    QWidget* panel = s.findChild<QWidget*>(u"entryPanel"_s);
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->isEnabled());
    ASSERT_EQ(s.grid()->model()->rowCount(), 2);
    EXPECT_EQ(cell(s, 0, 1), u"002"_s);  // typed by the table's declaration
    EXPECT_EQ(edit(s, u"Nome"_s)->text(), u"Azul"_s);

    selectRow(s, 1);
    EXPECT_EQ(edit(s, u"Nome"_s)->text(), u"Verde"_s);
    click(s, u"btAlterar"_s);
    EXPECT_TRUE(panel->isEnabled());
    type(s, u"Nome"_s, u"Amarelo"_s);
    click(s, u"BotaoGravar"_s);
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_EQ(test::colunaJunta(store->db(), u"SELECT Nome FROM Cores ORDER BY Codigo"_s, u","_s),
              u"Amarelo,Azul,Roxo"_s);
    // the query ran again: the changed record moved to the top and stays selected
    EXPECT_EQ(s.grid()->currentIndex().row(), 0);
    EXPECT_EQ(cell(s, 0, 0), u"Amarelo"_s);
}

}  // namespace
