#include "TableCursor.h"

#include "FilterExpr.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
constexpr int kPage = 64;

// Comparison of a column with a value where a blank (NULL) value sorts before
// every other one, as the ordered walk sees it.
QString compare(const QString& col, const QString& op, const QVariant& v, QVariantList& params)
{
    if (op == u"="_s) {
        params << v;
        return col + u" IS ?"_s;
    }
    if (v.isNull()) {
        if (op == u">"_s) return col + u" IS NOT NULL"_s;
        if (op == u">="_s) return u"1 = 1"_s;
        if (op == u"<"_s) return u"1 = 0"_s;
        return col + u" IS NULL"_s;  // <=
    }
    params << v;
    if (op == u">"_s || op == u">="_s)
        return col + u' ' + op + u" ?"_s;
    return u"("_s + col + u' ' + op + u" ? OR "_s + col + u" IS NULL)"_s;
}

// Lexicographic bound over cols[k..]: lower gives ">=", upper "<=".
QString lexBound(const QStringList& cols, const QVariantList& vals, int k, bool lower, QVariantList& params)
{
    if (k == cols.size() - 1)
        return compare(cols[k], lower ? u">="_s : u"<="_s, vals[k], params);
    const QString strict = compare(cols[k], lower ? u">"_s : u"<"_s, vals[k], params);
    const QString same = compare(cols[k], u"="_s, vals[k], params);
    return u"("_s + strict + u" OR ("_s + same + u" AND "_s + lexBound(cols, vals, k + 1, lower, params) + u"))"_s;
}
}  // namespace

void TableCursor::Where::add(const QString& s, const QVariantList& p)
{
    sql << s;
    params << p;
}

QString TableCursor::Where::text() const
{
    return sql.isEmpty() ? QString() : u" WHERE "_s + sql.join(u" AND "_s);
}

TableCursor::TableCursor(std::shared_ptr<Store> store, const QString& table, QObject* parent)
    : TableCursor(store, store->table(table), parent)
{
}

TableCursor::TableCursor(std::shared_ptr<Store> store, TableDef table, QObject* parent)
    : QObject(parent), store_(std::move(store)), def_(std::move(table))
{
}

TableCursor::~TableCursor() = default;

void TableCursor::setStore(std::shared_ptr<Store> store)
{
    close();
    store_ = std::move(store);
}

void TableCursor::setTable(TableDef table)
{
    close();
    def_ = std::move(table);
    indexName_.clear();
    indexFields_.clear();
    filterSql_.clear();
    filterParams_.clear();
    if (!filterText_.isEmpty())
        setFilter(filterText_);
}

void TableCursor::requireActive() const
{
    if (state_ == State::Inactive)
        throw DbError(u"A tabela %1 nao esta aberta"_s.arg(def_.name()), DbErrorKind::Refused);
}

void TableCursor::requireEditing() const
{
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(u"A tabela %1 nao esta em modo de edicao"_s.arg(def_.name()), DbErrorKind::Refused);
}

