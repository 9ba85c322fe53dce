// Field-bound edits (masks, conversions, refusals), the Enter key, and where
// windows open.
#include "FieldEdit.h"
#include "ScriptedTest.h"
#include "TableRoutines.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QVBoxLayout>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

FieldDef fieldOf(FieldType type, int size = 0, const QString& format = {})
{
    return FieldDef{u"Campo"_s, type, size, format, false};
}

void typeInto(FieldEdit& e, const QString& text)
{
    e.setFocus();
    e.home(false);
    QTest::keyClicks(&e, text);
}

TEST(FieldEdit, FormMasksBecomeQtInputMasks)
{
    struct Case {
        QString form;
        QString qt;
        bool saveLiterals;
    };
    const Case cases[] = {
        {u"!99/99/0000;1;_"_s, u"00/00/9999;_"_s, true},
        {u"99999-999;0;_"_s, u"00000-000;_"_s, false},
        {u"(99)_9999-9999;1;*"_s, u"(00) 0000-0000;*"_s, true},
        {u">LL<ll"_s, u">AA<aa;_"_s, true},            // no save or blank part: the defaults
        {u"<>AaCc#"_s, u"!NnXx#;_"_s, true},
        {u"\\0HD-00;0; "_s, u"\\0\\H\\D-99; "_s, false},  // Qt's mask letters taken literally
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form.toStdString());
        const EditMask m = parseEditMask(c.form);
        EXPECT_EQ(m.inputMask, c.qt);
        EXPECT_EQ(m.saveLiterals, c.saveLiterals);
    }
    EXPECT_TRUE(parseEditMask({}).inputMask.isEmpty());
}

TEST(FieldEdit, TypedTextBecomesTheFieldsValue)
{
    struct Case {
        FieldType type;
        QString mask;
        QString typed;
        QVariant expected;
        bool upper = false;
    };
    const Case cases[] = {
        {FieldType::Date, u"!99/99/0000;1;_"_s, u"31122024"_s, QDate(2024, 12, 31)},
        {FieldType::Date, u"!99/99/0000;1;_"_s, QString(), QVariant()},  // nothing typed: blank
        {FieldType::Date, {}, u"1/5/24"_s, QDate(2024, 5, 1)},
        {FieldType::Float, {}, u"1.234,56"_s, 1234.56},
        {FieldType::Currency, {}, u"-0,5"_s, -0.5},
        {FieldType::Integer, {}, u" 42 "_s, qint64(42)},
        {FieldType::String, u"99999-999;0;_"_s, u"01310000"_s, u"01310000"_s},
        {FieldType::String, u"99999-999;1;_"_s, u"01310000"_s, u"01310-000"_s},
        {FieldType::String, {}, u"tinta azul"_s, u"TINTA AZUL"_s, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask.toStdString() + " " + c.typed.toStdString());
        FieldEdit e(fieldOf(c.type, 20));
        e.setEditMask(c.mask);
        e.setUpperCase(c.upper);
        typeInto(e, c.typed);
        EXPECT_EQ(e.value(), c.expected);
    }
}

