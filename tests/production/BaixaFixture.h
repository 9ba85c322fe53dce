#pragma once
// A small company for the raw-material write-off: raw materials with names,
// formulas with their components, sales documents whose items name
// formulas, and readers of the write-off documents the run leaves.
#include "BaixaMateriaPrima.h"
#include "DocumentoEstoque.h"
#include "EstpromaTable.h"
#include "FormulaTables.h"
#include "Linhas.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "StockTables.h"
#include "Store.h"
#include "TDMFilial.h"

#include <QVariantMap>
#include <memory>
#include <ostream>

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

// The codes the fixture's runs use.
inline constexpr int kHistVenda = 5, kHistBaixa = 55;
inline constexpr qint64 kFornecedor = 900;

// A sold item: the formula it names (empty: none) and its quantity.
struct Vendido {
    QString formula;
    double qtd = 0;
};

// A write-off item as stored.
struct ItemBaixa {
    qint64 item = 0;
    qint64 cod = 0;
    QString descr;
    double qtd = 0;

    bool operator==(const ItemBaixa& o) const
    {
        return item == o.item && cod == o.cod && descr == o.descr && qtd == o.qtd;
    }
    friend std::ostream& operator<<(std::ostream& os, const ItemBaixa& i)
    {
        return os << "{" << i.item << ", " << i.cod << ", \"" << i.descr.toStdString() << "\", " << i.qtd << "}";
    }
};

class BaixaFixture : public ScriptedTest {
protected:
    void SetUp() override
    {
        abre();
        sessao() = {};
        sessao().FilialAtual = 1;
    }
    void TearDown() override
    {
        sessao() = {};
        ScriptedTest::TearDown();
    }

    static Catalog catalogo()
    {
        Catalog c;
        declareBranchTables(c);
        declareStockTables(c);
        declareFormulaTables(c);
        c.add(estpromaTable());
        return c;
    }
    void abre() { store = Store::openCompany(tmp.path(), catalogo()); }
    Database& db() { return store->db(); }

    void linha(const QString& tabela, const QVariantMap& campos) { insereLinha(db(), tabela, campos); }
    QVariant sql(const QString& texto, const QVariantList& params = {})
    {
        return db().prepare(texto).bindList(params).scalar();
    }

    void produto(qint64 cod, const QString& nome, int filial = 1)
    {
        linha(u"Estproma"_s, {{u"Filial"_s, filial}, {u"Cod_Reduz"_s, cod}, {u"NOME1"_s, nome}});
    }
    // A formula with its components (code, percentage) at OrdComp 1, 2, ...;
    // the rows are inserted last component first, so only OrdComp orders them.
    // `cabecalho` false leaves the Formula row out (components without a formula).
    void formula(const QString& codigo, const QList<std::pair<qint64, double>>& componentes,
                 bool cabecalho = true, int filial = 1)
    {
        if (cabecalho)
            linha(u"Formula"_s, {{u"Filial"_s, filial}, {u"Formula"_s, codigo}});
        for (qsizetype i = componentes.size() - 1; i >= 0; --i)
            linha(u"Formulai"_s, {{u"Filial"_s, filial}, {u"Formula"_s, codigo},
                                  {u"OrdComp"_s, int(i + 1)},
                                  {u"Componente"_s, componentes[i].first},
                                  {u"Percentual"_s, componentes[i].second}});
    }
    static QVariantMap chave(int nota, const QString& data, qint64 clifor, int tipo, int filial = 1)
    {
        return {{u"Filial"_s, filial}, {u"Num_Nota"_s, nota}, {u"Tipo_Nota"_s, tipo},
                {u"Cod_Clifor"_s, clifor}, {u"DT_ENTRADA"_s, data}};
    }
    // A sales document (Tipo_Nota 1 unless told) with its items numbered
    // 1, 2, ...; the items are written last first, so only Num_Item orders them.
    void venda(int nota, const QString& data, const QList<Vendido>& itens, qint64 cliente = 7,
               int hist = kHistVenda, int tipo = 1, int filial = 1)
    {
        GravadorDocumentos gravador(db(), {u"Est_Hist"_s}, {u"FORMULA"_s, u"QUANTIDADE"_s, u"Cod_Reduz"_s});
        DocumentoEstoque d;
        d.chave = {filial, nota, tipo, cliente, data};
        d.cabecalho = {hist};
        for (qsizetype i = itens.size() - 1; i >= 0; --i)
            d.itens.push_back({{itens[i].formula, itens[i].qtd, 1}, {}, i + 1});
        gravador.grava(d);
    }

    // The write-off items of a sales document, in Num_Item order.
    QList<ItemBaixa> itensBaixa(int nota, const QString& data, qint64 fornecedor = kFornecedor)
    {
        QList<ItemBaixa> itens;
        Statement st = db().prepare(
            u"SELECT Num_Item, Cod_Reduz, DESCR_PROD, QUANTIDADE FROM Notai WHERE Filial = 1 "
            "AND Num_Nota = ? AND Tipo_Nota = 3 AND Cod_Clifor = ? AND DT_ENTRADA = ? ORDER BY Num_Item"_s);
        st.bindList({nota, fornecedor, data});
        while (st.next())
            itens << ItemBaixa{st.intValue(0), st.intValue(1), st.textValue(2), st.doubleValue(3)};
        return itens;
    }
    qint64 cabecalhosBaixa() { return sql(u"SELECT count(*) FROM Notas WHERE Tipo_Nota = 3"_s).toLongLong(); }
    qint64 itensDeBaixa() { return sql(u"SELECT count(*) FROM Notai WHERE Tipo_Nota = 3"_s).toLongLong(); }

    static ParametrosBaixa parametros()
    {
        return {QDate(2005, 1, 1), QDate(2005, 12, 31), kHistVenda, kHistBaixa, kFornecedor};
    }
    ResultadoBaixa baixa(const ParametrosBaixa& p = parametros(), const AndamentoBaixa& andamento = {})
    {
        return BaixaEstoqueMateriaPrima(*store, contexto, p, andamento);
    }

    std::shared_ptr<Store> store;
    ContextoEstoque contexto{1, 0};
};

}  // namespace pcp::test
