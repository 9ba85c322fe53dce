#pragma once
// "Atualização do Custo Medio": revalues one month of stock at average cost
// for every product of a range of classifications, one product at a time.
// Each product is locked while the engine values it (another workstation
// editing it is asked about: OK tries again, Cancel skips the product), and
// the screen closes when the run is over.
#include "ExecucaoLonga.h"
#include "FieldEdit.h"
#include "Mes.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;

namespace pcp {

class TfoAtuCustoMedio : public QWidget {
    Q_OBJECT
public:
    explicit TfoAtuCustoMedio(std::shared_ptr<Store> store, QWidget* parent = nullptr);
    ~TfoAtuCustoMedio() override;

    FieldEdit* meMesAno;    // "MM/YYYY"; its value is "MMYYYY"
    FieldEdit* meClassIni;  // first classification, 24 digits
    FieldEdit* meClassFim;  // last classification, compared as typed
    QLabel* Label4;         // "Andamento: " and the product being walked
    QLabel* Label5;         // "Produto: " and the product the engine values
    QPushButton* btnOK;
    QPushButton* btnFechar;

public slots:
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The walk over the products of the classification range.
    void atualizaProdutos(const Mes& mes, const QString& classIni, const QString& classFim);
    void repinta();

    std::shared_ptr<Store> store_;
    TableCursor TEstproma;
    ExecucaoLonga execucao_;
};

}  // namespace pcp
