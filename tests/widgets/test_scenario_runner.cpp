// The scenario runner against a small window built here: fields with a
// validator and a mask, a confirmation, a modal dialog, an input box, a menu,
// a grid and a delayed message.
#include "Database.h"
#include "Messages.h"
#include "ScenarioRunner.h"
#include "ScreenRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace pcp;

namespace {

class TestWindow : public QMainWindow {
public:
    explicit TestWindow(Database* db = nullptr) : db_(db)
    {
        setObjectName(u"TfoTeste"_s);
        setWindowTitle(u"Cadastro de Teste"_s);
        auto* central = new QWidget(this);
        auto* form = new QFormLayout(central);

        codigo = new QLineEdit;
        codigo->setObjectName(u"edCodigo"_s);
        codigo->setValidator(new QIntValidator(0, 9999, codigo));
        auto* codigoLabel = new QLabel(u"&Código:"_s);
        codigoLabel->setBuddy(codigo);
        form->addRow(codigoLabel, codigo);

        descricao = new QLineEdit;
        descricao->setObjectName(u"edDescricao"_s);
        descricao->setMaxLength(10);
        form->addRow(u"Descrição:"_s, descricao);  // found through the form row, no buddy

        data = new QLineEdit;
        data->setObjectName(u"edData"_s);
        data->setInputMask(u"99/99/9999"_s);
        form->addRow(u"Data:"_s, data);

        auto* preco = new QDoubleSpinBox;
        preco->setObjectName(u"edPreco"_s);
        preco->setLocale(QLocale::c());
        preco->setRange(0, 1000);
        form->addRow(u"Preço:"_s, preco);
        auto* emissao = new QDateEdit(QDate(2000, 1, 1));
        emissao->setObjectName(u"edEmissao"_s);
        emissao->setDisplayFormat(u"dd/MM/yyyy"_s);
        form->addRow(u"Emissão:"_s, emissao);

        tipo = new QComboBox;
        tipo->setObjectName(u"cbTipo"_s);
        tipo->addItems({u"Lata"_s, u"Balde"_s});
        form->addRow(u"Tipo:"_s, tipo);

        ativo = new QCheckBox(u"&Ativo"_s);
        ativo->setObjectName(u"ckAtivo"_s);
        form->addRow(ativo);

        status = new QLabel;
        status->setObjectName(u"lbStatus"_s);
        form->addRow(status);

        button(form, u"BotaoGravar"_s, u"&Gravar"_s, [this] { grava(); });
        button(form, u"btOpcoes"_s, u"&Opções..."_s, [this] { opcoes(); });
        button(form, u"btNome"_s, u"Nome"_s, [this] {
            const auto nome = pedeTexto(u"Nome"_s, u"Digite o nome"_s);
            status->setText(nome ? u"Nome: "_s + *nome : u"Sem nome"_s);
        });
        button(form, u"btDepois"_s, u"Depois"_s, [this] {
            QTimer::singleShot(50, this, [] { mostraInformacao(u"Pronto"_s); });
        });
        button(form, u"btNada"_s, u"Nada"_s, [] {});
        button(form, u"btSai"_s, u"Sai"_s, [this] { aoSair(); });
        // A long run that keeps the window responsive, as the batch screens do.
        button(form, u"btProcessa"_s, u"Processa"_s, [this] {
            for (int i = 0; i < 5; ++i) {
                status->setText(u"Processando"_s);
                QEventLoop wait;
                QTimer::singleShot(runMs / 5, &wait, &QEventLoop::quit);
                wait.exec();
            }
            status->setText(u"Concluído"_s);
        });
        button(form, u"btDesabilitado"_s, u"Desabilitado"_s, [] {})->setEnabled(false);
        connect(codigo, &QLineEdit::returnPressed, this, [this] { status->setText(u"Enter em "_s + codigo->text()); });

        auto* pages = new QTabWidget;
        pages->setObjectName(u"pcPaginas"_s);
        pages->addTab(new QLabel(u"lista"_s), u"&Lista"_s);
        auto* pagina = new QLineEdit;
        pagina->setObjectName(u"edPagina"_s);
        pages->addTab(pagina, u"&Dados"_s);
        form->addRow(pages);

        auto* model = new QStandardItemModel(0, 2, this);
        model->setHorizontalHeaderLabels({u"Código"_s, u"Descrição"_s});
        for (const auto& [c, d] : {std::pair{u"1"_s, u"Lata 18L"_s}, {u"2"_s, u"Balde"_s}, {u"3"_s, u"Galão"_s}})
            model->appendRow({new QStandardItem(c), new QStandardItem(d)});
        grid = new QTableView;
        grid->setObjectName(u"grItens"_s);
        grid->setModel(model);
        form->addRow(grid);
        connect(grid, &QTableView::clicked, this, [this](const QModelIndex& i) {
            status->setText(u"Linha "_s + QString::number(i.row() + 1));
        });

        QMenu* cadastros = menuBar()->addMenu(u"&Cadastros"_s);
        connect(cadastros->addAction(u"&Embalagens"_s), &QAction::triggered, this,
                [this] { status->setText(u"Menu Embalagens"_s); });
        cadastros->addAction(u"Fechados"_s)->setEnabled(false);
        setCentralWidget(central);
    }

