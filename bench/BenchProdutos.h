#pragma once
// The generated product table the cursor and grid benchmarks share: a store
// file made once with a million rows (two branches, blank sizes, names in a
// scattered order) and reused afterwards.
#include "Store.h"
#include "Transaction.h"

#include <QElapsedTimer>
#include <cstdio>

namespace pcp::bench {

inline TableDef produtosTable()
{
    using namespace Qt::Literals::StringLiterals;
    TableDef t(u"Produtos"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .string(u"Tamanho"_s, 4)
        .string(u"Descricao"_s, 50)
        .field(u"Lista6"_s, FieldType::Float)
        .field(u"DataCad"_s, FieldType::Date)
        .key({u"Filial"_s, u"Cod_Reduz"_s, u"Tamanho"_s})
        .index(u"Descricao"_s, {u"Descricao"_s});
    return t;
}

inline std::shared_ptr<Store> produtosStore(const QString& file, int rows)
{
    using namespace Qt::Literals::StringLiterals;
    // a file beside a servidor.conf is a schema on the server
    auto store = Store::open(file, {produtosTable()});
    if (store->db().prepare(u"SELECT count(*) FROM Produtos"_s).scalar().toLongLong() > 0)
        return store;
    QElapsedTimer gen;
    gen.start();
    Transaction tx(store->db());
    Statement ins(store->db(), u"INSERT INTO Produtos VALUES (?, ?, ?, ?, ?, ?)"_s);
    for (int i = 0; i < rows; ++i) {
        ins.bindInt(1, 1 + i % 2)
            .bindInt(2, i / 2)
            .bindText(3, i % 5 == 0 ? QString() : u"G"_s)
            .bindText(4, u"PRODUTO %1"_s.arg((qint64(i) * 7919) % rows, 7, 10, QChar(u'0')))
            .bindDouble(5, i * 0.01)
            .bindText(6, u"2024-01-01"_s);
        ins.queue();
    }
    tx.commit();
    std::fprintf(stderr, "generated %d rows in %.1f s\n", rows, double(gen.elapsed()) / 1000.0);
    return store;
}

}  // namespace pcp::bench
