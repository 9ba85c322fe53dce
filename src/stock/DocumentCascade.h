#pragma once
// Deleting stock documents with what hangs off them: a header takes its
// NOTAS3 record along, an item its NOTAI3 record and its electronic-invoice
// satellites. Each function is one transaction.
#include "Database.h"

#include <QVariantList>

namespace pcp {

// `chave` holds the document key (Filial, Num_Nota, Tipo_Nota, Cod_Clifor,
// DT_ENTRADA as a QDate or "yyyy-mm-dd"); `chaveItem` adds Num_Item.

// The item's satellites (nfe_notai_veic, nfe_notai_medicamentos,
// Nfe_notai_imp); what a NOTAI3 record takes along.
void excluiSatelitesItem(Database& db, const QVariantList& chaveItem);
// The item's NOTAI3 record with its satellites; what an item takes along.
void excluiExtensaoItem(Database& db, const QVariantList& chaveItem);
// The header's NOTAS3 record; what a header takes along.
void excluiExtensaoNota(Database& db, const QVariantList& chave);

// One item with its extension and satellites. False when there was no such item.
bool excluiItemNota(Database& db, const QVariantList& chaveItem);
// A whole document: every item (with extensions and satellites), then the
// header with its NOTAS3 record, as regenerating a production document
// does. Returns the number of items removed, -1 when there was no header
// (items without a header are removed all the same).
int excluiDocumento(Database& db, const QVariantList& chave);

}  // namespace pcp
