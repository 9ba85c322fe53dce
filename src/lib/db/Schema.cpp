#include "Schema.h"

#include "Transaction.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

QString primaryIndexName(const TableDef& t) { return t.name() + u"_PK"_s; }
QString secondaryIndexName(const TableDef& t, const IndexDef& i) { return t.name() + u"__"_s + i.name; }

namespace {

QString columnDef(const FieldDef& f)
{
    if (f.type == FieldType::AutoInc)
        return quoted(f.name) + u" INTEGER PRIMARY KEY AUTOINCREMENT"_s;
    return quoted(f.name) + u' ' + sqlType(f.type);
}

QString indexColumns(const QStringList& fields, bool caseInsensitive)
{
    QStringList cols;
    for (const QString& f : fields)
        cols << (caseInsensitive ? quoted(f) + u" COLLATE NOCASE"_s : quoted(f));
    return cols.join(u", "_s);
}

bool keyIsRowId(const TableDef& t)
{
    if (t.primaryKey().size() != 1)
        return false;
    const FieldDef* f = t.findField(t.primaryKey().first());
    return f && f->type == FieldType::AutoInc;
}

QSet<QString> names(Database& db, const QString& schema, const QString& type)
{
    QSet<QString> out;
    Statement st(db, u"SELECT name FROM %1.sqlite_master WHERE type = ?1"_s.arg(quoted(schema)));
    st.bindText(1, type);
    while (st.next())
        out.insert(st.textValue(0).toLower());
    return out;
}

// SQLite lets NULLs repeat in a unique index; a blank key field must still be
// unique like any other value, so these triggers refuse the duplicate when a
// key field is blank.
void createBlankKeyTriggers(Database& db, const TableDef& t, const QString& schema)
{
    QStringList anyNull, same;
    for (const QString& k : t.primaryKey()) {
        anyNull << u"NEW."_s + quoted(k) + u" IS NULL"_s;
        same << quoted(k) + u" IS NEW."_s + quoted(k);
    }
    const QString exists = u"SELECT RAISE(ABORT, 'Key violation.') WHERE EXISTS (SELECT 1 FROM "_s +
                           quoted(t.name()) + u" WHERE "_s + same.join(u" AND "_s);
    db.exec(u"CREATE TRIGGER IF NOT EXISTS %1.%2 BEFORE INSERT ON %3 WHEN %4 BEGIN %5); END"_s.arg(
        quoted(schema), quoted(t.name() + u"_PK_ins"_s), quoted(t.name()), anyNull.join(u" OR "_s),
        exists));
    QStringList keyCols;
    for (const QString& k : t.primaryKey())
        keyCols << quoted(k);
    db.exec(u"CREATE TRIGGER IF NOT EXISTS %1.%2 BEFORE UPDATE OF %3 ON %4 WHEN %5 BEGIN %6 AND rowid <> NEW.rowid); END"_s
                .arg(quoted(schema), quoted(t.name() + u"_PK_upd"_s), keyCols.join(u", "_s),
                     quoted(t.name()), anyNull.join(u" OR "_s), exists));
}

void ensureOne(Database& db, const TableDef& t, const QString& schema, const QSet<QString>& tables,
               const QSet<QString>& indexes)
{
    const QString s = quoted(schema) + u'.';
    if (!tables.contains(t.name().toLower())) {
        QStringList cols;
        for (const FieldDef& f : t.fields())
            cols << columnDef(f);
        db.exec(u"CREATE TABLE %1%2 (%3)"_s.arg(s, quoted(t.name()), cols.join(u", "_s)));
    } else {
        QSet<QString> have;
        Statement info(db, u"PRAGMA %1.table_info(%2)"_s.arg(quoted(schema), quoted(t.name())));
        while (info.next())
            have.insert(info.textValue(1).toLower());
        for (const FieldDef& f : t.fields())
            if (!have.contains(f.name.toLower()))
                db.exec(u"ALTER TABLE %1%2 ADD COLUMN %3 %4"_s.arg(s, quoted(t.name()), quoted(f.name),
                                                                   sqlType(f.type)));
    }
    if (!t.primaryKey().isEmpty() && !keyIsRowId(t)) {
        if (!indexes.contains(primaryIndexName(t).toLower()))
            db.exec(u"CREATE UNIQUE INDEX IF NOT EXISTS %1%2 ON %3 (%4)"_s.arg(
                s, quoted(primaryIndexName(t)), quoted(t.name()), indexColumns(t.primaryKey(), false)));
        createBlankKeyTriggers(db, t, schema);
    }
    for (const IndexDef& idx : t.indexes()) {
        const QString name = secondaryIndexName(t, idx);
        if (indexes.contains(name.toLower()))
            continue;
        db.exec(u"CREATE %1INDEX IF NOT EXISTS %2%3 ON %4 (%5)"_s.arg(
            idx.unique ? u"UNIQUE "_s : QString(), s, quoted(name), quoted(t.name()),
            indexColumns(idx.fields, idx.caseInsensitive)));
    }
}

}  // namespace

void ensureTable(Database& db, const TableDef& table) { ensureTables(db, {table}); }

void ensureTables(Database& db, const QList<TableDef>& tables)
{
    if (db.onServer())
        return ensureTablesOnServer(db, tables);
    Transaction tx(db);
    const QSet<QString> have = names(db, u"main"_s, u"table"_s);
    const QSet<QString> indexes = names(db, u"main"_s, u"index"_s);
    for (const TableDef& t : tables)
        ensureOne(db, t, u"main"_s, have, indexes);
    tx.commit();
}

}  // namespace pcp
