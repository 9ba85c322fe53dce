#pragma once
// "Parametrização do PCP": edits the branch's last formula number in Pcpcfg.
#include "ScreenActions.h"
#include "Store.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;

namespace pcp {

class TableCursor;

class TfoParametrizacao : public QDialog {
    Q_OBJECT
public:
    // Without a store, the company store of DMFilial() is used when shown.
    explicit TfoParametrizacao(std::shared_ptr<Store> store = {}, QWidget* parent = nullptr);
    ~TfoParametrizacao() override;

    void done(int result) override;

    QLineEdit* edUltimaFormula;
    QPushButton* btOK;
    QPushButton* btFechar;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool abreTabela();
    void btOKClick();

    std::shared_ptr<Store> store_;
    std::unique_ptr<TableCursor> TPcpcfg;
    ScreenActions actions_;
};

// Opens the screen modally (menu "Cadastros" > "Parametrização").
void abreParametrizacao(QWidget* parent = nullptr);

}  // namespace pcp
