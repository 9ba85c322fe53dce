#include "DocumentCascade.h"

#include "DbError.h"
#include "StockTables.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

QString condicao(const QStringList& campos)
{
    QStringList partes;
    for (int i = 0; i < campos.size(); ++i)
        partes << u"%1 = ?%2"_s.arg(campos[i]).arg(i + 1);
    return partes.join(u" AND "_s);
}

int apaga(Database& db, const QString& tabela, const QStringList& campos, const QVariantList& valores)
{
    if (valores.size() != campos.size())
        throw DbError(u"Chave incompleta para excluir de %1"_s.arg(tabela));
    return db.prepare(u"DELETE FROM %1 WHERE %2"_s.arg(tabela, condicao(campos)))
        .bindList(valores)
        .run();
}

}  // namespace

void excluiSatelitesItem(Database& db, const QVariantList& chaveItem)
{
    Transaction tx(db);
    for (const QString& t : {u"nfe_notai_veic"_s, u"nfe_notai_medicamentos"_s, u"Nfe_notai_imp"_s})
        apaga(db, t, chaveItemNota(), chaveItem);
    tx.commit();
}

void excluiExtensaoItem(Database& db, const QVariantList& chaveItem)
{
    Transaction tx(db);
    excluiSatelitesItem(db, chaveItem);
    apaga(db, u"NOTAI3"_s, chaveItemNota(), chaveItem);
    tx.commit();
}

void excluiExtensaoNota(Database& db, const QVariantList& chave)
{
    apaga(db, u"NOTAS3"_s, chaveNota(), chave);
}

bool excluiItemNota(Database& db, const QVariantList& chaveItem)
{
    Transaction tx(db);
    excluiExtensaoItem(db, chaveItem);
    const bool havia = apaga(db, u"Notai"_s, chaveItemNota(), chaveItem) > 0;
    tx.commit();
    return havia;
}

int excluiDocumento(Database& db, const QVariantList& chave)
{
    Transaction tx(db);
    QVariantList itens;
    Statement st = db.prepare(u"SELECT Num_Item FROM Notai WHERE %1"_s.arg(condicao(chaveNota())));
    st.bindList(chave);
    while (st.next())
        itens << st.value(0);
    for (const QVariant& n : itens)
        excluiItemNota(db, QVariantList(chave) << n);
    excluiExtensaoNota(db, chave);
    const bool havia = apaga(db, u"Notas"_s, chaveNota(), chave) > 0;
    tx.commit();
    return havia ? int(itens.size()) : -1;
}

}  // namespace pcp
