// Cursor benchmark over a table of a million rows: time to open a cursor and
// read its first 50 rows, and rows per second of a forward walk.
// Usage: bench_cursor [FILE] [ROWS]   (the file is generated once and reused)
#include "BenchProdutos.h"
#include "TableCursor.h"

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_cursor.sqlite"_s;
    const int rows = argc > 2 ? std::atoi(argv[2]) : 1000000;
    auto store = bench::produtosStore(file, rows);

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
