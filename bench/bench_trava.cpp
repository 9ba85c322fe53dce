// Record lock round trip: taking and giving back one record's lock, as an
// edit and its post do, and a one-row read, which is what a workstation pays
// per statement on its network. The median of 2,000 of each, in milliseconds.
// Usage: bench_trava [FILE]   (a folder with servidor.conf measures the server)
#include "RecordLocks.h"
#include "Store.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

namespace {

double medianMs(const std::function<void(int)>& run)
{
    std::vector<double> times;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/pcp_bench_trava.sqlite"_s;
    TableDef t(u"Travas"_s);
    t.field(u"Codigo"_s, FieldType::Integer).string(u"Nome"_s, 20).key({u"Codigo"_s});
    auto store = Store::open(file, {t});
    const double lock = medianMs([&](int i) {
        RecordLock l = store->locks().tryLock(u"Travas"_s, {i});
        if (!l.held())
            std::fprintf(stderr, "lock %d not taken\n", i);
    });
    Statement& st = store->db().cached(u"SELECT count(*) FROM Travas WHERE Codigo = ?"_s);
    const double read = medianMs([&](int i) {
        st.bindInt(1, i);
        st.scalar();
    });
    std::printf("%s: lock and release %.3f ms; one-row read %.3f ms\n",
                store->onServer() ? "server" : "sqlite", lock, read);
    return 0;
}
