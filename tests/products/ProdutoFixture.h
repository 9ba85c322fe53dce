#pragma once
// A small company with the product tables, and helpers that write rows
// straight into them.
#include "ProductTables.h"
#include "Linhas.h"
#include "ScriptedTest.h"
#include "Store.h"

#include <QVariantMap>
#include <memory>

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

class ProdutoFixture : public ScriptedTest {
protected:
    void SetUp() override
    {
        Catalog c;
        declareProductTables(c);
        store = Store::openCompany(tmp.path(), c);
    }
    Database& db() { return store->db(); }

    // Inserts a row; the fields are named as declared.
    void linha(const QString& tabela, const QVariantMap& campos) { insereLinha(db(), tabela, campos); }
    void produto(int filial, qint64 codigo, QVariantMap campos = {})
    {
        campos.insert(u"Filial"_s, filial);
        campos.insert(u"Cod_Reduz"_s, codigo);
        linha(u"Estproma"_s, campos);
    }
    void tamanho(int filial, qint64 codigo, const QString& tam)
    {
        linha(u"Tamanho"_s, {{u"Filial"_s, filial}, {u"Cod_Reduz"_s, codigo}, {u"TAMANHO"_s, tam}});
    }
    QVariant sql(const QString& texto, const QVariantList& params = {})
    {
        return db().prepare(texto).bindList(params).scalar();
    }
    QStringList coluna(const QString& texto, const QVariantList& params = {})
    {
        Statement st = db().prepare(texto);
        st.bindList(params);
        QStringList out;
        while (st.next())
            out << st.textValue(0);
        return out;
    }

    std::shared_ptr<Store> store;
};

}  // namespace pcp::test
