#pragma once
// "Baixa Estoque Materia Prima": the period, the sales history, the write-off
// history and the supplier code of the raw-material write-off by formula,
// with a progress bar over the sales documents of the period.
#include "ExecucaoLonga.h"
#include "Store.h"

#include <QWidget>
#include <memory>

class QProgressBar;
class QPushButton;

namespace pcp {

class FieldEdit;

class TfoBaixaEstoqueMatPrima : public QWidget {
    Q_OBJECT
public:
    explicit TfoBaixaEstoqueMatPrima(std::shared_ptr<Store> store, QWidget* parent = nullptr);
    ~TfoBaixaEstoqueMatPrima() override;

    bool running() const { return execucao_.emAndamento(); }

    FieldEdit* edDataIni;
    FieldEdit* edDataFim;
    FieldEdit* edHistVenda;
    FieldEdit* edHistBaixa;
    FieldEdit* edFornecedor;
    QPushButton* btOK;
    QPushButton* btFechar;
    QProgressBar* pbAndamento;

public slots:
    void btOKClick();

protected:
    // The window cannot be closed while a run is going on.
    void closeEvent(QCloseEvent* event) override;

private:
    FieldEdit* campo(int indice) const;

    std::shared_ptr<Store> store_;
    ExecucaoLonga execucao_;
};

}  // namespace pcp
