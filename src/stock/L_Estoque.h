#pragma once
// The stock engine: turns one month's document items into the month's
// closing balances (Sldpr) and values them at moving average cost.
//
// Both balance operations work on the current branch (Sessao::FilialAtual)
// under the installation's variant code (Sessao::FatModNf), one month at a
// time: the opening balance is the previous month's Sldpr row as stored and
// later months are not touched. Each call reads the month's items once, in
// the order of the AnoMes index of Notai, and writes its results in one
// transaction; its messages are shown after that transaction ends, so no
// message box waits for the user while the company store is locked.
#include "Store.h"

#include <QDate>
#include <functional>

namespace pcp {

// Progress text of a long walk: the caption of the "Andamento..." window
// while AtualizaSaldoFisico walks its items, the product label ("Produto: "
// and the code) while AtualizaCustoMedio walks its balances.
using AndamentoEstoque = std::function<void(const QString& texto)>;

// Recomputes Fisico and Fisico2 of one product, size and warehouse in the
// month "yyyymm", creating the month's row when missing, and with
// AtualizaQtdFis also copies the balance into Estproma.Qtd_Fis. False (after
// an error message) for a month that is not "yyyymm".
bool AtualizaSaldoFisico(Store& store, const QString& AnoMes, qint64 Cod_Reduz,
                         const QString& Tamanho, qint64 Cod_Deposi, bool AtualizaQtdFis,
                         const AndamentoEstoque& andamento = {});

struct ResultadoCustoMedio {
    bool executado = false;  // false when the month was refused or invalid
    int saldos = 0;          // Sldpr rows valued
    qint64 itens = 0;        // items valued (entries and exits)
};

// Values the month "MMYYYY" for the products CodIni..CodFim: Sldpr.Medio,
// Fisico and Fisico2 of every balance row of the month, VLR_CUSTO and
// VLR_MEDIO of their items and each product's Estproma.CustoMedio, from that
// product's own warehouse-1 rows.
ResultadoCustoMedio AtualizaCustoMedio(Store& store, const QString& MesAno, qint64 CodIni,
                                       qint64 CodFim, const AndamentoEstoque& andamento = {});

// The installation's period lock on revaluing a month at average cost: the
// message ("Periodo Sem Acesso" or "Periodo sem acesso") when the month that
// begins on `primeiroDia` is locked for installation `fatModNf`, else empty.
QString periodoBloqueadoCustoMedio(int fatModNf, const QDate& primeiroDia);

// round4((Preco / Base - 1) * 100), 0 when either value is 0; both values are
// money with four decimals. PercentualAumento(8, 10) is 25.
double PercentualAumento(double Base, double Preco);

// The month before "yyyymm" ("200501" gives "200412"); empty for a text that
// is not a month.
QString mesAnterior(const QString& anoMes);
// True for "yyyymm" with a month 01..12.
bool mesValido(const QString& anoMes);

}  // namespace pcp
