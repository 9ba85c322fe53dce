#pragma once
// Stock documents as a whole: the one list of the tables that hang off a
// document, and the one writer of documents (header, its extension, items
// numbered from 1 with ANO_MES taken from the date, each item's extension and
// satellites). The write-off, the demo and the test fixtures write their
// documents through it; the delete cascade (DocumentCascade.h) walks the same
// list.
#include "Database.h"

#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace pcp {

// The tables of a document in the order a deletion goes through them: the
// items' satellites, the items' extension (NOTAI3), the items (Notai), the
// header's extension (NOTAS3) and the header (Notas). The first five hang off
// an item (item key), the last two off the document key.
const QStringList& tabelasDoDocumento();
// The tables `tabela` takes along when one of its records is deleted: an
// item table the item tables before it, the header every other table, the
// header's extension nothing.
QStringList dependentesDe(const QString& tabela);

// The key of a document. Num_Nota and Cod_Clifor may be blank.
struct ChaveDocumento {
    qint64 filial = 0;
    QVariant numNota;
    qint64 tipoNota = 0;
    QVariant codClifor;
    QString data;  // DT_ENTRADA, "yyyy-mm-dd"

    QVariantList valores() const { return {filial, numNota, tipoNota, codClifor, data}; }
    QString anoMes() const { return data.left(4) + data.mid(5, 2); }  // the items' ANO_MES
};

// A record that hangs off a header or an item: its table and its fields
// beyond the key, which the writer fills in.
struct Dependente {
    QString tabela;
    QVariantMap campos;
};

struct ItemDocumento {
    QVariantList valores;  // in the order of the writer's item fields
    std::vector<Dependente> dependentes;  // NOTAI3, satellites
    qint64 numItem = 0;    // 0: the number after the item before
};

struct DocumentoEstoque {
    ChaveDocumento chave;
    QVariantList cabecalho;  // in the order of the writer's header fields
    std::vector<Dependente> dependentes;  // NOTAS3
    std::vector<ItemDocumento> itens;     // Num_Item 1, 2, ... unless an item gives its own
};

// Num_Item is a 16-bit integer: no document holds more items.
inline constexpr qint64 kMaiorNumItem = 32767;

class GravadorDocumentos {
public:
    // The header and item fields the documents carry beyond the key (and, for
    // the items, beyond Num_Item and ANO_MES, which the writer fills in);
    // `fixosItem` are item fields with the same value in every item.
    GravadorDocumentos(Database& db, const QStringList& camposCabecalho, const QStringList& camposItem,
                       const QVariantMap& fixosItem = {});

    // Writes the document inside the transaction open on the connection, or in
    // one of its own. A document of more than kMaiorNumItem items is refused
    // (DbError, kind Refused) before anything is written; a key the store
    // already holds fails with the store's key violation.
    void grava(const DocumentoEstoque& documento);
    // Deletes whatever the key holds (excluiDocumento) and writes the document,
    // in one transaction as grava.
    void substitui(const DocumentoEstoque& documento);
    // Whether the header waits for the store's answer (the default). Without
    // waiting a whole document travels with the next ones, and a key the
    // store already holds is reported at the end of the transaction, naming
    // no document: the caller then writes the group again, waiting.
    void esperaCadaDocumento(bool espera) { espera_ = espera; }

private:
    void gravaDependente(const Dependente& d, const QVariantList& chave, const QStringList& camposChave);

    Database& db_;
    QStringList camposCabecalho_, camposItem_;
    QVariantList fixosItem_;
    Statement cabecalho_, item_;
    bool espera_ = true;
};

}  // namespace pcp