TEST(FieldEdit, BadTextIsRefusedWithAMessageNamingTheField)
{
    struct Case {
        FieldType type;
        QString typed;
        QString message;
    };
    const Case cases[] = {
        {FieldType::Float, u"12,3x"_s, u"'12,3x' não é um número válido (campo Campo)"_s},
        {FieldType::Integer, u"1,5"_s, u"'1,5' não é um número inteiro válido (campo Campo)"_s},
        {FieldType::Date, u"30/02/2024"_s, u"'30/02/2024' não é uma data válida (campo Campo)"_s},
        {FieldType::Date, u"2024-01-05"_s, u"'2024-01-05' não é uma data válida (campo Campo)"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        FieldEdit e(fieldOf(c.type));
        typeInto(e, c.typed);
        try {
            e.value();
            ADD_FAILURE() << "accepted";
        } catch (const DbError& error) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

class FieldEditStore : public test::ScriptedTest {
protected:
    void SetUp() override
    {
        TableDef t(u"Itens"_s);
        t.field(u"Codigo"_s, FieldType::Integer)
            .string(u"Nome"_s, 5)
            .field(u"Peso"_s, FieldType::Float, 0, u"0.00"_s)
            .key({u"Codigo"_s});
        store = Store::open(tmp.filePath(u"dados.sqlite"_s), {t});
        store->db().exec(u"INSERT INTO Itens VALUES (1, 'Lata', 10.125)"_s);
    }
    std::shared_ptr<Store> store;
};

TEST_F(FieldEditStore, TextLongerThanTheFieldCannotBeTyped)
{
    FieldEdit e(store->table(u"Itens"_s).fields()[1]);
    typeInto(e, u"abcdefgh"_s);
    EXPECT_EQ(e.text(), u"abcde"_s);
}

TEST_F(FieldEditStore, OnlyWhatTheUserChangedIsWrittenBack)
{
    TableCursor cursor(store, u"Itens"_s);
    cursor.open();
    FieldEdit peso(store->table(u"Itens"_s).fields()[2]);
    peso.load(cursor);
    EXPECT_EQ(peso.text(), u"10,13"_s);  // the display format rounds

    cursor.edit();
    peso.store(cursor);
    EXPECT_EQ(cursor.asFloat(u"Peso"_s), 10.125);  // unchanged: not rounded back into the record

    peso.setText(u"7,5"_s);  // set by a program (a scenario) counts as well as typing
    peso.store(cursor);
    EXPECT_EQ(cursor.asFloat(u"Peso"_s), 7.5);
    cursor.post();
    EXPECT_EQ(store->db().prepare(u"SELECT Peso FROM Itens"_s).scalar().toDouble(), 7.5);
}

TEST(FieldEdit, EnterMovesToTheNextFieldButMultiLineTextsAndGridsKeepIt)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit;
    auto* skipped = new QLineEdit;
    skipped->setEnabled(false);
    auto* readOnly = new FieldEdit(fieldOf(FieldType::String, 10));
    readOnly->setAccess(FieldAccess::ReadOnly);
    auto* notes = new QPlainTextEdit;
    auto* button = new QPushButton(u"Gravar"_s);
    for (QWidget* w : std::initializer_list<QWidget*>{first, skipped, readOnly, notes, button})
        layout->addWidget(w);
    int pressed = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
    EnterMovesFocus::install(&window);
    EnterMovesFocus::install(&window);  // once is enough; twice does no harm
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), notes);  // disabled and read-only boxes are passed over
    QTest::keyClicks(notes, u"a"_s);
    QTest::keyClick(notes, Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), notes);
    EXPECT_EQ(notes->toPlainText(), u"a\n"_s);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
}

TEST(FieldEdit, EnterPressesAFocusedButtonInAnyWindowOfTheProgram)
{
    // A dialog that installs nothing: its buttons are not default buttons.
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* name = new QLineEdit;
    auto* ok = new QPushButton(u"OK"_s);
    auto* check = new QCheckBox(u"Ativo"_s);
    ok->setAutoDefault(false);
    for (QWidget* w : std::initializer_list<QWidget*>{name, ok, check})
        layout->addWidget(w);
    int pressed = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++pressed; });
    dialog.show();
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed, 2);
    QTest::keyClick(ok, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(pressed, 2) << "Shift+Enter is not Enter";
    ok->setEnabled(false);
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_EQ(pressed, 2);
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_FALSE(check->isChecked()) << "Enter does not tick a check box";
}

class WindowPlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = programFolder();
        setProgramFolder(tmp.path());
    }
    void TearDown() override { setProgramFolder(previous); }
    QTemporaryDir tmp;
    QString previous;
};

TEST_F(WindowPlacementTest, ASavedPlacementComesBackForTheSameScreenName)
{
    QWidget saved;
    saved.resize(320, 200);
    saved.move(40, 30);
    saved.show();
    savePlacement(saved, u"foCadCores"_s);
    EXPECT_TRUE(QFile::exists(tmp.filePath(u"ini/foCadCores.ini"_s)));

    QWidget restored;
    ASSERT_TRUE(restorePlacement(restored, u"foCadCores"_s));
    restored.show();
    EXPECT_EQ(restored.pos(), QPoint(40, 30));
    EXPECT_EQ(restored.size(), QSize(320, 200));

    QWidget other;
    other.move(5, 6);
    EXPECT_FALSE(restorePlacement(other, u"foOutra"_s));
    EXPECT_EQ(other.pos(), QPoint(5, 6));
}

TEST_F(WindowPlacementTest, APlacementOnNoScreenIsIgnored)
{
    {
        QSettings ini(placementFile(u"foLonge"_s), QSettings::IniFormat);
        ini.beginGroup(u"foLonge"_s);
        ini.setValue(u"Left"_s, 50000);
        ini.setValue(u"Top"_s, 50000);
        ini.setValue(u"Width"_s, 300);
        ini.setValue(u"Height"_s, 200);
    }
    QWidget w;
    w.move(10, 10);
    EXPECT_FALSE(restorePlacement(w, u"foLonge"_s));
    EXPECT_EQ(w.pos(), QPoint(10, 10));
}

TEST_F(WindowPlacementTest, CentringPutsTheWindowInTheMiddle)
{
    QWidget w;
    w.resize(300, 100);
    w.show();
    centreOnScreen(w);
    const QRect area = w.screen()->availableGeometry();
    EXPECT_LE((w.frameGeometry().center() - area.center()).manhattanLength(), 1);

    QWidget small;
    small.resize(100, 50);
    small.show();
    centreOnWindow(small, &w);
    EXPECT_LE((small.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 1);
}

}  // namespace
