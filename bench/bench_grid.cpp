// Grid benchmark over a table of a million rows: the grid model over a cursor
// opened at its first page, a jump to its last row, a drag to its middle, and
// the row of a record just saved found again with the refresh that follows a
// save (the recount included). Each figure is the median of several runs, in milliseconds.
// Usage: bench_grid [FILE] [ROWS]   (the file is generated once and reused)
#include "BenchProdutos.h"
#include "CursorTableModel.h"

#include <QCoreApplication>
#include <algorithm>
#include <functional>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPage = 40;  // rows a grid shows at once

// `prepare` runs untimed before each run (a fresh grid, nothing cached).
double medianMs(const std::function<void()>& prepare, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// What a view asks when it paints a page: every cell of its rows.
void paint(const CursorTableModel& model, int first)
{
    for (int r = first; r < std::min(first + kPage, model.rowCount()); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            (void)model.index(r, c).data();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_cursor.sqlite"_s;
    const int rows = argc > 2 ? std::atoi(argv[2]) : 1000000;
    auto store = bench::produtosStore(file, rows);

    for (const QString& index : {QString(), u"Descricao"_s}) {
        const char* name = index.isEmpty() ? "primary" : "Descricao";
        TableCursor cursor(store, u"Produtos"_s);
        cursor.setIndexName(index);
        cursor.open();
        CursorTableModel model;
        model.setColumns({{u"Cod_Reduz"_s, {}, 0, {}}, {u"Tamanho"_s, {}, 0, {}}, {u"Descricao"_s, {}, 0, {}},
                          {u"Lista6"_s, {}, 0, {}}});

        const auto fresh = [&] { model.clear(); };
        const auto opened = [&] { model.setCursor(&cursor); };
        const double open = medianMs(fresh, [&] {
            model.setCursor(&cursor);
            paint(model, 0);
        });
        const double last = medianMs(opened, [&] { paint(model, model.rowCount() - kPage); });
        const double middle = medianMs(opened, [&] { paint(model, model.rowCount() / 2); });

        const int shown = model.rowCount();
        // a record saved in the middle of the order, found again after the refresh
        cursor.insert();
        cursor.setValue(u"Filial"_s, 1);
        cursor.setValue(u"Cod_Reduz"_s, rows / 4);
        cursor.setValue(u"Tamanho"_s, u"ZZ"_s);
        cursor.setValue(u"Descricao"_s, u"PRODUTO 0500000A"_s);
        cursor.post();
        int row = -1;
        const double found = medianMs(fresh, [&] {
            model.refresh();
            row = model.rowOf(cursor);
            paint(model, row);
        });
        cursor.remove();

        std::printf("%-10s %d rows: open at the first page %.2f ms; jump to the last row %.2f ms; "
                    "jump to the middle %.2f ms; find a saved record (row %d) %.2f ms\n",
                    name, shown, open, last, middle, row, found);
    }
    return 0;
}
