#pragma once
// What the average-cost run reads of a month before it writes anything: the
// balance rows of a range of products in key order (with the previous
// month's row and the product's prices), and the items in AnoMes order, each
// with its header. Sizes '' and NULL are one key and sort together.
#include "Database.h"

#include <QStringList>
#include <vector>

namespace pcp {

// Product, size and warehouse of a balance row or an item, compared as the
// key orders them (a blank size first, then by character code).
struct ChaveSaldo {
    qint64 codReduz = 0;
    QString tamanho;  // '' and NULL both read as an empty text
    qint64 deposito = 0;

    int compara(const ChaveSaldo& o) const;
};

// What the valuation needs of a document header, and the document's key as
// its items give it (for the messages).
struct Cabecalho {
    qint64 numNota = 0, tipoNota = 0, codClifor = 0;
    QString data;
    bool existe = false;
    bool temHistorico = false;
    qint64 estHist = 0;
    int classe = 0;              // Param_Hist; 0 when the history code is missing
    bool complementoOD = false;  // COMPLNATOP is "O" or "D"
};

// One item as the valuation reads it: a million of them may be held at once,
// so sizes and dates are numbers into the month's lists of them, and the
// document's key is kept with its header.
struct ItemLido {
    qint64 linha = 0;  // the item's _rowid_
    qint64 codReduz = 0, deposito = 0;
    double quantidade = 0, quantidade2 = 0, custoInf = 0, vlrCusto = 0, vlrMedio = 0;
    int tamanho = 0, data = 0;  // in MesLido::tamanhos and ::datas
    int cabecalho = -1;         // in MesLido::cabecalhos
    bool custoNulo = false, medioNulo = false;
};

// One balance row of the month with what its valuation starts from.
struct SaldoLido {
    qint64 linha = 0;  // the row's _rowid_
    ChaveSaldo chave;
    double medio = 0, fisico = 0, fisico2 = 0;
    bool algumNulo = false;  // Medio, Fisico or Fisico2 blank: written in any case
    bool temAnterior = false;
    double medioAnterior = 0, fisicoAnterior = 0, fisico2Anterior = 0;
    qint64 produto = 0;  // the product's _rowid_, 0 when it is not registered
    double ultimoCust = 0, custoMedio = 0;
};

struct MesLido {
    std::vector<SaldoLido> saldos;  // in key order, one row per key
    std::vector<ItemLido> itens;    // in AnoMes order
    std::vector<Cabecalho> cabecalhos;
    QStringList tamanhos, datas;

    ChaveSaldo chave(const ItemLido& it) const { return {it.codReduz, tamanhos[it.tamanho], it.deposito}; }
    const QString& data(const ItemLido& it) const { return datas[it.data]; }
};

// Reads the month `anoMes` ("yyyymm") of the branch for the products
// codIni..codFim, all of it in one read transaction (unless the caller
// already holds one), so the rows agree with each other.
MesLido leMes(Database& db, int filial, const QString& anoMes, const QString& anoMesAnterior,
              qint64 codIni, qint64 codFim);

}  // namespace pcp
