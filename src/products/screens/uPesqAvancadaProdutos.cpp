#include "uPesqAvancadaProdutos.h"

#include "EstpromaTable.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoPesqAvancadaProdutos::TfoPesqAvancadaProdutos(std::shared_ptr<Store> store, QWidget* parent)
    : QDialog(parent),
      store_(std::move(store)),
      model_(new CursorTableModel(this)),
      grPesquisa(new QTableView),
      btFechar(new QPushButton(u"Fechar"_s))
{
    setObjectName(u"foPesqAvancadaProdutos"_s);
    setWindowTitle(u"Pesquisa Avançada de Produtos"_s);
    model_->setColumns({{u"COD_REDUZ"_s, u"Código"_s, 70, {}},
                        {u"NOME1"_s, u"Descrição"_s, 330, {}},
                        {u"UNID_PAD"_s, u"Unidade"_s, 60, {}}});
    grPesquisa->setObjectName(u"grPesquisa"_s);
    setUpGrid(*grPesquisa, *model_);
    grPesquisa->installEventFilter(this);
    btFechar->setObjectName(u"btFechar"_s);
    btFechar->setAutoDefault(false);  // Enter on the grid picks; it never closes

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grPesquisa, 1);
    layout->addLayout(buttons);
    resize(520, 380);

    connect(grPesquisa, &QTableView::doubleClicked, this, &TfoPesqAvancadaProdutos::grPesquisaDblClick);
    connect(btFechar, &QPushButton::clicked, this, &TfoPesqAvancadaProdutos::btFecharClick);
}

TfoPesqAvancadaProdutos::~TfoPesqAvancadaProdutos() = default;

void TfoPesqAvancadaProdutos::setQuery(const QString& sql, const QVariantList& params)
{
    if (!actions_.guarded([&] { model_->setQuery(store_, sql, params, estpromaTable()); }))
        model_->clear();
    if (model_->rowCount() > 0)
        grPesquisa->setCurrentIndex(model_->index(0, 0));
}

void TfoPesqAvancadaProdutos::setNomeContendo(const QString& texto)
{
    // ordered, so that the grid's pages follow one another
    setQuery(u"SELECT FILIAL, COD_REDUZ, NOME1, UNID_PAD FROM ESTPROMA WHERE NOME1 LIKE ? "
             u"ORDER BY NOME1, FILIAL, COD_REDUZ"_s,
             {QVariant(u"%"_s + texto + u"%"_s)});
}

void TfoPesqAvancadaProdutos::grPesquisaDblClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    codigo_ = model_->value(index.row(), u"COD_REDUZ"_s).toLongLong();
    resultado_ = Resultado::Escolhido;
    accept();
}

void TfoPesqAvancadaProdutos::btFecharClick() { reject(); }

void TfoPesqAvancadaProdutos::done(int result)
{
    if (result != Accepted) {
        resultado_ = Resultado::Fechado;
        codigo_ = 0;
    }
    model_->clear();
    QDialog::done(result);
}

void TfoPesqAvancadaProdutos::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TfoPesqAvancadaProdutos::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grPesquisa && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            grPesquisaDblClick(grPesquisa->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<qint64> pesquisaAvancadaProdutos(std::shared_ptr<Store> store, const QString& texto, QWidget* parent)
{
    TfoPesqAvancadaProdutos dialog(std::move(store), parent);
    dialog.setNomeContendo(texto);
    dialog.exec();
    if (dialog.resultado() == TfoPesqAvancadaProdutos::Resultado::Escolhido)
        return dialog.codigoEscolhido();
    return std::nullopt;
}

}  // namespace pcp
