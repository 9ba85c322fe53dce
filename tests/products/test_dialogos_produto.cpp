// The two dialogs of the product register: the advanced product search and
// the observations per supplier of a product. A small host window stands in
// for the register: its buttons call the dialogs as the register does and
// show what came back.
#include "test_matizador_fixture.h"

#include "uPesqAvancadaProdutos.h"
#include "uRecebeObsFornProd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

class Host : public QWidget {
public:
    Host(std::shared_ptr<Store> store) : obsForn(store, u"ObsFornProd"_s)
    {
        setObjectName(u"Host"_s);
        auto* layout = new QVBoxLayout(this);
        for (QLineEdit* e : {edTexto, edProduto})
            layout->addWidget(e);
        edTexto->setObjectName(u"edTexto"_s);
        edProduto->setObjectName(u"edProduto"_s);
        lbResultado->setObjectName(u"lbResultado"_s);
        auto* pesquisa = new QPushButton(u"Pesquisa Avançada"_s);
        auto* obs = new QPushButton(u"Observações"_s);
        layout->addWidget(pesquisa);
        layout->addWidget(obs);
        layout->addWidget(lbResultado);
        obsForn.open();
        connect(pesquisa, &QPushButton::clicked, this, [this, store] {
            const auto code = pesquisaAvancadaProdutos(store, edTexto->text(), this);
            lbResultado->setText(code ? u"escolhido %1"_s.arg(*code) : u"fechado"_s);
        });
        connect(obs, &QPushButton::clicked, this, [this] {
            const bool saved = RecebeObsFornProd(obsForn, sessao().FilialAtual, edProduto->text().toLongLong(), this);
            lbResultado->setText(saved ? u"gravado"_s : u"cancelado"_s);
        });
    }
    QLineEdit* edTexto = new QLineEdit;
    QLineEdit* edProduto = new QLineEdit;
    QLabel* lbResultado = new QLabel;
    TableCursor obsForn;
};

class ProductDialogs : public test::TintingCompany {
protected:
    void SetUp() override
    {
        TintingCompany::SetUp();
        screens.add(u"Host"_s, [this] { return host = new Host(store); });
        for (const auto& [filial, codigo, nome, unidade] : products)
            exec(u"INSERT INTO Estproma (Filial, Cod_Reduz, NOME1, UNID_PAD) VALUES (?, ?, ?, ?)"_s,
                 {filial, codigo, nome, unidade});
    }
    std::string obsRow(int filial, int codigo)
    {
        return sql(u"SELECT coalesce(ObsForn1, '<null>') || '|' || coalesce(ObsForn2, '<null>') || '|' || "
                   u"coalesce(ObsForn6, '<null>') FROM ObsFornProd WHERE Filial = %1 AND Cod_Reduz = %2"_s
                       .arg(filial)
                       .arg(codigo))
            .toString()
            .toStdString();
    }

    struct Product {
        int filial;
        int codigo;
        QString nome;
        QString unidade;
    };
    const QList<Product> products{
        {1, 10, u"ESMALTE AZUL"_s, u"GL"_s},
        {1, 11, u"TINTA 5\" VERDE"_s, u"LT"_s},
        {2, 20, u"BASE AZUL"_s, u"KG"_s},
        {1, 12, u"THINNER"_s, u"LT"_s},
    };
    Host* host = nullptr;
};

