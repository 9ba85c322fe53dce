// Helper process for the cross-process tests. Commands on the command line:
//   lock_holder STORE edit CODIGO   edits the record, says LOCKED, then obeys
//                                   "post NOME", "cancel" or "quit" on stdin
//   lock_holder STORE tx N          inserts N rows in one transaction, says HALF
//                                   halfway, then waits for "commit" on stdin
#include "TableCursor.h"
#include "TestTables.h"
#include "Transaction.h"

#include <cstdio>
#include <iostream>
#include <string>

using namespace pcp;
using namespace Qt::Literals::StringLiterals;

static void say(const char* word)
{
    std::printf("%s\n", word);
    std::fflush(stdout);
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    auto store = Store::open(QString::fromLocal8Bit(argv[1]), {test::itensTable()});
    const std::string mode = argv[2];
    const int n = std::atoi(argv[3]);
    std::string line;
    if (mode == "edit") {
        TableCursor t(store, u"Itens"_s);
        t.open();
        if (!t.findKey({1, n}))
            return 3;
        t.edit();
        say("LOCKED");
        while (std::getline(std::cin, line)) {
            if (line.rfind("post ", 0) == 0) {
                t.setValue(u"Nome"_s, QString::fromStdString(line.substr(5)));
                t.post();
                say("POSTED");
            } else if (line == "cancel") {
                t.cancel();
                say("CANCELLED");
            } else if (line == "quit") {
                return 0;
            }
        }
        return 0;
    }
    if (mode == "tx") {
        TableCursor t(store, u"Itens"_s);
        t.open();
        Transaction tx(store->db());
        for (int i = 1; i <= n; ++i) {
            t.insert();
            t.setValue(u"Filial"_s, 9);
            t.setValue(u"Codigo"_s, i);
            t.setValue(u"Nome"_s, u"lote"_s);
            t.post();
            if (i == n / 2)
                say("HALF");
        }
        while (std::getline(std::cin, line))
            if (line == "commit") {
                tx.commit();
                say("COMMITTED");
                return 0;
            }
        return 0;
    }
    return 2;
}
