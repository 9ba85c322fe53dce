#include "uCadEmbalPorProd.h"

#include "EmbalagemTables.h"
#include "EstpromaTable.h"
#include "ButtonRow.h"
#include "LookupCombo.h"
#include "Messages.h"

#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>

#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// Ties of NOME1 are ordered by branch and code, so the grid reads the same
// order chunk after chunk.
const QString productQuery = u"SELECT * FROM ESTPROMA ORDER BY NOME1, Filial, Cod_Reduz"_s;
const QString packagingQuery = u"SELECT * FROM EMBPROD WHERE COD_REDUZ = ? ORDER BY CODIGO"_s;
}  // namespace

TfoCadEmbalPorProd::TfoCadEmbalPorProd(std::shared_ptr<Store> store, QWidget* parent)
    : RegisterScreen(u"foCadEmbalPorProd"_s, u"Cadastro de Embalagens por Produto"_s, Layout::OnePage, parent),
      TEmbProd(store, u"EmbProd"_s),
      TEmbalagem(store, u"EMBALAGE"_s)
{
    setTable(&TEmbProd);
    setGridQuery(packagingQuery, {QVariant()},
                 {{u"Codigo"_s, u"Código"_s, 60, {}},
                  {u"Peso_Liq"_s, u"Peso Liquido"_s, 120, {}},
                  {u"Peso_Embal"_s, u"Peso Embalagem"_s, 130, {}}});
    // The packaging of a row is chosen only for a new row, with its own "OK".
    choice_ = new LookupCombo(u"Codigo"_s, u"Codigo"_s, u"Descricao"_s, FieldAccess::InsertOnly);
    choice_->setObjectName(u"cbEmbalagem"_s);
    btOkEmbalagem_ = makeButton(u"btOkEmbalagem"_s, u"OK"_s);
    addField(u"Embalagem"_s, choice_, btOkEmbalagem_);
    connect(btOkEmbalagem_, &QPushButton::clicked, this, &TfoCadEmbalPorProd::btOkEmbalagemClick);
    pesoLiq_ = addField(u"Peso Liquido"_s, u"Peso_Liq"_s);
    pesoEmbal_ = addField(u"Peso Embal."_s, u"Peso_Embal"_s);

    // "Voltar" takes the place of "Fechar" on this page; "Fechar" is on "Produtos".
    closeButton()->hide();
    btVoltar_ = addButton(u"btVoltar"_s, u"Voltar"_s);
    connect(btVoltar_, &QPushButton::clicked, this, &TfoCadEmbalPorProd::btVoltarClick);

    productPage_ = buildProductPage();
    tabs_ = placeOnPage(productPage_, u"Produtos"_s, u"Embalagens"_s);
    registerTab_ = tabs_->widget(1);
    resize(560, 440);
    showOnly(productPage_);
}

TfoCadEmbalPorProd::~TfoCadEmbalPorProd() = default;

QWidget* TfoCadEmbalPorProd::buildProductPage()
{
    auto* page = new QWidget;
    page->setObjectName(u"tsProdutos"_s);
    auto* layout = new QVBoxLayout(page);

    auto* search = new QHBoxLayout;
    edPesquisa_ = new QLineEdit;
    edPesquisa_->setObjectName(u"edPesquisa"_s);
    edPesquisa_->setMaxLength(45);  // as long as NOME1
    auto* label = new QLabel(u"Pesquisa"_s);
    label->setBuddy(edPesquisa_);
    search->addWidget(label);
    search->addWidget(edPesquisa_, 1);
    layout->addLayout(search);
    connect(edPesquisa_, &QLineEdit::textEdited, this, &TfoCadEmbalPorProd::edPesquisaChange);

    products_ = new CursorTableModel(this);
    products_->setColumns({{u"NOME1"_s, u"Descrição"_s, 300, {}},
                           {u"Densidade"_s, u"Densidade"_s, 80, {}},
                           {u"Cod_Reduz"_s, u"Código"_s, 70, {}}});
    grProdutos_ = new QTableView;
    grProdutos_->setObjectName(u"grProdutos"_s);
    setUpGrid(*grProdutos_, *products_);
    layout->addWidget(grProdutos_, 1);

    auto* buttons = new ButtonRow;
    btOk_ = buttons->add(u"btOk"_s, u"OK"_s);
    QPushButton* fechar = buttons->add(u"btFecharProdutos"_s, u"Fechar"_s);
    layout->addLayout(buttons);
    connect(btOk_, &QPushButton::clicked, this, &TfoCadEmbalPorProd::btOkClick);
    // A double click on a product opens it as "OK" does.
    connect(grProdutos_, &QTableView::doubleClicked, this, &TfoCadEmbalPorProd::btOkClick);
    connect(fechar, &QPushButton::clicked, this, &TfoCadEmbalPorProd::btFecharClick);
    auto enableOk = [this] { btOk_->setEnabled(grProdutos_->currentIndex().isValid()); };
    connect(grProdutos_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, enableOk);
    connect(products_, &QAbstractItemModel::modelReset, this, enableOk);
    enableOk();
    return page;
}