// Moving away from a record being changed posts it first.
void TableCursor::checkBrowse()
{
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

const TableCursor::Row* TableCursor::current() const
{
    return pos_ >= 0 && pos_ < int(buffer_.size()) ? &buffer_[size_t(pos_)] : nullptr;
}

int TableCursor::fieldIndexOrThrow(const QString& field) const
{
    const int i = def_.fieldIndex(field);
    if (i < 0)
        throw DbError(u"Campo %1 nao encontrado na tabela %2"_s.arg(field, def_.name()), DbErrorKind::Refused);
    return i;
}

void TableCursor::open()
{
    if (active())
        return;
    state_ = State::Browse;
    try {
        first();
    } catch (...) {
        state_ = State::Inactive;
        buffer_.clear();
        throw;
    }
}

void TableCursor::close()
{
    if (!active())
        return;
    lock_.release();
    editValues_.clear();
    buffer_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    state_ = State::Inactive;
}

QStringList TableCursor::indexFields() const
{
    if (!indexFields_.isEmpty())
        return indexFields_;
    if (indexName_.isEmpty())
        return def_.primaryKey();
    return def_.findIndex(indexName_)->fields;
}

void TableCursor::setIndexName(const QString& name)
{
    const IndexDef* idx = name.isEmpty() ? nullptr : def_.findIndex(name);
    if (!name.isEmpty() && !idx)
        throw DbError(u"Indice %1 nao encontrado na tabela %2"_s.arg(name, def_.name()), DbErrorKind::Refused);
    const Row* row = active() ? current() : nullptr;
    const std::optional<Row> keep = row ? std::optional<Row>(*row) : std::nullopt;
    indexName_ = idx ? idx->name : QString();
    indexFields_.clear();
    indexCaseInsensitive_ = idx && idx->caseInsensitive;
    if (keep)
        showPage(fetchFrom(orderValues(*keep), true, true, kPage), 0);
}

void TableCursor::setIndexFields(const QStringList& fields)
{
    for (const QString& f : fields)
        fieldIndexOrThrow(f);
    indexName_.clear();
    indexFields_ = fields;
    indexCaseInsensitive_ = false;
    if (active())
        first();
}

std::vector<TableCursor::OrderColumn> TableCursor::orderColumns() const
{
    std::vector<OrderColumn> cols;
    for (const QString& f : indexFields()) {
        const int i = fieldIndexOrThrow(f);
        QString sql = quoted(def_.fields()[i].name);
        const FieldType type = def_.fields()[i].type;
        if (indexCaseInsensitive_ && (type == FieldType::String || type == FieldType::Memo))
            sql = store_->db().ignoringCase(sql);
        cols.push_back({sql, i});
    }
    cols.push_back({u"rowid"_s, -1});
    return cols;
}

QVariant TableCursor::storageKey(int orderIndex, const QVariant& value) const
{
    const auto cols = orderColumns();
    const int field = cols[size_t(orderIndex)].field;
    if (field < 0)
        return value.toLongLong();
    const FieldDef& f = def_.fields()[field];
    FieldDef unbounded = f;
    unbounded.size = 0;  // a search key may be longer than the field; it just finds nothing
    return toStorage(f, coerceForField(unbounded, value));
}

QVariantList TableCursor::orderValues(const Row& row) const
{
    QVariantList out;
    for (const OrderColumn& c : orderColumns())
        out << (c.field < 0 ? QVariant(row.rowid) : toStorage(def_.fields()[c.field], row.values[c.field]));
    return out;
}

QString TableCursor::selectList() const
{
    QStringList cols{u"rowid"_s};
    for (const FieldDef& f : def_.fields())
        cols << quoted(f.name);
    return cols.join(u", "_s);
}

TableCursor::Row TableCursor::readRow(Statement& st) const
{
    Row row;
    row.rowid = st.intValue(0);
    row.values.reserve(def_.fields().size());
    for (int i = 0; i < def_.fields().size(); ++i)
        row.values << fromStorage(def_.fields()[i], st.value(i + 1));
    return row;
}

TableCursor::Where TableCursor::baseWhere() const
{
    Where w;
    if (master_) {
        if (!master_->active() || master_->isEmpty()) {
            w.add(u"1 = 0"_s);
        } else {
            for (int i = 0; i < detailFields_.size(); ++i) {
                const FieldDef& f = def_.fields()[fieldIndexOrThrow(detailFields_[i])];
                const QVariant v = toStorage(f, coerceForField(f, master_->value(masterFields_[i])));
                w.add(quoted(f.name) + u" IS ?"_s, {v});
            }
        }
    }
    if (hasRange_) {
        const auto cols = orderColumns();
        const int n = int(std::min({rangeStart_.size(), rangeEnd_.size(), qsizetype(cols.size() - 1)}));
        QStringList names;
        QVariantList lo, hi;
        for (int i = 0; i < n; ++i) {
            names << cols[size_t(i)].sql;
            lo << storageKey(i, rangeStart_[i]);
            hi << storageKey(i, rangeEnd_[i]);
        }
        int k = 0;
        while (k < n && lo[k] == hi[k] && lo[k].isNull() == hi[k].isNull()) {
            w.add(names[k] + u" IS ?"_s, {lo[k]});
            ++k;
        }
        if (k < n) {
            QVariantList p;
            const QString lower = lexBound(names, lo, k, true, p);
            const QString upper = lexBound(names, hi, k, false, p);
            w.add(lower + u" AND "_s + upper, p);
        }
    }
    if (filtered_ && !filterSql_.isEmpty())
        w.add(u"("_s + filterSql_ + u")"_s, filterParams_);
    return w;
}

std::vector<TableCursor::Row> TableCursor::query(const Where& where, bool forward, int limit, qint64 skip) const
{
    QStringList order;
    for (const OrderColumn& c : orderColumns())
        order << c.sql + (forward ? QString() : u" DESC"_s);
    const QString sql = u"SELECT "_s + selectList() + u" FROM "_s + quoted(def_.name()) + where.text() +
                        u" ORDER BY "_s + order.join(u", "_s) + u" LIMIT "_s + QString::number(limit) +
                        (skip > 0 ? u" OFFSET ?"_s : QString());
    Statement& st = store_->db().cached(sql);
    st.bindList(where.params);
    if (skip > 0)
        st.bindInt(int(where.params.size()) + 1, skip);
    std::vector<Row> rows;
    while (st.next())
        rows.push_back(readRow(st));
    return rows;
}

// The rows after (or before) a position given by the leading order values.
// One query per key level, each an index range with an equal prefix, so the
// walk stays fast whatever the position and with blank key fields.
std::vector<TableCursor::Row> TableCursor::fetchFrom(const QVariantList& key, bool forward, bool inclusive,
                                                     int limit) const
{
    if (key.isEmpty())
        return query(baseWhere(), forward, limit);
    const auto cols = orderColumns();
    std::vector<Row> out;
    const int n = int(std::min(key.size(), qsizetype(cols.size())));
    for (int level = n - 1; level >= 0 && int(out.size()) < limit; --level) {
        Where prefix = baseWhere();
        for (int j = 0; j < level; ++j)
            prefix.add(cols[size_t(j)].sql + u" IS ?"_s, {key[j]});
        const QString& c = cols[size_t(level)].sql;
        const QVariant& v = key[level];
        const bool incl = inclusive && level == n - 1;
        QList<std::pair<QString, bool>> steps;  // condition, binds v
        if (forward) {
            if (v.isNull())
                steps << std::pair(incl ? QString() : c + u" IS NOT NULL"_s, false);
            else
                steps << std::pair(c + (incl ? u" >= ?"_s : u" > ?"_s), true);
        } else {
            if (v.isNull()) {
                if (incl)
                    steps << std::pair(c + u" IS NULL"_s, false);
            } else {
                steps << std::pair(c + (incl ? u" <= ?"_s : u" < ?"_s), true);
                steps << std::pair(c + u" IS NULL"_s, false);
            }
        }
        for (const auto& [cond, binds] : steps) {
            if (int(out.size()) >= limit)
                break;
            Where w = prefix;
            if (!cond.isEmpty())
                w.add(cond, binds ? QVariantList{v} : QVariantList{});
            for (Row& r : query(w, forward, limit - int(out.size())))
                out.push_back(std::move(r));
        }
    }
    return out;
}

std::optional<TableCursor::Row> TableCursor::fetchRowId(qint64 rowid, bool applyBase) const
{
    Where w = applyBase ? baseWhere() : Where{};
    w.add(u"rowid = ?"_s, {rowid});
    auto rows = query(w, true, 1);
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

void TableCursor::showPage(std::vector<Row> rows, int pos)
{
    if (rows.empty()) {
        setEmpty();
        return;
    }
    buffer_ = std::move(rows);
    pos_ = pos;
    eof_ = bof_ = false;
    emit scrolled();
}

void TableCursor::showPageEndingAt(std::vector<Row> backwards)
{
    std::reverse(backwards.begin(), backwards.end());
    const int pos = int(backwards.size()) - 1;
    showPage(std::move(backwards), pos);
}

void TableCursor::setEmpty()
{
    buffer_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    emit scrolled();
}

void TableCursor::first()
{
    requireActive();
    checkBrowse();
    showPage(query(baseWhere(), true, kPage), 0);
    bof_ = true;
}

void TableCursor::last()
{
    requireActive();
    checkBrowse();
    auto rows = query(baseWhere(), false, kPage);
    showPageEndingAt(std::move(rows));
    eof_ = true;
}

void TableCursor::next() { step(true); }

void TableCursor::prior() { step(false); }

// One row on within the page, or the neighbouring page fetched; at the end the
// cursor stays put and raises eof (bof going back).
void TableCursor::step(bool forward)
{
    requireActive();
    checkBrowse();
    bool& edge = forward ? eof_ : bof_;
    if (buffer_.empty()) {
        edge = true;
        return;
    }
    const int to = pos_ + (forward ? 1 : -1);
    if (to >= 0 && to < int(buffer_.size())) {
        pos_ = to;
        (forward ? bof_ : eof_) = false;
        emit scrolled();
        return;
    }
    auto rows = fetchFrom(orderValues(forward ? buffer_.back() : buffer_.front()), forward, false, kPage);
    if (rows.empty()) {
        edge = true;
        return;
    }
    if (forward)
        showPage(std::move(rows), 0);
    else
        showPageEndingAt(std::move(rows));
}

qint64 TableCursor::count(const Where& where) const
{
    Statement& st = store_->db().cached(u"SELECT count(*) FROM "_s + quoted(def_.name()) + where.text());
    st.bindList(where.params);
    return st.scalar().toLongLong();
}

int TableCursor::recordCount() const
{
    requireActive();
    return int(count(baseWhere()));
}

TableCursor::Where TableCursor::matching(const QStringList& fields, const QVariantList& values,
                                         bool caseInsensitive) const
{
    Where w = baseWhere();
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef& f = def_.fields()[fieldIndexOrThrow(fields[i])];
        FieldDef unbounded = f;
        unbounded.size = 0;
        const QVariant v = toStorage(f, coerceForField(unbounded, values.value(i)));
        if (caseInsensitive && !v.isNull() && (f.type == FieldType::String || f.type == FieldType::Memo))
            w.add(u"pcp_upper("_s + quoted(f.name) + u") = pcp_upper(?)"_s, {v});
        else
            w.add(quoted(f.name) + u" IS ?"_s, {v});
    }
    return w;
}

bool TableCursor::findKey(const QVariantList& values)
{
    requireActive();
    checkBrowse();
    const auto cols = orderColumns();
    if (values.isEmpty() || values.size() >= qsizetype(cols.size()))
        throw DbError(u"Chave invalida para a tabela %1"_s.arg(def_.name()), DbErrorKind::Refused);
    Where w = baseWhere();
    for (int i = 0; i < values.size(); ++i)
        w.add(cols[size_t(i)].sql + u" IS ?"_s, {storageKey(i, values[i])});
    auto rows = query(w, true, 1);
    if (rows.empty())
        return false;
    showPage(std::move(rows), 0);
    return true;
}

bool TableCursor::findNearest(const QVariantList& values)
{
    requireActive();
    checkBrowse();
    QVariantList key;
    for (int i = 0; i < values.size() && i < int(orderColumns().size()) - 1; ++i)
        key << storageKey(i, values[i]);
    auto rows = fetchFrom(key, true, true, kPage);
    if (rows.empty()) {
        last();
        return false;
    }
    showPage(std::move(rows), 0);
    return true;
}

void TableCursor::setFilter(const QString& text)
{
    const SqlCondition c = compileFilter(text, def_);  // throws before anything changes
    filterText_ = text;
    filterSql_ = c.sql;
    filterParams_ = c.params;
    if (active() && filtered_)
        first();
}

void TableCursor::setFiltered(bool on)
{
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (active())
        first();
}

void TableCursor::setRange(const QVariantList& start, const QVariantList& end)
{
    hasRange_ = true;
    rangeStart_ = start;
    rangeEnd_ = end;
    if (active())
        first();
}

void TableCursor::cancelRange()
{
    hasRange_ = false;
    rangeStart_.clear();
    rangeEnd_.clear();
    if (active())
        first();
}

bool TableCursor::locate(const QStringList& fields, const QVariantList& values, bool caseInsensitive)
{
    requireActive();
    checkBrowse();
    auto rows = query(matching(fields, values, caseInsensitive), true, 1);
    if (rows.empty())
        return false;
    showPage(std::move(rows), 0);
    return true;
}

void TableCursor::setMasterLink(TableCursor* master, const QStringList& detailFields,
                                const QStringList& masterFields)
{
    clearMasterLink();
    master_ = master;
    detailFields_ = detailFields;
    masterFields_ = masterFields.isEmpty() ? detailFields : masterFields;
    masterConnection_ = connect(master, &TableCursor::scrolled, this, &TableCursor::masterScrolled);
    connect(master, &QObject::destroyed, this, [this] { master_ = nullptr; });
    if (active())
        first();
}

void TableCursor::clearMasterLink()
{
    if (master_)
        disconnect(masterConnection_);
    master_ = nullptr;
}

void TableCursor::masterScrolled()
{
    if (state_ == State::Browse)
        first();
}

TableCursor::Bookmark TableCursor::bookmark() const
{
    const Row* row = current();
    return Bookmark{row ? row->rowid : 0};
}

bool TableCursor::gotoBookmark(const Bookmark& mark)
{
    requireActive();
    checkBrowse();
    if (!mark.valid())
        return false;
    auto row = fetchRowId(mark.rowid, true);
    if (!row)
        return false;
    std::vector<Row> rows;
    rows.push_back(std::move(*row));
    showPage(std::move(rows), 0);
    return true;
}

QVariantList TableCursor::pkOf(const QVariantList& values) const
{
    QVariantList key;
    for (const QString& k : def_.primaryKey())
        key << values[fieldIndexOrThrow(k)];
    return key;
}

QVariantList TableCursor::keyValues() const
{
    if (state_ == State::Edit || state_ == State::Insert)
        return pkOf(editValues_);
    const Row* row = current();
    return row ? pkOf(row->values) : QVariantList{};
}

void TableCursor::insert()
{
    requireActive();
    checkBrowse();
    editValues_ = QVariantList(def_.fields().size());
    editRowId_ = 0;
    state_ = State::Insert;
}

void TableCursor::edit()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    const Row* row = current();
    if (!row)
        throw DbError(u"Nao ha registro atual na tabela %1"_s.arg(def_.name()), DbErrorKind::NoCurrentRecord);
    RecordLock lock = store_->locks().tryLock(def_.name(), pkOf(row->values));
    if (!lock.held())
        throw DbError(u"Registro bloqueado por outro usuário"_s, DbErrorKind::RecordLocked);
    // Edit what is on disk now, not what this cursor read earlier.
    auto fresh = fetchRowId(row->rowid, false);
    if (!fresh)
        throw DbError(u"Registro excluído por outro usuário"_s, DbErrorKind::RecordGone);
    buffer_[size_t(pos_)] = *fresh;
    editValues_ = fresh->values;
    editRowId_ = fresh->rowid;
    lock_ = std::move(lock);
    state_ = State::Edit;
}

