#pragma once
// The stock engine: turns one month's document items into the month's
// closing balances (Sldpr) and values them at moving average cost.
//
// Both balance operations work on the context's branch under its
// installation code, one month at a time: the opening balance is the
// previous month's Sldpr row as stored and later months are not touched.
// An empty size ('') and a blank (NULL) size are one key: the table layer
// stores a blank as NULL, stores written by other tools may hold ''.
// Messages are shown after the transaction they belong to ends, so no
// message box waits for the user while the company store is locked.
#include "ContextoEstoque.h"
#include "Mes.h"
#include "RegrasInstalacao.h"
#include "Store.h"

#include <functional>

namespace pcp {

// Progress text of a long walk: the caption of the "Andamento..." window
// while AtualizaSaldoFisico walks its items, the product label ("Produto: "
// and the code, or the items written so far) after each step
// AtualizaCustoMedio commits.
using AndamentoEstoque = std::function<void(const QString& texto)>;

struct ResultadoSaldoFisico {
    qint64 itens = 0;   // items counted into the balance
    double fisico = 0;  // the resulting balance
    double fisico2 = 0;
};

// Recomputes Fisico and Fisico2 of one product, size and warehouse in the
// month, creating the month's row when missing, and with AtualizaQtdFis also
// copies the balance into Estproma.Qtd_Fis. One transaction.
ResultadoSaldoFisico AtualizaSaldoFisico(Store& store, const ContextoEstoque& contexto, const Mes& mes,
                                         qint64 Cod_Reduz, const QString& Tamanho, qint64 Cod_Deposi,
                                         bool AtualizaQtdFis, const AndamentoEstoque& andamento = {});

struct ResultadoCustoMedio {
    bool executado = false;  // false when the installation keeps the month closed
    int produtos = 0;        // products whose balance rows were valued
    int saldos = 0;          // Sldpr rows valued
    qint64 itens = 0;        // items valued (entries and exits)
    int passos = 0;          // transactions committed
    qint64 maiorPassoMs = 0; // the longest of them, in milliseconds
};

// Values the month for the products CodIni..CodFim: Sldpr.Medio, Fisico and
// Fisico2 of every balance row of the month, VLR_CUSTO and VLR_MEDIO of their
// items and each product's Estproma.CustoMedio, from that product's own
// warehouse-1 rows. The month is read and valued before anything is written,
// with no lock held; the results are then written in steps of about
// contexto.passoMs, each one transaction: first the items, whole documents at
// a time in table order, then the balance rows and costs, whole products at a
// time. A run that stops half-way leaves every document either valued or as
// it was, and the balances as they were until every item is written; running
// it again finishes it. A small run is one step. The progress callback runs
// between steps, never inside a transaction ("Itens: n de N", then "Produto: "
// and the code).
ResultadoCustoMedio AtualizaCustoMedio(Store& store, const ContextoEstoque& contexto, const Mes& mes,
                                       qint64 CodIni, qint64 CodFim, const AndamentoEstoque& andamento = {});

// round4((Preco / Base - 1) * 100), 0 when either value is 0; both values are
// money with four decimals. PercentualAumento(8, 10) is 25.
double PercentualAumento(double Base, double Preco);

}  // namespace pcp
