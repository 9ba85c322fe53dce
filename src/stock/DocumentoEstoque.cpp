#include "DocumentoEstoque.h"

#include "DbError.h"
#include "DocumentCascade.h"
#include "StockTables.h"
#include "TransacaoSeNecessaria.h"

#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

QString insercao(const QString& tabela, const QStringList& campos)
{
    return u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(tabela, campos.join(u", "_s),
                                                    QStringList(campos.size(), u"?"_s).join(u", "_s));
}

QStringList calculaDependentes(const QString& tabela)
{
    const QStringList& todas = tabelasDoDocumento();
    const qsizetype i = todas.indexOf(tabela);
    if (tabela == u"Notas"_s)
        return todas.first(i);  // the whole document
    if (i < 0 || i >= todas.indexOf(u"NOTAS3"_s))
        return {};
    return todas.first(i);  // what hangs off the item before it
}

}  // namespace

const QStringList& tabelasDoDocumento()
{
    static const QStringList tabelas{u"nfe_notai_veic"_s, u"nfe_notai_medicamentos"_s, u"Nfe_notai_imp"_s,
                                     u"NOTAI3"_s,         u"Notai"_s,                  u"NOTAS3"_s,
                                     u"Notas"_s};
    return tabelas;
}

QStringList dependentesDe(const QString& tabela)
{
    static QHash<QString, QStringList> lidos;
    auto it = lidos.constFind(tabela);
    if (it == lidos.cend())
        it = lidos.insert(tabela, calculaDependentes(tabela));
    return *it;
}

GravadorDocumentos::GravadorDocumentos(Database& db, const QStringList& camposCabecalho,
                                       const QStringList& camposItem, const QVariantMap& fixosItem)
    : db_(db), camposCabecalho_(camposCabecalho), camposItem_(camposItem), fixosItem_(fixosItem.values()),
      cabecalho_(db, insercao(u"Notas"_s, chaveNota() + camposCabecalho)),
      item_(db, insercao(u"Notai"_s, chaveItemNota() << u"ANO_MES"_s << fixosItem.keys() << camposItem))
{
}

void GravadorDocumentos::gravaDependente(const Dependente& d, const QVariantList& chave,
                                         const QStringList& camposChave)
{
    Statement& st = db_.cached(insercao(d.tabela, camposChave + d.campos.keys()));
    st.bindList(chave);
    int i = int(chave.size());
    for (const QVariant& v : d.campos)
        st.bind(++i, v);
    st.queue();
}

void GravadorDocumentos::grava(const DocumentoEstoque& d)
{
    if (qint64(d.itens.size()) > kMaiorNumItem)
        throw DbError(u"A nota %1 passa de %2 itens"_s.arg(d.chave.numNota.toString()).arg(kMaiorNumItem),
                      DbErrorKind::Refused);
    if (d.cabecalho.size() != camposCabecalho_.size())
        throw DbError(u"Cabeçalho com %1 valores para %2 campos"_s.arg(d.cabecalho.size()).arg(camposCabecalho_.size()));
    TransacaoSeNecessaria tx(db_);
    const QVariantList chave = d.chave.valores();
    const int n = int(chave.size());
    cabecalho_.bindList(chave);
    for (int i = 0; i < d.cabecalho.size(); ++i)
        cabecalho_.bind(n + 1 + i, d.cabecalho[i]);
    cabecalho_.run();
    for (const Dependente& dep : d.dependentes)
        gravaDependente(dep, chave, chaveNota());

    // The key, the month and the fixed fields stay bound from one item to the next.
    item_.bindList(chave).bindText(n + 2, d.chave.anoMes());
    for (int i = 0; i < fixosItem_.size(); ++i)
        item_.bind(n + 3 + i, fixosItem_[i]);
    const int primeiroValor = n + 3 + int(fixosItem_.size());
    qint64 numItem = 0;
    for (const ItemDocumento& it : d.itens) {
        if (it.valores.size() != camposItem_.size())
            throw DbError(u"Item com %1 valores para %2 campos"_s.arg(it.valores.size()).arg(camposItem_.size()));
        numItem = it.numItem > 0 ? it.numItem : numItem + 1;
        item_.bindInt(n + 1, numItem);
        for (int i = 0; i < it.valores.size(); ++i)
            item_.bind(primeiroValor + i, it.valores[i]);
        item_.queue();
        if (!it.dependentes.empty()) {
            const QVariantList chaveItem = QVariantList(chave) << numItem;
            for (const Dependente& dep : it.dependentes)
                gravaDependente(dep, chaveItem, chaveItemNota());
        }
    }
    tx.commit();
}

void GravadorDocumentos::substitui(const DocumentoEstoque& d)
{
    TransacaoSeNecessaria tx(db_);
    excluiDocumento(db_, d.chave.valores());
    grava(d);
    tx.commit();
}

}  // namespace pcp
