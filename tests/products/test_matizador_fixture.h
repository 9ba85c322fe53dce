#pragma once
// A small company with the tinting catalogues and the product table, and the
// two registers in a registry of the test's own, driven through the scenario
// runner.
#include "CompanyScreens.h"
#include "EstpromaTable.h"
#include "Linhas.h"
#include "MatizadorTables.h"
#include "TintingScreens.h"

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

class TintingCompany : public CompanyScreens {
protected:
    void declareTables(Catalog& c) override
    {
        declareTintingTables(c);
        c.add(estpromaTable());
    }
    void registerScreens(ScreenRegistry& registry) override { registerTintingScreens(registry); }

    // "code:name" of every row of a catalogue, in code order.
    QString listing(const QString& table)
    {
        return colunaJunta(store->db(), u"SELECT Codigo || ':' || coalesce(Nome, '') FROM %1 ORDER BY Codigo"_s.arg(table),
                           u","_s);
    }
};

}  // namespace pcp::test
