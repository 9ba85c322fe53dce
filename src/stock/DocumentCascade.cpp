#include "DocumentCascade.h"

#include "DbError.h"
#include "DocumentoEstoque.h"
#include "StockTables.h"
#include "TransacaoSeNecessaria.h"

#include <QHash>


using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The statement that deletes the rows of `tabela` whose key fields match;
// blank key values match blank fields.
Statement& exclusao(Database& db, const QString& tabela, const QStringList& campos, const QVariantList& valores)
{
    if (valores.size() != campos.size())
        throw DbError(u"Chave incompleta para excluir de %1"_s.arg(tabela));
    // The texts are made once: a write-off replaces thousands of documents.
    static QHash<QString, QString> textos;
    const QString chave = tabela + u'/' + QString::number(campos.size());
    auto it = textos.constFind(chave);
    if (it == textos.cend()) {
        QStringList condicao;
        for (const QString& c : campos)
            condicao << c + u" IS NOT DISTINCT FROM ?"_s;
        it = textos.insert(chave, u"DELETE FROM %1 WHERE %2"_s.arg(tabela, condicao.join(u" AND "_s)));
    }
    return db.cached(*it).bindList(valores);
}

// The number of rows deleted.
int apaga(Database& db, const QString& tabela, const QStringList& campos, const QVariantList& valores)
{
    return exclusao(db, tabela, campos, valores).run();
}

// Deletes, in one transaction (or inside the caller's), `tabela`'s
// dependents and, with `propria`, the matching rows of `tabela` itself.
int apagaComDependentes(Database& db, const QString& tabela, const QVariantList& chave, bool propria)
{
    TransacaoSeNecessaria tx(db);
    const QStringList campos = chave.size() == chaveItemNota().size() ? chaveItemNota() : chaveNota();
    int itens = 0;
    QStringList tabelas = dependentesDe(tabela);
    if (propria)
        tabelas << tabela;
    for (const QString& t : tabelas) {
        const int n = apaga(db, t, campos, chave);
        if (t == u"Notai"_s)
            itens = n;
    }
    tx.commit();
    return itens;
}

}  // namespace

void excluiSatelitesItem(Database& db, const QVariantList& chaveItem)
{
    apagaComDependentes(db, u"NOTAI3"_s, chaveItem, false);
}

void excluiExtensaoItem(Database& db, const QVariantList& chaveItem)
{
    apagaComDependentes(db, u"Notai"_s, chaveItem, false);
}

int excluiDependentesDocumento(Database& db, const QVariantList& chave)
{
    return apagaComDependentes(db, u"Notas"_s, chave, false);
}

bool excluiItemNota(Database& db, const QVariantList& chaveItem)
{
    return apagaComDependentes(db, u"Notai"_s, chaveItem, true) > 0;
}

void excluiDocumentoSemContar(Database& db, const QVariantList& chave)
{
    TransacaoSeNecessaria tx(db);
    QStringList tabelas = dependentesDe(u"Notas"_s);
    tabelas << u"Notas"_s;
    for (const QString& t : tabelas)
        exclusao(db, t, chaveNota(), chave).queue();
    tx.commit();
}

int excluiDocumento(Database& db, const QVariantList& chave)
{
    TransacaoSeNecessaria tx(db);
    const int itens = excluiDependentesDocumento(db, chave);
    const bool havia = apaga(db, u"Notas"_s, chaveNota(), chave) > 0;
    tx.commit();
    return havia ? itens : -1;
}

}  // namespace pcp
