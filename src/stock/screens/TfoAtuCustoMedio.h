#pragma once
// "Atualização do Custo Medio": revalues one month of stock at average cost
// for every product of a range of classifications, one product at a time.
// Each product is locked while the engine values it (another workstation
// editing it is asked about: OK tries again, Cancel skips the product), and
// the screen closes when the run is over.
#include "ProcessScreen.h"

#include <memory>

class QLabel;
class QPushButton;

namespace pcp {

class TfoAtuCustoMedio : public ProcessScreen {
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
    void btnOKClick() { okClick(); }

protected:
    bool check() override;
    std::optional<QString> run() override;
    void afterRun(bool completed) override;

private:
    std::shared_ptr<Store> store_;
};

}  // namespace pcp
