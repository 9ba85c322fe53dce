#pragma once
// Deleting stock documents with what hangs off them (tabelasDoDocumento): a
// header takes its NOTAS3 record and its items along, an item its NOTAI3
// record and its electronic-invoice satellites. Each function is one
// transaction, or part of the one the caller holds open.
#include "Database.h"

#include <QVariantList>

namespace pcp {

// `chave` holds the document key (Filial, Num_Nota, Tipo_Nota, Cod_Clifor,
// DT_ENTRADA as a QDate or "yyyy-mm-dd"); `chaveItem` adds Num_Item.

// The item's satellites; what a NOTAI3 record takes along.
void excluiSatelitesItem(Database& db, const QVariantList& chaveItem);
// The item's NOTAI3 record with its satellites; what an item takes along.
void excluiExtensaoItem(Database& db, const QVariantList& chaveItem);
// Everything a header takes along: its items with their dependents (also
// items whose header is already gone) and its NOTAS3 record. Returns the
// number of items removed.
int excluiDependentesDocumento(Database& db, const QVariantList& chave);

// One item with its extension and satellites. False when there was no such item.
bool excluiItemNota(Database& db, const QVariantList& chaveItem);
// A whole document: its dependents, then the header. Returns the number of
// items removed, -1 when there was no header (its items are removed all the same).
int excluiDocumento(Database& db, const QVariantList& chave);
// The same, without counting: the deletes are queued (Statement::queue), so
// on a server they travel with the writes that follow.
void excluiDocumentoSemContar(Database& db, const QVariantList& chave);

}  // namespace pcp
