#pragma once
// The advanced product search of the product register ("Pesquisa Avançada de
// Produtos"): a grid of products over a query the caller gives; a double click
// (or Enter) on a row picks its product, "Fechar" leaves without one.
#include "CursorTableModel.h"
#include "ScreenActions.h"

#include <QDialog>
#include <optional>

class QPushButton;
class QTableView;

namespace pcp {

class TfoPesqAvancadaProdutos : public QDialog {
    Q_OBJECT
public:
    enum class Resultado { Escolhido, Fechado };

    explicit TfoPesqAvancadaProdutos(std::shared_ptr<Store> store, QWidget* parent = nullptr);
    ~TfoPesqAvancadaProdutos() override;

    // The query of the grid, with bound parameters; it gives the columns
    // COD_REDUZ, NOME1 and UNID_PAD (typed as in Estproma).
    void setQuery(const QString& sql, const QVariantList& params = {});
    // The search of the register: products of all branches whose NOME1
    // contains the text.
    void setNomeContendo(const QString& texto);

    Resultado resultado() const { return resultado_; }
    // The Cod_Reduz of the picked row; 0 when none was picked.
    qint64 codigoEscolhido() const { return codigo_; }

    QTableView* grade() const { return grPesquisa; }

public slots:
    void grPesquisaDblClick(const QModelIndex& index);
    void btFecharClick();
    void done(int result) override;  // closing, in any way, closes the query

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<Store> store_;
    CursorTableModel* model_;
    ScreenActions actions_;
    QTableView* grPesquisa;
    QPushButton* btFechar;
    Resultado resultado_ = Resultado::Fechado;
    qint64 codigo_ = 0;
    bool centred_ = false;
};

// Runs the register's advanced search for a text in a dialog made for this
// use and released afterwards: the picked Cod_Reduz, or nothing when the user
// left with "Fechar".
std::optional<qint64> pesquisaAvancadaProdutos(std::shared_ptr<Store> store, const QString& texto,
                                               QWidget* parent = nullptr);

}  // namespace pcp
