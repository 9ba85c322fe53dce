#pragma once
// The moving-average valuation of one balance key (branch, month, product,
// size, warehouse), item by item, and the messages the engine collects while
// its transaction is open.
#include "Database.h"

#include <QString>
#include <QStringList>

namespace pcp {

// One document item as the valuation reads and rewrites it. The cost fields
// are written back only when `custoMudou` / `medioMudou` say so.
struct ItemCusto {
    double quantidade = 0;
    double quantidade2 = 0;
    double custoInf = 0;
    double vlrCusto = 0;
    double vlrMedio = 0;
    bool custoMudou = false;
    bool medioMudou = false;
};

// The running value, quantity and second-unit quantity of one balance key.
struct SaldoCorrente {
    double valor = 0;
    double quantidade = 0;
    double quantidade2 = 0;

    // Applies one item of movement class `classe`: below 49 an entry (class 2
    // at the running average, priced from ultimoCust / custoMedio when there
    // is no value on hand), above 50 an exit at the running average; 49 and
    // 50 change nothing. False for 49 and 50.
    bool aplica(int classe, ItemCusto& item, double ultimoCust, double custoMedio);

    // Closing Medio, Fisico and Fisico2 of the row: each rounded to 4 places,
    // Medio and Fisico2 cleared when Fisico is 0.
    struct Fechamento {
        double medio, fisico, fisico2;
    };
    Fechamento fechamento() const;
};

// Texts shown once the engine's transaction has ended, in the order found.
class AvisosEstoque {
public:
    void nota(qint64 numNota, qint64 tipoNota, qint64 codClifor, const QString& dataIso);
    // Reported once per history code and call.
    void historico(qint64 estHist, qint64 numNota, qint64 tipoNota, qint64 codClifor,
                   const QString& dataIso);
    void texto(const QString& texto) { textos_ << texto; }
    // Shows the texts collected since the last call.
    void mostra();

private:
    QStringList textos_;
    QList<qint64> historicos_;
};

// A stored date "yyyy-mm-dd" as the screens show it, "dd/mm/yyyy".
QString dataMostrada(const QString& dataIso);

}  // namespace pcp
