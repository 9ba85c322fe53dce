#pragma once
// "Baixa Estoque Materia Prima": the period, the sales history, the write-off
// history and the supplier code of the raw-material write-off by formula,
// with a progress bar over the sales documents of the period. The window
// stays open after a run, showing what it wrote.
#include "ProcessScreen.h"
#include "Store.h"

#include <memory>

class QProgressBar;
class QPushButton;

namespace pcp {

struct ParametrosBaixa;

class TfoBaixaEstoqueMatPrima : public ProcessScreen {
    Q_OBJECT
public:
    explicit TfoBaixaEstoqueMatPrima(std::shared_ptr<Store> store, QWidget* parent = nullptr);
    ~TfoBaixaEstoqueMatPrima() override;

    FieldEdit* edDataIni;
    FieldEdit* edDataFim;
    FieldEdit* edHistVenda;
    FieldEdit* edHistBaixa;
    FieldEdit* edFornecedor;
    QPushButton* btOK;
    QPushButton* btFechar;
    QProgressBar* pbAndamento;

public slots:
    void btOKClick() { okClick(); }

protected:
    bool check() override;
    std::optional<QString> run() override;

private:
    std::shared_ptr<Store> store_;
    std::unique_ptr<ParametrosBaixa> parametros_;  // as the check read them
};

}  // namespace pcp