void TableCursor::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    for (int i = 0; i < def_.fields().size(); ++i)
        if (def_.fields()[i].required && editValues_[i].isNull())
            throw DbError(u"O campo %1 deve ser preenchido"_s.arg(def_.fields()[i].name), DbErrorKind::Refused)
                .setField(def_.fields()[i].name);
    Database& db = store_->db();
    qint64 rowid = editRowId_;
    if (state_ == State::Insert) {
        QStringList cols, marks;
        QVariantList params;
        for (int i = 0; i < def_.fields().size(); ++i) {
            const FieldDef& f = def_.fields()[i];
            if (editValues_[i].isNull())
                continue;
            cols << quoted(f.name);
            marks << u"?"_s;
            params << toStorage(f, editValues_[i]);
        }
        QString sql = u"INSERT INTO "_s + quoted(def_.name());
        if (cols.isEmpty())
            sql += u" DEFAULT VALUES"_s;
        else
            sql += u" ("_s + cols.join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
        Statement& st = db.cached(sql);
        st.bindList(params).run();
        rowid = db.lastInsertRowId();
    } else {
        const Row* row = current();
        QStringList sets;
        QVariantList params;
        for (int i = 0; i < def_.fields().size(); ++i) {
            const FieldDef& f = def_.fields()[i];
            const QVariant now = toStorage(f, editValues_[i]);
            const QVariant before = row ? toStorage(f, row->values[i]) : QVariant();
            if (now.isNull() == before.isNull() && now == before)
                continue;
            sets << quoted(f.name) + u" = ?"_s;
            params << now;
        }
        if (!sets.isEmpty()) {
            params << rowid;
            Statement& st = db.cached(u"UPDATE "_s + quoted(def_.name()) + u" SET "_s + sets.join(u", "_s) +
                                      u" WHERE rowid = ?"_s);
            if (st.bindList(params).run() == 0)
                throw DbError(u"Registro excluído por outro usuário"_s, DbErrorKind::RecordGone);
        }
    }
    lock_.release();
    state_ = State::Browse;
    editValues_.clear();
    std::vector<Row> rows;
    if (auto row = fetchRowId(rowid, false))
        rows.push_back(std::move(*row));
    showPage(std::move(rows), 0);
    emit afterPost();
}

