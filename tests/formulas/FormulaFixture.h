#pragma once
// A branch with its PCP parameters, a few products (densities, dollar costs,
// one in the machine-tint group, one inactive), the dollar's value and
// helpers that lay out a formula with its components.
#include "AccessTables.h"
#include "EstpromaTable.h"
#include "FormulaDados.h"
#include "FormulaTables.h"
#include "Linhas.h"
#include "ScriptedTest.h"
#include "Store.h"

#include <QList>

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

struct Produto {
    qint64 cod;
    double densidade;
    double lista6;
    QString situacao = u"1"_s;
    QString nivel1 = u"02"_s, nivel2 = u"001"_s;
};

class FormulaFixture : public ScriptedTest {
protected:
    void SetUp() override
    {
        store = abre();
        linha(u"Pcpcfg"_s, {{u"Filial"_s, 1}, {u"UltimaFormula"_s, 120}});
        linha(u"VALORES"_s, {{u"Cod_Moeda"_s, 1}, {u"DATA"_s, u"2003-12-12"_s}, {u"VALOR"_s, 3.0}});
        for (const Produto& p : {Produto{10, 1.2, 2.0}, Produto{11, 1.0, 4.0}, Produto{12, 0.0, 1.0},
                                 Produto{13, 5.0, 1.0, u"2"_s}, Produto{14, 1.0, 1.0, u"1"_s, u"01"_s, u"080"_s}})
            linha(u"Estproma"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, p.cod}, {u"Densidade"_s, p.densidade},
                                  {u"LISTA6"_s, p.lista6}, {u"SITUACAO"_s, p.situacao},
                                  {u"Nivel1"_s, p.nivel1}, {u"Nivel2"_s, p.nivel2}});
    }
    // Another connection to the same company, as a second workstation has.
    std::shared_ptr<Store> abre()
    {
        Catalog c;
        declareFormulaTables(c);
        declareAccessTables(c);
        c.add(estpromaTable());
        return Store::openCompany(tmp.path(), c);
    }
    Database& db() { return store->db(); }
    void linha(const QString& tabela, const QVariantMap& campos) { insereLinha(db(), tabela, campos); }

    // A formula "ST 1" with the given (product, quantity) components.
    void formula(const QList<std::pair<qint64, double>>& componentes, double densidade = 0)
    {
        linha(u"Formula"_s, {{u"Filial"_s, 1}, {u"Formula"_s, kCodigo}, {u"Densidade"_s, densidade},
                             {u"UltimoCust"_s, 9.5}, {u"Observacao"_s, u"base branca"_s}});
        int ord = 0;
        for (auto [cod, qtd] : componentes)
            linha(u"Formulai"_s, {{u"Filial"_s, 1}, {u"Formula"_s, kCodigo}, {u"OrdComp"_s, ++ord},
                                  {u"Componente"_s, cod}, {u"QUANTIDADE"_s, qtd}});
    }
    QVariant campo(const QString& sql, const QVariantList& valores = {})
    {
        return db().prepare(sql).bindList(valores).scalar();
    }
    // One column of the formula's component rows (or of a version's), by OrdComp.
    QList<double> coluna(const QString& nome, int versao = 0)
    {
        auto st = db().prepare(versao == 0 ? u"SELECT %1 FROM Formulai ORDER BY OrdComp"_s.arg(nome)
                                           : u"SELECT %1 FROM FormulaiVersao WHERE Versao = ? ORDER BY OrdComp"_s.arg(nome));
        if (versao)
            st.bindList({versao});
        QList<double> r;
        while (st.next())
            r.append(st.doubleValue(0));
        return r;
    }

    static inline const QString kCodigo = u"ST 1"_s;
    std::shared_ptr<Store> store;
};

}  // namespace pcp::test