    QLineEdit* codigo;
    QLineEdit* descricao;
    QLineEdit* data;
    QComboBox* tipo;
    QCheckBox* ativo;
    QLabel* status;
    QTableView* grid;
    int runMs = 50;
    std::function<void()> aoSair = [] {};

private:
    template <typename F>
    QPushButton* button(QFormLayout* form, const QString& name, const QString& caption, F onClick)
    {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, onClick);
        form->addRow(b);
        return b;
    }

    void grava()
    {
        if (descricao->text().isEmpty()) {
            mostraAviso(u"Informe a descrição!"_s);
            return;
        }
        if (!confirma(u"Confirma a gravação?"_s)) {
            status->setText(u"Cancelado"_s);
            return;
        }
        if (db_) {
            Statement insert = db_->prepare(u"insert into Embalagem (Codigo, Descricao) values (?, ?)"_s);
            insert.bindList({codigo->text().toInt(), descricao->text()}).run();
        }
        status->setText(u"Gravado: "_s + descricao->text());
    }

    // A modal dialog: the runner's steps go on inside its event loop.
    void opcoes()
    {
        QDialog dialog(this);
        dialog.setObjectName(u"TfoOpcoes"_s);
        dialog.setWindowTitle(u"Opções"_s);
        auto* layout = new QVBoxLayout(&dialog);
        auto* quantidade = new QLineEdit(&dialog);
        quantidade->setObjectName(u"edQtd"_s);
        layout->addWidget(quantidade);
        auto* ok = new QPushButton(u"OK"_s, &dialog);
        ok->setObjectName(u"btOk"_s);
        ok->setDefault(true);
        auto* cancel = new QPushButton(u"Cancelar"_s, &dialog);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        connect(ok, &QPushButton::clicked, &dialog, [&] {
            if (quantidade->text().isEmpty())
                mostraErro(u"Informe a quantidade"_s);
            else
                dialog.accept();
        });
        connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        if (dialog.exec() == QDialog::Accepted)
            status->setText(u"Quantidade: "_s + quantidade->text());
        else
            status->setText(u"Sem quantidade"_s);
    }

    Database* db_;
};

class ScenarioRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TestWindow>(db.get());
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override
    {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the run left a modal window open";
    }

    bool run(const QString& script)
    {
        runner.setStepTimeout(5000);
        return runner.run(script);
    }

    std::unique_ptr<Database> db;
    std::unique_ptr<TestWindow> window;
    ScenarioRunner runner;
};

