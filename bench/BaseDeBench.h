#pragma once
// What the stock benchmarks share: the generated store (the stock tables, the
// product master and whatever else the benchmark declares), made once when
// its file does not exist and reused afterwards, the engines' context
// (branch 1), messages on stderr, and the clock in seconds.
#include "ContextoEstoque.h"
#include "EstpromaTable.h"
#include "Messages.h"
#include "StockTables.h"
#include "Store.h"

#include <QElapsedTimer>

using namespace Qt::Literals::StringLiterals;
#include <cstdio>
#include <functional>

namespace pcp::bench {

inline double segundos(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

class BaseDeBench {
public:
    BaseDeBench(const QString& arquivo, const std::function<void(Store&)>& gera,
                const std::function<void(Catalog&)>& declaraMais = {})
    {
        Catalog catalogo;
        declareStockTables(catalogo);
        catalogo.add(estpromaTable());
        if (declaraMais)
            declaraMais(catalogo);
        // A file beside a servidor.conf is a schema on the server: the store
        // is new when it holds no product yet.
        store = Store::open(arquivo, catalogo.tables());
        const bool nova = store->db().prepare(u"SELECT count(*) FROM Estproma"_s).scalar().toLongLong() == 0;
        if (nova) {
            QElapsedTimer t;
            t.start();
            gera(*store);
            std::fprintf(stderr, "generated in %.1f s\n", segundos(t));
        }
    }

    std::shared_ptr<Store> store;
    ContextoEstoque contexto{1, 0};

private:
    StderrMessages avisos_;
    MessageServiceScope escopo_{avisos_};
};

}  // namespace pcp::bench
