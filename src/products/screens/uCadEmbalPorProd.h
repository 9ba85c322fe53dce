#pragma once
// The packagings of each product ("Cadastro de Embalagens por Produto"): the
// page "Produtos" chooses a product from the list of every branch; the page
// "Embalagens" keeps that product's packagings with their weights.
#include "RegisterScreen.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace pcp {

class LookupCombo;

class TfoCadEmbalPorProd : public RegisterScreen {
    Q_OBJECT
public:
    explicit TfoCadEmbalPorProd(std::shared_ptr<Store> store, QWidget* parent = nullptr);
    ~TfoCadEmbalPorProd() override;

    QTableView* productGrid() const { return grProdutos_; }

public slots:
    void btOkClick();           // page "Produtos": the packagings of the current product
    void btOkEmbalagemClick();  // the list's "OK": the chosen packaging, then the weights
    void btVoltarClick();       // back to "Produtos"
    void edPesquisaChange(const QString& text);

protected:
    void openTables() override;
    void closeTables() override;
    bool beforeInsert() override;
    bool initNewRecord(TableCursor& t) override;
    bool prepareEdit(TableCursor& t) override;
    bool validate(TableCursor& t) override;
    void updateStates() override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildProductPage();
    void showOnly(QWidget* page);
    void showPackagingsOf(const QVariant& codReduz);

    TableCursor TEmbProd;
    TableCursor TEmbalagem;  // the catalogue behind the list "Embalagem"
    CursorTableModel* products_ = nullptr;
    QTableView* grProdutos_ = nullptr;
    QLineEdit* edPesquisa_ = nullptr;
    QPushButton* btOk_ = nullptr;
    QPushButton* btVoltar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* productPage_ = nullptr;
    QWidget* registerTab_ = nullptr;
    LookupCombo* choice_ = nullptr;  // "Embalagem"
    QPushButton* btOkEmbalagem_ = nullptr;
    FieldEdit* pesoLiq_ = nullptr;
    FieldEdit* pesoEmbal_ = nullptr;
    QVariant product_;        // Cod_Reduz of the product whose packagings are shown
    bool choosing_ = false;   // "Incluir": the packaging is being chosen, the weights wait
};

}  // namespace pcp