void TableCursor::cancel()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    lock_.release();
    editValues_.clear();
    state_ = State::Browse;
    emit scrolled();
}

void TableCursor::remove()
{
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    const Row* row = current();
    if (!row)
        throw DbError(u"Nao ha registro atual na tabela %1"_s.arg(def_.name()), DbErrorKind::NoCurrentRecord);
    const Row gone = *row;
    RecordLock lock = state_ == State::Edit ? std::move(lock_)
                                            : store_->locks().tryLock(def_.name(), pkOf(gone.values));
    if (!lock.held())
        throw DbError(u"Registro bloqueado por outro usuário"_s, DbErrorKind::RecordLocked);
    Statement& st = store_->db().cached(u"DELETE FROM "_s + quoted(def_.name()) + u" WHERE rowid = ?"_s);
    const bool deleted = st.bindInt(1, gone.rowid).run() > 0;
    lock.release();
    state_ = State::Browse;
    editValues_.clear();
    showNeighbourOf(gone);
    // Someone else deleted it first: the cursor has moved on all the same,
    // but the caller must know its own delete did nothing.
    if (!deleted)
        throw DbError(u"Registro excluído por outro usuário"_s, DbErrorKind::RecordGone);
}

// After a delete: the record that followed the gone one, else the one before it.
void TableCursor::showNeighbourOf(const Row& gone)
{
    const QVariantList key = orderValues(gone);
    auto rows = fetchFrom(key, true, false, kPage);
    if (!rows.empty()) {
        showPage(std::move(rows), 0);
        return;
    }
    rows = fetchFrom(key, false, false, kPage);
    showPageEndingAt(std::move(rows));
    eof_ = true;
}

