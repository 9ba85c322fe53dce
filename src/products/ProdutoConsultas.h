#pragma once
// The reads other screens make of products and their satellite tables. The
// lists come as a statement with its parameters, ready for a grid's query
// (CursorTableModel::setQuery) or for walking with Database::prepare.
#include "Database.h"
#include "TableCursor.h"

#include <QStringList>

namespace pcp {

struct Consulta {
    QString sql;
    QVariantList params;
};

// Positions a cursor on Estproma at the product (filial, codigo), whatever its
// index; false when there is no such product.
bool buscaProduto(TableCursor& estproma, qint64 filial, qint64 codigo);
// NOME1 of the product; empty when there is no such product.
QString nomeProduto(Database& db, qint64 filial, qint64 codigo);

// Every column of the branch's products ordered by NOME1; only the active ones
// (SITUACAO "1") unless inativos is set.
Consulta consultaProdutosDaFilial(qint64 filial, bool inativos = false);
// The family of a product: the active products of the branch whose Nivel4 is
// that product's, by LISTA6 descending (products without LISTA6 last). Empty
// when the product is missing or has no Nivel4.
Consulta consultaFamiliaProduto(qint64 filial, qint64 codigo);

// The distinct size codes of a product (column TAMANHO), in code order.
Consulta consultaTamanhosProduto(qint64 filial, qint64 codigo);
QStringList tamanhosProduto(Database& db, qint64 filial, qint64 codigo);

// The observation lines of a product in Sequencia order.
QStringList observacoesProduto(Database& db, qint64 filial, qint64 codigo);
// The Sequencia of a new observation line: the product's highest plus one, 1 for the first.
int proximaSequenciaObservacao(Database& db, qint64 filial, qint64 codigo);

// The descriptions of classification level 1 to 5 of a branch, ordered by
// description, as the columns Codigo and Descricao.
Consulta consultaNiveis(int nivel, qint64 filial);
// The description of one level code; empty when the code has no row.
QString descricaoNivel(Database& db, int nivel, qint64 filial, const QString& codigo);

}  // namespace pcp