TEST_F(ScenarioRunnerTest, DrivesFieldsButtonsMessagesAndModalDialogs)
{
    const bool ok = run(uR"(
# fields by name and by the caption of their label
janela TfoTeste
confere-titulo "Cadastro de Teste"
preenche edCodigo "12ab"
confere "Código:" "12"
preenche "Descrição:" "Lata de tinta 18 litros"
confere edDescricao "Lata de ti"
preenche edData "01022024"
confere edData "01/02/2024"
preenche "Preço:" "12.5"
confere edPreco "12.5"
tecla Tab
confere edPreco "12.50"
preenche edEmissao "05032024"
confere edEmissao "05/03/2024"
preenche cbTipo "Balde"
preenche Ativo sim
confere-estado ckAtivo marcado
confere-estado btDesabilitado desabilitado

# a confirmation answered from the script, written before the click
mensagem "Confirma a gravação?" titulo "Confirmação" icone pergunta responde Não
clica "Gravar"
confere lbStatus "Cancelado"
mensagem "Confirma a gravação?" responde Sim
clica BotaoGravar
confere lbStatus "Gravado: Lata de ti"

# a modal dialog: a message inside it, then OK closes it
clica "Opções..."
confere-titulo "Opções"
mensagem "Informe a quantidade" icone erro
clica OK
preenche edQtd "5"
tecla Enter
confere lbStatus "Quantidade: 5"

# Esc leaves the dialog as Cancel; Alt+G is the mnemonic of "&Gravar"
clica "Opções..."
tecla Esc
confere lbStatus "Sem quantidade"
mensagem "Confirma a gravação?" responde Não
tecla Alt+G
confere lbStatus "Cancelado"

# a tab's caption shows its page
clica Dados
preenche edPagina "na página"
confere-estado edPagina focado

entrada "Nome" responde "Maria"
clica btNome
confere lbStatus "Nome: Maria"
entrada "Nome" cancela
clica btNome
confere lbStatus "Sem nome"

menu "Cadastros/Embalagens"
confere lbStatus "Menu Embalagens"

confere-linhas grItens 3
confere-celula grItens 3 "Descrição" "Galão"
confere-celula grItens 1 1 "1"
seleciona grItens 2
confere lbStatus "Linha 2"

preenche edCodigo "77"
tecla Enter
confere lbStatus "Enter em 77"

# an action that processes events is waited for
clica Processa
confere lbStatus "Concluído"

# the message comes from a timer: it belongs to the wait, not to the click
clica Depois
mensagem "Pronto" titulo "Informação"
aguarda 200 ms
)"_s);
    ASSERT_TRUE(ok) << runner.error().toStdString();
    EXPECT_TRUE(runner.error().isEmpty());
    EXPECT_EQ(window->tipo->currentText(), u"Balde"_s);
    EXPECT_TRUE(window->ativo->isChecked());
    EXPECT_EQ(window->grid->currentIndex().row(), 1);
    EXPECT_EQ(runner.shownMessages().size(), 5 + 2);  // 5 boxes and 2 input boxes
}

struct FailingScript {
    const char* name;
    const char16_t* script;
    int line;
    const char16_t* text;  // part of the failure text
    bool atEnd = false;    // the failure is found once the script has ended
};

void PrintTo(const FailingScript& c, std::ostream* os) { *os << c.name; }

class ScenarioRunnerFailures : public ScenarioRunnerTest, public ::testing::WithParamInterface<FailingScript> {};

TEST_P(ScenarioRunnerFailures, StopsAtTheFirstMismatchAndNamesTheLine)
{
    const FailingScript& c = GetParam();
    // A step after the failing one leaves a mark that must not appear: the run stops there.
    QString script = QString::fromUtf16(c.script);
    if (!c.atEnd)
        script += u"\npreenche edCodigo \"999\"\n"_s;
    EXPECT_FALSE(run(script));
    EXPECT_EQ(runner.failure().line, c.line) << runner.error().toStdString();
    EXPECT_TRUE(runner.failure().text.contains(QString::fromUtf16(c.text))) << runner.error().toStdString();
    EXPECT_TRUE(runner.error().startsWith(u"linha %1: "_s.arg(c.line)));
    EXPECT_NE(window->codigo->text(), u"999"_s) << "steps ran after the failure";
}

