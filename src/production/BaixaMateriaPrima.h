#pragma once
// The raw-material write-off by formula: the sales documents of a period are
// exploded through their items' formulas into internal stock documents, one
// per sales document, whose items are the components consumed.
//
// Each sales document's write-off (the old write-off document deleted with
// its items and extensions, the new header and items written) lies whole
// inside one transaction, which holds a stretch of documents of about a
// quarter of a second: a run that stops half-way, however it stops, leaves
// every sales document either with its complete new write-off or with
// whatever it had before. Messages found during the run are shown after the
// commit of the documents they belong to, never while the company store is
// locked.
#include "ContextoEstoque.h"
#include "Store.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace pcp {

struct ParametrosBaixa {
    QDate DataIni, DataFim;      // movement dates of the sales documents, both included
    int HistoricoVenda = 0;      // Est_Hist of the sales documents to explode
    int HistoricoBaixa = 0;      // Est_Hist given to the write-off documents
    qint64 Fornecedor = 0;       // Cod_Clifor of the write-off documents
};

// Checks the five inputs as typed on the screen (dates "dd/mm/yyyy", whole
// numbers). On refusal shows the reason through the message service, puts
// the index of the field in error (0 Data inicial, 1 Data Final,
// 2 Historico de Venda, 3 Historico da Baixa, 4 Fornecedor) in *campoErro
// and returns no value; nothing else happens. The three codes are checked
// first, then the dates.
std::optional<ParametrosBaixa> criticaEntradaBaixa(const QString& dataIni, const QString& dataFim,
                                                   const QString& historicoVenda,
                                                   const QString& historicoBaixa,
                                                   const QString& fornecedor,
                                                   int* campoErro = nullptr);

struct ResultadoBaixa {
    int notas = 0;             // sales documents of the period (of any history)
    int documentos = 0;        // write-off documents written (two sales documents on one key: 2)
    qint64 itens = 0;          // write-off items written
    int falhas = 0;            // sales documents whose write-off could not be stored
    bool interrompido = false; // refused parameters or an error of the store stopped the run
                               // (the reason has been shown)
    int passos = 0;            // transactions committed
    qint64 maiorPassoMs = 0;   // the longest of them, in milliseconds
};

// Progress of a run: `feitos` of the `total` sales documents of the period
// have been dealt with. Called with (0, total) before the first document and
// after each commit, the last time with (total, total); never while a
// transaction is open, so it may process pending window events.
using AndamentoBaixa = std::function<void(int feitos, int total)>;

// Writes off the raw materials of the context's branch's sales documents
// (Tipo_Nota 1, history p.HistoricoVenda) dated p.DataIni..p.DataFim. Each
// gets the write-off document (branch, its Num_Nota, Tipo_Nota 3,
// p.Fornecedor, its DT_ENTRADA), replacing the one a former run left. The
// parameters are checked again (the messages of criticaEntradaBaixa) and a
// refused set writes nothing.
// The documents are written through GravadorDocumentos, in transactions of
// about contexto.passoMs.
ResultadoBaixa BaixaEstoqueMateriaPrima(Store& store, const ContextoEstoque& contexto, const ParametrosBaixa& p,
                                        const AndamentoBaixa& andamento = {});

}  // namespace pcp
