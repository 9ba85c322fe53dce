// The reads a grid makes through a cursor: pages at an offset or after a
// record, a record's position in the cursor's order, and lookups, none of
// which moves the cursor.
#include "TableCursor.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableCursor::Record TableCursor::toRecord(Row row) { return Record{Bookmark{row.rowid}, std::move(row.values)}; }

std::vector<TableCursor::Record> TableCursor::toRecords(std::vector<Row> rows)
{
    std::vector<Record> out;
    out.reserve(rows.size());
    for (Row& r : rows)
        out.push_back(toRecord(std::move(r)));
    return out;
}

TableCursor::Row TableCursor::rowOf(const Record& record) const { return Row{record.mark.rowid, record.values}; }

std::vector<TableCursor::Record> TableCursor::recordsAt(qint64 offset, int count, qint64 total) const
{
    requireActive();
    if (offset < 0 || count <= 0)
        return {};
    if (total < 0)
        total = this->count(baseWhere());
    if (offset >= total)
        return {};
    count = int(std::min<qint64>(count, total - offset));
    // an offset is a walk over the skipped index entries: start from the nearer end
    const bool fromEnd = offset > total - offset - count;
    const qint64 skip = fromEnd ? total - offset - count : offset;
    if (skip == 0) {
        auto rows = query(baseWhere(), !fromEnd, count);
        if (fromEnd)
            std::reverse(rows.begin(), rows.end());
        return toRecords(std::move(rows));
    }
    // The skipped entries are walked in the index alone (their rowids), then
    // the page is read by key from the record reached.
    QStringList order;
    for (const OrderColumn& c : orderColumns())
        order << c.sql + (fromEnd ? u" DESC"_s : QString());
    const Where where = baseWhere();
    Statement& st = store_->db().cached(u"SELECT rowid FROM "_s + quoted(def_.name()) + where.text() +
                                        u" ORDER BY "_s + order.join(u", "_s) + u" LIMIT 1 OFFSET ?"_s);
    st.bindList(where.params);
    st.bindInt(int(where.params.size()) + 1, skip);
    const auto anchor = fetchRowId(st.scalar().toLongLong(), false);
    if (!anchor)
        return {};
    std::vector<Row> rows{*anchor};
    for (Row& r : fetchFrom(orderValues(*anchor), !fromEnd, false, count - 1))
        rows.push_back(std::move(r));
    if (fromEnd)
        std::reverse(rows.begin(), rows.end());
    return toRecords(std::move(rows));
}

std::vector<TableCursor::Record> TableCursor::recordsAfter(const Record& from, int count) const
{
    requireActive();
    return toRecords(fetchFrom(orderValues(rowOf(from)), true, false, count));
}

std::vector<TableCursor::Record> TableCursor::recordsBefore(const Record& from, int count) const
{
    requireActive();
    auto rows = fetchFrom(orderValues(rowOf(from)), false, false, count);
    std::reverse(rows.begin(), rows.end());
    return toRecords(std::move(rows));
}

// The same walk as fetchFrom backwards, counting instead of reading: at each
// key level, the records with the same leading fields and a smaller (or
// blank) value at that level.
qint64 TableCursor::positionOf(const Bookmark& mark) const
{
    requireActive();
    const auto row = mark.valid() ? fetchRowId(mark.rowid, true) : std::nullopt;
    if (!row)
        return -1;
    const QVariantList key = orderValues(*row);
    const auto cols = orderColumns();
    qint64 before = 0;
    for (int level = 0; level < int(cols.size()); ++level) {
        const QVariant& v = key[level];
        if (v.isNull())
            continue;  // nothing sorts before a blank
        Where prefix = baseWhere();
        for (int j = 0; j < level; ++j)
            prefix.add(cols[size_t(j)].sql + u" IS ?"_s, {key[j]});
        Where smaller = prefix;
        smaller.add(cols[size_t(level)].sql + u" < ?"_s, {v});
        before += count(smaller);
        if (cols[size_t(level)].field >= 0) {
            prefix.add(cols[size_t(level)].sql + u" IS NULL"_s);
            before += count(prefix);
        }
    }
    return before;
}

std::optional<TableCursor::Record> TableCursor::record(const Bookmark& mark) const
{
    requireActive();
    auto row = mark.valid() ? fetchRowId(mark.rowid, true) : std::nullopt;
    if (!row)
        return std::nullopt;
    return toRecord(std::move(*row));
}

std::optional<TableCursor::Record> TableCursor::lookup(const QStringList& fields, const QVariantList& values) const
{
    requireActive();
    auto rows = query(matching(fields, values, false), true, 1);
    if (rows.empty())
        return std::nullopt;
    return toRecord(std::move(rows.front()));
}

}  // namespace pcp