const FailingScript kFailingScripts[] = {
    {"WrongText", u"preenche edCodigo 5\nconfere edCodigo \"6\"", 2, u"\"edCodigo\" mostra \"5\"; esperado \"6\""},
    {"UnknownWidget", u"clica btNada\nclica btInexistente", 2, u"botão \"btInexistente\" não encontrado"},
    {"UnknownCaption", u"preenche \"Peso:\" 5", 1, u"campo \"Peso:\" não encontrado"},
    {"NotAButton", u"clica edCodigo", 1, u"não é um botão"},
    {"DisabledButton", u"clica btDesabilitado", 1, u"desabilitado"},
    {"FieldOnAHiddenPage", u"preenche edPagina x", 1, u"\"edPagina\" não está visível"},
    {"MissingComboItem", u"preenche cbTipo \"Tambor\"", 1, u"não tem o item \"Tambor\""},
    {"UnexpectedMessage", u"clica Gravar", 1, u"mensagem inesperada"},
    {"MessageTextDiffers", u"preenche edDescricao x\nmensagem \"Confirma gravação?\" responde Sim\nclica Gravar", 3,
     u"texto esperado \"Confirma gravação?\""},
    {"MessageCaptionDiffers", u"mensagem \"Informe a descrição!\" titulo \"Erro\"\nclica Gravar", 2,
     u"titulo esperado \"Erro\""},
    {"AnswerNotOffered", u"preenche edDescricao x\nmensagem \"Confirma a gravação?\"\nclica Gravar", 3,
     u"nao e um dos botoes"},
    {"MessageNotShownByItsAction", u"mensagem \"Confirma a gravação?\" responde Sim\nclica btNada\nclica btNada", 2,
     u"a mensagem esperada na linha 1 não apareceu"},
    {"TimerMessageExpectedBeforeTheClick", u"mensagem \"Pronto\"\nclica Depois\naguarda 200", 2,
     u"a mensagem esperada na linha 1 não apareceu"},
    {"TimerMessageWithoutWait", u"clica Depois\nmensagem \"Pronto\"", 2, u"não apareceu: \"Pronto\"", true},
    {"MessageLeftOverAtTheEnd", u"clica btNada\nmensagem \"Pronto\"", 2, u"não apareceu: \"Pronto\"", true},
    {"UnexpectedInput", u"clica btNome", 1, u"pedido de texto inesperado"},
    {"WrongAnswerToModalDialog", u"clica Opções...\npreenche edQtd 5\nclica Cancelar\nconfere lbStatus \"Quantidade: 5\"", 4,
     u"mostra \"Sem quantidade\""},
    {"FailureInsideModalDialog", u"clica Opções...\nconfere edQtd \"9\"", 2, u"mostra \"\"; esperado \"9\""},
    {"ModalDialogLeftOpen", u"clica Opções...\npreenche edQtd 5", 2, u"terminou com a janela \"Opções\" aberta", true},
    {"MenuEntryMissing", u"menu \"Cadastros/Clientes\"", 1, u"menu \"Cadastros/Clientes\" não encontrado"},
    {"MenuEntryDisabled", u"menu \"Cadastros/Fechados\"", 1, u"desabilitado"},
    {"GridRowMissing", u"confere-celula grItens 4 1 \"x\"", 1, u"tem 3 linha(s)"},
    {"GridColumnMissing", u"confere-celula grItens 1 \"Preço\" \"x\"", 1, u"não tem a coluna \"Preço\""},
    {"GridRowCount", u"confere-linhas grItens 2", 1, u"tem 3 linha(s); esperado 2"},
    {"WrongState", u"confere-estado ckAtivo marcado", 1, u"não está marcado"},
    {"UnknownScreen", u"abre TfoInexistente", 1, u"tela \"TfoInexistente\" não registrada"},
    {"NoStore", u"confere-sql \"select 1\" 1", 1, u"não tem acesso ao banco"},
    {"SyntaxError", u"clica btNada\n\n# comentário\ncalca botas", 4, u"passo desconhecido \"calca\""},
};

INSTANTIATE_TEST_SUITE_P(ScenarioScripts, ScenarioRunnerFailures, ::testing::ValuesIn(kFailingScripts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScenarioRunnerTest, UnansweredQuestionsTakeTheCancelPath)
{
    // A failure inside the dialog closes it as Cancel would; a question nobody
    // expected is answered "no".
    EXPECT_FALSE(run(u"preenche edDescricao abc\nclica Opções...\nconfere edQtd \"9\""_s));
    EXPECT_EQ(window->status->text(), u"Sem quantidade"_s);
    EXPECT_FALSE(run(u"preenche edDescricao abc\nclica Gravar"_s));
    EXPECT_EQ(window->status->text(), u"Cancelado"_s);
}

class ScenarioRunnerStoreTest : public ScenarioRunnerTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<Database>(dir.filePath(u"dados.sqlite"_s));
        db->exec(u"create table Embalagem (Codigo integer primary key, Descricao text)"_s);
        ScenarioRunnerTest::SetUp();
        runner.setDatabase(db.get());
    }
    QTemporaryDir dir;
};