void TableCursor::refresh()
{
    requireActive();
    if (state_ != State::Browse)
        return;
    const Row* row = current();
    if (!row) {
        first();
        return;
    }
    auto rows = fetchFrom(orderValues(*row), true, true, kPage);
    if (rows.empty())
        last();
    else
        showPage(std::move(rows), 0);
}

QVariant TableCursor::value(const QString& field) const
{
    const int i = fieldIndexOrThrow(field);
    if (state_ == State::Edit || state_ == State::Insert)
        return editValues_[i];
    const Row* row = current();
    return row ? row->values[i] : QVariant();
}

void TableCursor::setValue(const QString& field, const QVariant& v)
{
    requireEditing();
    const int i = fieldIndexOrThrow(field);
    editValues_[i] = coerceForField(def_.fields()[i], v);
}

QString TableCursor::asString(const QString& field) const
{
    const QVariant v = value(field);
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(u"dd/MM/yyyy"_s);
    case QMetaType::QTime: return v.toTime().toString(u"HH:mm:ss"_s);
    case QMetaType::QDateTime: return v.toDateTime().toString(u"dd/MM/yyyy HH:mm:ss"_s);
    case QMetaType::Double: return QString::number(v.toDouble(), 'g', 15).replace(u'.', u',');
    case QMetaType::Bool: return v.toBool() ? u"True"_s : u"False"_s;
    default: return v.toString();
    }
}

qint64 TableCursor::asInteger(const QString& field) const { return value(field).toLongLong(); }
double TableCursor::asFloat(const QString& field) const { return value(field).toDouble(); }
QDate TableCursor::asDate(const QString& field) const { return value(field).toDate(); }
bool TableCursor::asBoolean(const QString& field) const { return value(field).toBool(); }

QVariantList TableCursor::values(const QStringList& fields) const
{
    QVariantList out;
    for (const QString& f : fields)
        out << value(f);
    return out;
}

}  // namespace pcp