void TfoCadEmbalPorProd::showOnly(QWidget* page)
{
    if (!tabs_)
        return;
    for (int i = 0; i < tabs_->count(); ++i)
        tabs_->setTabVisible(i, tabs_->widget(i) == page);
    tabs_->setCurrentWidget(page);
}

// ---- opening and closing ------------------------------------------------------------

void TfoCadEmbalPorProd::openTables()
{
    TEmbalagem.open();
    choice_->fill(TEmbalagem);
    products_->setQuery(TEmbProd.storePtr(), productQuery, {}, estpromaTable());
    product_ = QVariant();
    setGridQuery(packagingQuery, {product_},
                 listModel()->columns());  // no product yet: an empty list
    RegisterScreen::openTables();
    showOnly(productPage_);
    if (products_->rowCount() > 0)
        grProdutos_->setCurrentIndex(products_->index(0, 0));
}

void TfoCadEmbalPorProd::closeTables()
{
    RegisterScreen::closeTables();
    products_->clear();
    choice_->clear();
    TEmbalagem.close();
    edPesquisa_->clear();
}

void TfoCadEmbalPorProd::showEvent(QShowEvent* event)
{
    RegisterScreen::showEvent(event);
    if (!event->spontaneous())
        grProdutos_->setFocus();
}

// ---- page "Produtos" -------------------------------------------------------------------

void TfoCadEmbalPorProd::edPesquisaChange(const QString& text)
{
    for (int row = 0;; ++row) {
        if (row >= products_->rowCount()) {
            if (!products_->canFetchMore())
                return;  // no product starts with the text: the grid stays where it is
            products_->fetchMore();
            if (row >= products_->rowCount())
                return;
        }
        if (products_->value(row, u"NOME1"_s).toString().startsWith(text, Qt::CaseInsensitive)) {
            grProdutos_->setCurrentIndex(products_->index(row, 0));
            grProdutos_->scrollTo(products_->index(row, 0));
            return;
        }
    }
}

void TfoCadEmbalPorProd::btOkClick()
{
    const QModelIndex current = grProdutos_->currentIndex();
    if (!current.isValid())
        return;
    guarded([&] {
        showPackagingsOf(products_->value(current.row(), u"Cod_Reduz"_s));
        showOnly(registerTab_);
        grid()->setFocus();
    });
}

void TfoCadEmbalPorProd::showPackagingsOf(const QVariant& codReduz)
{
    product_ = codReduz;
    setGridQuery(packagingQuery, {product_}, listModel()->columns());
}

// ---- page "Embalagens" ------------------------------------------------------------------

bool TfoCadEmbalPorProd::beforeInsert()
{
    if (product_.isNull())
        return false;
    choice_->fill(TEmbalagem);  // packagings added meanwhile are offered too
    return true;
}

bool TfoCadEmbalPorProd::initNewRecord(TableCursor& t)
{
    t.setValue(u"Cod_Reduz"_s, product_);
    choosing_ = true;
    return true;
}

void TfoCadEmbalPorProd::btOkEmbalagemClick()
{
    if (mode() != u"I"_s || !choosing_)
        return;
    guarded([&] {
        const QVariant codigo = choice_->chosen();
        if (codigo.isNull()) {
            mostraMensagem(u"Escolha uma embalagem da lista!"_s);
            choice_->setFocus();
            return;
        }
        if (productHasPackaging(TEmbProd.store().db(), product_.toLongLong(), codigo.toLongLong())) {
            mostraMensagem(u"Registro já existente!"_s);
            choosing_ = false;
            BotaoCancelarClick();
            return;
        }
        TEmbProd.setValue(u"Codigo"_s, codigo);
        choosing_ = false;
        updateStates();
        pesoLiq_->setFocus(Qt::OtherFocusReason);
    });
}

bool TfoCadEmbalPorProd::prepareEdit(TableCursor&)
{
    choosing_ = false;  // the packaging of an existing row stays
    return true;
}

bool TfoCadEmbalPorProd::validate(TableCursor& t)
{
    return aceita(packagingWeightsProblem(t));
}

void TfoCadEmbalPorProd::btVoltarClick()
{
    if (editing()) {
        // a row begun by "Incluir" is dropped, not left pending behind the list
        choosing_ = false;
        BotaoCancelarClick();
    }
    showOnly(productPage_);
    grProdutos_->setFocus();
}

void TfoCadEmbalPorProd::updateStates()
{
    RegisterScreen::updateStates();
    if (!btVoltar_)
        return;  // still being built
    const bool choosing = editing() && choosing_;
    const bool typingWeights = editing() && !choosing_;
    for (QWidget* w : std::initializer_list<QWidget*>{choice_, btOkEmbalagem_})
        w->setEnabled(choosing);
    for (QWidget* w : std::initializer_list<QWidget*>{pesoLiq_, pesoEmbal_, saveButton(), cancelButton()})
        w->setEnabled(typingWeights);
    btVoltar_->setEnabled(!typingWeights);
}

}  // namespace pcp
