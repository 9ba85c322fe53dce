#include "NextNumber.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

qint64 maxIntegerValue(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
        return 32767;
    case FieldType::Integer:
    case FieldType::AutoInc:
        return 2147483647;
    default:
        return 0;
    }
}

qint64 nextNumber(Database& db, const TableDef& table, const QString& field, const QStringList& scopeFields,
                  const QVariantList& scopeValues, qint64 cap)
{
    const FieldDef* f = table.findField(field);
    if (!f || !isIntegral(f->type))
        throw DbError(u"O campo %1 de %2 não é numérico"_s.arg(field, table.name()), DbErrorKind::Refused);
    QString sql = u"SELECT max("_s + quoted(f->name) + u") FROM "_s + quoted(table.name());
    QStringList where;
    QVariantList params;
    for (int i = 0; i < scopeFields.size(); ++i) {
        const FieldDef* sf = table.findField(scopeFields[i]);
        if (!sf)
            throw DbError(u"Campo %1 nao encontrado na tabela %2"_s.arg(scopeFields[i], table.name()),
                          DbErrorKind::Refused);
        const QVariant v = toStorage(*sf, coerceForField(*sf, scopeValues.value(i)));
        // a blank is NULL here, but stores written by other tools may hold ''
        if (v.isNull()) {
            where << u"("_s + quoted(sf->name) + u" IS NULL OR "_s + quoted(sf->name) + u" = '')"_s;
        } else {
            where << quoted(sf->name) + u" = ?"_s;
            params << v;
        }
    }
    if (!where.isEmpty())
        sql += u" WHERE "_s + where.join(u" AND "_s);
    Statement st = db.prepare(sql);
    st.bindList(params);
    const qint64 next = st.scalar().toLongLong() + 1;
    qint64 limit = maxIntegerValue(f->type);
    if (cap > 0 && cap < limit)
        limit = cap;
    if (next > limit)
        throw DbError(u"Numeração esgotada: %1 não passa de %2"_s.arg(f->name).arg(limit), DbErrorKind::Refused);
    return next;
}

}  // namespace pcp