TEST_F(ProductDialogs, TheSearchListsNamesContainingTheTextAndReturnsThePickedCodeOrClosed)
{
    struct Case {
        const char* what;
        const char16_t* text;
        int rows;
        const char16_t* leave;  // the steps that leave the dialog
        const char16_t* result;
    };
    const Case cases[] = {
        {"picked with Enter, all branches", u"AZUL", 2, u"seleciona grPesquisa 2\ntecla Enter", u"escolhido 10"},
        {"left with Fechar", u"AZUL", 2, u"seleciona grPesquisa 2\nclica btFechar", u"fechado"},
        {"left with Esc", u"AZUL", 2, u"tecla Esc", u"fechado"},
        {"a quote in the text", u"5\\\"", 1, u"seleciona grPesquisa 1\ntecla Enter", u"escolhido 11"},
        {"nothing found", u"VERNIZ", 0, u"tecla Enter\nclica btFechar", u"fechado"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString script = u"abre Host\npreenche edTexto \"%1\"\nclica \"Pesquisa Avançada\"\n"
                         u"confere-titulo \"Pesquisa Avançada de Produtos\"\n"
                         u"confere-linhas grPesquisa %2\n"_s.arg(QString::fromUtf16(c.text))
                             .arg(c.rows);
        if (c.rows == 2)  // ordered by name; the branch-2 product is listed too
            script += u"confere-celula grPesquisa 1 \"Descrição\" \"BASE AZUL\"\n"
                      u"confere-celula grPesquisa 1 \"Código\" \"20\"\n"
                      u"confere-celula grPesquisa 2 \"Unidade\" \"GL\"\n"_s;
        script += QString::fromUtf16(c.leave) + u"\nconfere lbResultado \"%1\"\n"_s.arg(QString::fromUtf16(c.result));
        run(script);
    }
}

TEST_F(ProductDialogs, ADoubleClickPicksTheRowAndClosingClosesTheQuery)
{
    TfoPesqAvancadaProdutos dialog(store);
    dialog.setNomeContendo(u"T"_s);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableView* grid = dialog.grade();
    ASSERT_EQ(grid->model()->rowCount(), 3);  // ESMALTE AZUL, THINNER, TINTA 5" VERDE
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());  // a double click starts as one
    EXPECT_TRUE(dialog.isVisible()) << "a single click only selects";
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dialog.resultado(), TfoPesqAvancadaProdutos::Resultado::Escolhido);
    EXPECT_EQ(dialog.codigoEscolhido(), 12);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(grid->model()->rowCount(), 0);

    // used again: the same dialog forgets the earlier pick when left with "Fechar"
    dialog.setNomeContendo(u"T"_s);
    dialog.show();
    dialog.findChild<QPushButton*>(u"btFechar"_s)->click();
    EXPECT_EQ(dialog.resultado(), TfoPesqAvancadaProdutos::Resultado::Fechado);
    EXPECT_EQ(dialog.codigoEscolhido(), 0);
}

TEST_F(ProductDialogs, ObservationsCreateTheProductsRowAndKeepOnlyWhatGravarSaved)
{
    struct Case {
        const char* what;
        const char16_t* before;  // ObsForn1 of an existing row; nullptr for no row
        const char16_t* leave;
        const char16_t* result;
        const char16_t* after;
    };
    const Case cases[] = {
        {"new row, cancelled", nullptr, u"clica BotaoCancelar", u"cancelado", u"<null>|<null>|<null>"},
        {"new row, Esc", nullptr, u"tecla Esc", u"cancelado", u"<null>|<null>|<null>"},
        {"new row, saved", nullptr, u"clica BotaoGravar", u"gravado", u"ENTREGA LENTA|<null>|SO A VISTA"},
        {"old row, cancelled", u"ANTIGA", u"clica BotaoCancelar", u"cancelado", u"ANTIGA|<null>|<null>"},
        {"old row, saved", u"ANTIGA", u"clica BotaoGravar", u"gravado", u"ENTREGA LENTA|<null>|SO A VISTA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec(u"DELETE FROM ObsFornProd"_s);
        // the same product of another branch is someone else's row
        exec(u"INSERT INTO ObsFornProd (Filial, Cod_Reduz, ObsForn1) VALUES (2, 10, 'OUTRA FILIAL')"_s);
        if (c.before)
            exec(u"INSERT INTO ObsFornProd (Filial, Cod_Reduz, ObsForn1) VALUES (1, 10, ?)"_s,
                 {QString::fromUtf16(c.before)});
        run(u"abre Host\npreenche edProduto \"10\"\nclica \"Observações\"\n"
            u"confere-titulo \"Observações dos Fornecedores do Produto\"\n"
            u"confere ObsForn1 \"%1\"\n"
            u"preenche ObsForn1 \"ENTREGA LENTA\"\n"
            u"preenche ObsForn6 \"SO A VISTA\"\n"
            u"%2\n"
            u"confere lbResultado \"%3\"\n"_s.arg(c.before ? QString::fromUtf16(c.before) : QString(),
                                                 QString::fromUtf16(c.leave), QString::fromUtf16(c.result)));
        EXPECT_EQ(obsRow(1, 10), QString::fromUtf16(c.after).toStdString());
        EXPECT_EQ(obsRow(2, 10), "OUTRA FILIAL|<null>|<null>");
        EXPECT_EQ(sql(u"SELECT count(*) FROM ObsFornProd"_s).toInt(), 2);
        ASSERT_TRUE(host);
        EXPECT_EQ(host->obsForn.state(), TableCursor::State::Browse) << "the row stays locked";
    }
}

TEST_F(ProductDialogs, EnterMovesThroughTheObservationBoxes)
{
    // the first Enter starts from the first box
    QString script = u"abre Host\npreenche edProduto \"12\"\nclica \"Observações\"\n"_s;
    for (int i = 2; i <= 6; ++i)
        script += u"tecla Enter\nconfere-estado ObsForn%1 focado\n"_s.arg(i);
    script += u"tecla Enter\nconfere-estado BotaoGravar focado\nclica BotaoCancelar\n"_s;
    run(script);
    EXPECT_EQ(obsRow(1, 12), "<null>|<null>|<null>");
}

}  // namespace