TEST_F(ScenarioRunnerStoreTest, ChecksTheStoreWithAQuery)
{
    const QString save = uR"(
preenche edCodigo 7
preenche edDescricao "Balde 20L"
mensagem "Confirma a gravação?" responde Sim
clica Gravar
confere-sql "select count(*) from Embalagem" "1"
confere-sql "select Descricao from Embalagem where Codigo = 7" "Balde 20L"
confere-sql "select Descricao from Embalagem where Codigo = 8" ""
)"_s;
    ASSERT_TRUE(run(save)) << runner.error().toStdString();

    EXPECT_FALSE(run(u"confere-sql \"select count(*) from Embalagem\" \"2\""_s));
    EXPECT_EQ(runner.error(), u"linha 1: a consulta mostra \"1\"; esperado \"2\""_s);
    EXPECT_FALSE(run(u"confere-sql \"select * from Inexistente\" \"\""_s));
    EXPECT_TRUE(runner.failure().text.startsWith(u"erro na consulta: "_s)) << runner.error().toStdString();
}

TEST_F(ScenarioRunnerTest, OpensAndClosesRegisteredScreens)
{
    ScreenRegistry screens;
    int built = 0;
    screens.add(u"TfoCadEmbalagem"_s, [&] {
        ++built;
        auto* w = new QWidget;
        w->setWindowTitle(u"Embalagens"_s);
        auto* edit = new QLineEdit(w);
        edit->setObjectName(u"edNome"_s);
        return w;
    }, {}, ScreenInfo::Lifetime::HideOnClose);
    runner.setScreens(&screens);

    ASSERT_TRUE(run(uR"(
abre TfoCadEmbalagem
confere-titulo "Embalagens"
preenche edNome "tinta"
fecha
abre TfoCadEmbalagem
confere edNome "tinta"
fecha TfoCadEmbalagem
)"_s)) << runner.error().toStdString();
    EXPECT_EQ(built, 1);
    ASSERT_NE(screens.find(u"TfoCadEmbalagem"_s), nullptr);
    EXPECT_FALSE(screens.find(u"TfoCadEmbalagem"_s)->isVisible());
}

TEST_F(ScenarioRunnerTest, FailsAnActionThatOutlastsTheStepTimeout)
{
    window->runMs = 500;
    runner.setStepTimeout(100);
    EXPECT_FALSE(runner.run(u"clica btNada\nclica Processa\nconfere lbStatus \"Concluído\""_s));
    EXPECT_EQ(runner.error(), u"linha 2: a ação não terminou em 100 ms"_s);
    EXPECT_EQ(window->status->text(), u"Concluído"_s);  // the run returned only after the action did
}

TEST_F(ScenarioRunnerTest, LogsEachStepAndReportsAnUnreadableFile)
{
    QStringList log;
    runner.setLog([&](const QString& line) { log << line; });
    ASSERT_TRUE(run(u"\n# nada\nclica btNada\n"_s));
    EXPECT_EQ(log, QStringList{u"linha 3: clica btNada"_s});

    QString error;
    EXPECT_FALSE(runner.runFile(u"/nao/existe/roteiro.txt"_s, &error));
    EXPECT_EQ(runner.failure().line, 0);
    EXPECT_TRUE(error.contains(u"/nao/existe/roteiro.txt"_s)) << error.toStdString();
}

// The program ending under a script: what was left of it is a failure at the
// first line not run, whether the program says it ended (stop) or its event
// loop was simply ended.
TEST_F(ScenarioRunnerTest, TheProgramEndingUnderTheScriptFailsAtTheFirstLineLeft)
{
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"stop", [this] { runner.stop(u"o programa terminou antes desta linha"_s); }},
        {"exit", [] { QCoreApplication::exit(0); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        window->aoSair = way;
        EXPECT_FALSE(run(u"clica btNada\nclica btSai\n\nconfere-titulo \"impossível\"\nclica btNada\n"_s));
        EXPECT_EQ(runner.error(), u"linha 4: o programa terminou antes desta linha"_s);
        // an ended application refuses every later event loop until it runs again
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    // ending with the last step is the script's own end
    window->aoSair = [this] { runner.stop(u"o programa terminou"_s); };
    EXPECT_TRUE(run(u"clica btNada\nclica btSai\n"_s)) << runner.error().toStdString();
}

}  // namespace
