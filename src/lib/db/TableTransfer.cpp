#include "TableTransfer.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

QStringList columnNames(Database& db, const QString& table)
{
    Statement st = db.onServer()
                       ? db.prepare(u"SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                    u"current_schema() AND table_name = ? AND column_name <> '_rowid_' "
                                    u"ORDER BY ordinal_position"_s)
                       : db.prepare(u"SELECT name FROM pragma_table_info(?) ORDER BY cid"_s);
    st.bindText(1, db.onServer() ? table.toLower() : table);
    QStringList out;
    while (st.next())
        out << st.textValue(0).toLower();
    return out;
}

void beginSnapshot(Database& db)
{
    // SQLite's read transaction keeps the state of its first read
    db.exec(db.onServer() ? u"BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY"_s : u"BEGIN DEFERRED"_s);
}

void endSnapshot(Database& db)
{
    if (db.inTransaction())
        db.exec(u"ROLLBACK"_s);
}

qint64 lastAutoNumber(Database& db, const QString& table, const QString& field)
{
    if (db.onServer()) {
        Statement st = db.prepare(u"SELECT pg_sequence_last_value(pg_get_serial_sequence(?, ?)::regclass)"_s);
        st.bindText(1, table.toLower()).bindText(2, field.toLower());
        return st.scalar().toLongLong();
    }
    if (!db.tableExists(u"sqlite_sequence"_s))
        return 0;
    Statement st = db.prepare(u"SELECT seq FROM sqlite_sequence WHERE name = ? COLLATE NOCASE"_s);
    st.bindText(1, table);
    return st.scalar().toLongLong();
}

void setLastAutoNumber(Database& db, const QString& table, const QString& field, qint64 last)
{
    if (db.onServer()) {
        Statement st = db.prepare(u"SELECT setval(pg_get_serial_sequence(?, ?), ?::bigint, ?::boolean)"_s);
        st.bindText(1, table.toLower()).bindText(2, field.toLower());
        // a sequence starts at 1: "nothing handed out yet" is 1 not yet called
        st.bindInt(3, qMax<qint64>(last, 1)).bindText(4, last > 0 ? u"true"_s : u"false"_s);
        st.scalar();
        return;
    }
    Statement up = db.prepare(u"UPDATE sqlite_sequence SET seq = ? WHERE name = ? COLLATE NOCASE"_s);
    up.bindInt(1, last).bindText(2, table);
    if (up.run() == 0)
        db.prepare(u"INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"_s)
            .bindText(1, table)
            .bindInt(2, last)
            .run();
}

}  // namespace pcp
