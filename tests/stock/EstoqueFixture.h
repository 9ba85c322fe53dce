#pragma once
// A small company with the stock tables and the product master, history
// codes of every movement class, and helpers that write one-item documents
// and balance rows straight into the tables.
#include "EstpromaTable.h"
#include "Linhas.h"
#include "ScriptedTest.h"
#include "Sessao.h"
#include "StockTables.h"
#include "Store.h"

#include <QVariantMap>
#include <memory>
#include <optional>

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

// History codes of the fixture, named by their movement class; kSemHistorico
// is a code missing from HistEst.
inline constexpr int kEntrada = 1, kEntradaMedia = 2, kSoQuantidade = 49, kNeutro = 50,
                     kSaida = 51, kSemHistorico = 77;

// One document with one item. `cabecalho` false leaves the header out.
struct Mov {
    int nota = 0;
    QString data = {};  // "yyyy-mm-dd"
    int hist = kEntrada;
    double qtd = 0;
    double custo = 0;     // VLR_CUSTO as written by the purchase side
    double custoInf = 0;  // CUSTO_INF
    double qtd2 = 0;
    QString tam = {};
    int dep = 1;
    qint64 cod = 100;
    QString complemento = {};  // header COMPLNATOP
    bool naoAtualiza = false;   // NOTAI3.NaoAtualizaSaldos = "S"
    bool cabecalho = true;
};

struct SaldoLido {
    double fisico, fisico2, medio, financeiro;
};

class EstoqueFixture : public ScriptedTest {
protected:
    void SetUp() override
    {
        Catalog c;
        declareStockTables(c);
        c.add(estpromaTable());
        store = Store::openCompany(tmp.path(), c);
        sessao() = {};
        sessao().FilialAtual = 1;
        for (auto [codigo, classe] : {std::pair{kEntrada, 1}, {kEntradaMedia, 2}, {kSoQuantidade, 49},
                                      {kNeutro, 50}, {kSaida, 51}})
            linha(u"HistEst"_s, {{u"Est_Hist"_s, codigo}, {u"Param_Hist"_s, classe}});
    }
    void TearDown() override
    {
        sessao() = {};
        ScriptedTest::TearDown();
    }
    Database& db() { return store->db(); }

    void linha(const QString& tabela, const QVariantMap& campos) { insereLinha(db(), tabela, campos); }
    static QVariantMap chave(int nota, const QString& data)
    {
        return {{u"Filial"_s, 1}, {u"Num_Nota"_s, nota}, {u"Tipo_Nota"_s, 3},
                {u"Cod_Clifor"_s, 9}, {u"DT_ENTRADA"_s, data}};
    }
    void grava(const Mov& m)
    {
        if (m.cabecalho) {
            QVariantMap h = chave(m.nota, m.data);
            h.insert(u"Est_Hist"_s, m.hist);
            h.insert(u"COMPLNATOP"_s, m.complemento);
            linha(u"Notas"_s, h);
        }
        QVariantMap i = chave(m.nota, m.data);
        i.insert(u"Num_Item"_s, 1);
        i.insert(u"ANO_MES"_s, QString(m.data.left(4) + m.data.mid(5, 2)));
        i.insert(u"Cod_Reduz"_s, m.cod);
        i.insert(u"TAMANHO"_s, m.tam);
        i.insert(u"Cod_Deposi"_s, m.dep);
        i.insert(u"QUANTIDADE"_s, m.qtd);
        i.insert(u"Quantidade2"_s, m.qtd2);
        i.insert(u"VLR_CUSTO"_s, m.custo);
        i.insert(u"CUSTO_INF"_s, m.custoInf);
        linha(u"Notai"_s, i);
        if (m.naoAtualiza) {
            QVariantMap x = chave(m.nota, m.data);
            x.insert(u"Num_Item"_s, 1);
            x.insert(u"NaoAtualizaSaldos"_s, u"S"_s);
            linha(u"NOTAI3"_s, x);
        }
    }
    void grava(const QList<Mov>& movs)
    {
        for (const Mov& m : movs)
            grava(m);
    }
    void saldo(const QString& anoMes, double fisico, double medio = 0, double fisico2 = 0,
               qint64 cod = 100, const QString& tam = {}, int dep = 1)
    {
        linha(u"Sldpr"_s, {{u"Filial"_s, 1}, {u"Ano_Mes"_s, anoMes}, {u"Cod_Reduz"_s, cod},
                           {u"Tamanho"_s, tam}, {u"Cod_Deposi"_s, dep}, {u"Fisico"_s, fisico},
                           {u"Fisico2"_s, fisico2}, {u"Medio"_s, medio},
                           {u"Financeiro"_s, 7.0}, {u"Dolar"_s, 0.0}});
    }
    void produto(qint64 cod, double ultimoCust = 0, double custoMedio = 0)
    {
        linha(u"Estproma"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, cod},
                              {u"ULTIMOCUST"_s, ultimoCust}, {u"CustoMedio"_s, custoMedio}});
    }
    std::optional<SaldoLido> saldoDe(const QString& anoMes, qint64 cod = 100, const QString& tam = {},
                                     int dep = 1)
    {
        Statement st = db().prepare(
            u"SELECT Fisico, Fisico2, Medio, Financeiro FROM Sldpr WHERE Filial = 1 AND "
            "Ano_Mes = ?1 AND Cod_Reduz = ?2 AND Tamanho IS ?3 AND Cod_Deposi = ?4"_s);
        st.bindList({anoMes, cod, tam, dep});
        if (!st.next())
            return std::nullopt;
        SaldoLido s{st.doubleValue(0), st.doubleValue(1), st.doubleValue(2), st.doubleValue(3)};
        st.reset();
        return s;
    }
    // VLR_CUSTO and VLR_MEDIO of the item of a document.
    std::pair<double, double> custoDoItem(int nota)
    {
        Statement st = db().prepare(u"SELECT VLR_CUSTO, VLR_MEDIO FROM Notai WHERE Num_Nota = ?1"_s);
        st.bindList({nota});
        EXPECT_TRUE(st.next()) << "item of document " << nota;
        const std::pair<double, double> r{st.doubleValue(0), st.doubleValue(1)};
        st.reset();
        return r;
    }
    QVariant sql(const QString& texto, const QVariantList& params = {})
    {
        return db().prepare(texto).bindList(params).scalar();
    }

    std::shared_ptr<Store> store;
};

}  // namespace pcp::test
