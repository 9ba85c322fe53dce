// Cursor benchmark over a table of a million rows: time to open a cursor and
// read its first 50 rows, and rows per second of a forward walk.
// Usage: bench_cursor [FILE] [ROWS]   (the file is generated once and reused)
#include "TableCursor.h"
#include "Transaction.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

static TableDef produtos()
{
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

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_cursor.sqlite"_s;
    const int rows = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const bool fresh = !QFileInfo::exists(file);
    auto store = Store::open(file, {produtos()});
    if (fresh) {
        QElapsedTimer gen;
        gen.start();
        Transaction tx(store->db());
        Statement ins(store->db(), u"INSERT INTO Produtos VALUES (?1, ?2, ?3, ?4, ?5, ?6)"_s);
        for (int i = 0; i < rows; ++i) {
            ins.bindInt(1, 1 + i % 2)
                .bindInt(2, i / 2)
                .bindText(3, i % 5 == 0 ? QString() : u"G"_s)
                .bindText(4, u"PRODUTO %1"_s.arg((i * 7919) % rows, 7, 10, QChar(u'0')))
                .bindDouble(5, i * 0.01)
                .bindText(6, u"2024-01-01"_s);
            ins.run();
        }
        tx.commit();
        std::fprintf(stderr, "generated %d rows in %.1f s\n", rows, gen.elapsed() / 1000.0);
    }

    for (const QString& index : {QString(), u"Descricao"_s}) {
        const char* name = index.isEmpty() ? "primary" : "Descricao";
        QElapsedTimer t;
        t.start();
        TableCursor c(store, u"Produtos"_s);
        c.setIndexName(index);
        c.open();
        int n = 0;
        for (; n < 50 && !c.eof(); c.next())
            ++n;
        const double openMs = t.nsecsElapsed() / 1e6;

        t.restart();
        qint64 walked = 0;
        double sum = 0;
        for (c.first(); !c.eof(); c.next()) {
            sum += c.asFloat(u"Lista6"_s);
            ++walked;
        }
        const double secs = t.nsecsElapsed() / 1e9;
        std::printf("%-10s open + first 50 rows: %.2f ms; forward walk: %lld rows in %.2f s = %.0f rows/s (sum %.0f)\n",
                    name, openMs, static_cast<long long>(walked), secs, walked / secs, sum);

        t.restart();
        const int count = c.recordCount();
        std::printf("%-10s recordCount %d in %.1f ms\n", name, count, t.nsecsElapsed() / 1e6);
    }
    return 0;
}
