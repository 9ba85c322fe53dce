#include "CursorTableModel.h"

#include "FieldEdit.h"
#include "Messages.h"

#include <QHeaderView>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
FieldType typeOfStored(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int: return FieldType::Integer;
    case QMetaType::Double: return FieldType::Float;
    default: return FieldType::String;
    }
}

int indexOf(const QStringList& names, const QString& name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

constexpr size_t kMaxChunks = 64;
}  // namespace

CursorTableModel::CursorTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CursorTableModel::reset(const std::function<void()>& change)
{
    beginResetModel();
    ++generation_;
    chunks_.clear();
    try {
        change();
    } catch (...) {
        total_ = 0;
        chunks_.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

void CursorTableModel::setColumns(QList<GridColumn> columns)
{
    reset([&] { columns_ = std::move(columns); });
}

void CursorTableModel::setChunkSize(int rows)
{
    reset([&] { chunk_ = qMax(1, rows); });
}

void CursorTableModel::setLinkFields(const QStringList& fields)
{
    reset([&] { linkFields_ = fields; });
}

void CursorTableModel::setCursor(TableCursor* cursor)
{
    cursor_ = cursor;
    store_.reset();
    sql_.clear();
    params_.clear();
    layout_ = {};
    refresh();
}

void CursorTableModel::setQuery(std::shared_ptr<Store> store, const QString& sql, const QVariantList& params,
                                const TableDef& layout)
{
    cursor_ = nullptr;
    store_ = std::move(store);
    sql_ = sql.trimmed();
    while (sql_.endsWith(u';'))
        sql_.chop(1);
    params_ = params;
    layout_ = layout;
    refresh();
}

QStringList CursorTableModel::rowFields() const
{
    QStringList fields;
    for (const GridColumn& c : columns_)
        fields << c.field;
    return fields + linkFields_;
}

const FieldDef* CursorTableModel::fieldOf(const QString& name) const
{
    return cursor_ ? cursor_->def().findField(name) : layout_.findField(name);
}

qint64 CursorTableModel::countRows() const
{
    if (cursor_)
        return cursor_->active() ? cursor_->recordCount() : 0;
    if (!store_)
        return 0;
    Statement st = store_->db().prepare(u"SELECT count(*) FROM ("_s + sql_ + u") AS consulta"_s);
    st.bindList(params_);
    return st.scalar().toLongLong();
}

void CursorTableModel::refresh()
{
    reset([&] {
        total_ = 0;
        const qint64 total = countRows();
        total_ = total;
        if (total_ > 0)
            chunks_[0].rows = readChunk(0);  // a column the source lacks fails here, not in paint
    });
}

void CursorTableModel::clear()
{
    reset([&] { total_ = 0; });
}

std::vector<CursorTableModel::Row> CursorTableModel::readChunk(qint64 chunk) const
{
    const qint64 offset = chunk * chunk_;
    const int count = int(std::min<qint64>(chunk_, total_ - offset));
    if (count <= 0)
        return {};
    return cursor_ ? readCursorChunk(chunk, count) : readQueryChunk(offset, count);
}

// A neighbour chunk already read gives the key to continue from; only a jump
// into the unknown counts rows from the nearer end.
std::vector<CursorTableModel::Row> CursorTableModel::readCursorChunk(qint64 chunk, int count) const
{
    const TableCursor& c = *cursor_;
    if (!c.active())
        return {};
    std::vector<TableCursor::Record> records;
    const auto before = chunks_.find(chunk - 1);
    const auto after = chunks_.find(chunk + 1);
    if (before != chunks_.end() && int(before->second.rows.size()) == chunk_)
        records = c.recordsAfter(before->second.rows.back().record, count);
    else if (after != chunks_.end() && !after->second.rows.empty())
        records = c.recordsBefore(after->second.rows.front().record, count);
    else
        records = c.recordsAt(chunk * chunk_, count, total_);
    return rowsOf(std::move(records));
}

std::vector<CursorTableModel::Row> CursorTableModel::rowsOf(std::vector<TableCursor::Record> records) const
{
    QList<int> indexes;
    for (const QString& f : rowFields()) {
        const int i = cursor_->def().fieldIndex(f);
        if (i < 0)
            throw DbError(u"Campo %1 nao encontrado na tabela %2"_s.arg(f, cursor_->tableName()),
                          DbErrorKind::Refused);
        indexes << i;
    }
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (TableCursor::Record& r : records) {
        Row row;
        row.values.reserve(indexes.size());
        for (int i : indexes)
            row.values << r.values[i];
        row.record = std::move(r);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<CursorTableModel::Row> CursorTableModel::readQueryChunk(qint64 offset, int count) const
{
    Statement st = store_->db().prepare(u"SELECT * FROM ("_s + sql_ + u") AS consulta LIMIT ? OFFSET ?"_s);
    st.bindList(params_ + QVariantList{count, offset});
    const QStringList fields = rowFields();
    QList<int> columnOf;
    QList<const FieldDef*> defs;
    std::vector<Row> rows;
    while (st.next()) {
        if (rows.empty()) {
            // the server names a query's columns only once it has run
            QStringList names;
            for (int i = 0; i < st.columnCount(); ++i)
                names << st.columnName(i);
            for (const QString& f : fields) {
                const int i = indexOf(names, f);
                if (i < 0)
                    throw DbError(u"Campo %1 nao encontrado na consulta"_s.arg(f), DbErrorKind::Refused);
                columnOf << i;
                defs << layout_.findField(f);
            }
        }
        Row row;
        for (int k = 0; k < fields.size(); ++k) {
            const QVariant stored = st.value(columnOf[k]);
            row.values << (defs[k] ? fromStorage(*defs[k], stored) : stored);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Reads the chunk of a row when it is not held, dropping the least recently
// used one beyond the limit. A read that fails leaves the rows blank and is
// reported once the view has finished painting.
const CursorTableModel::Row* CursorTableModel::rowAt(int row) const
{
    if (row < 0 || row >= total_)
        return nullptr;
    const qint64 k = row / chunk_;
    auto it = chunks_.find(k);
    if (it == chunks_.end()) {
        const quint64 generation = generation_;
        std::vector<Row> rows;
        try {
            rows = readChunk(k);
        } catch (const DbError& e) {
            reportLater(e.message());
        }
        if (generation != generation_)
            return nullptr;  // the model was reset meanwhile: these rows belong to no one
        hold(k, std::move(rows));
        it = chunks_.find(k);
    }
    it->second.used = ++clock_;
    const size_t i = size_t(row - k * chunk_);
    return i < it->second.rows.size() ? &it->second.rows[i] : nullptr;
}

void CursorTableModel::hold(qint64 chunk, std::vector<Row> rows) const
{
    if (chunks_.size() >= kMaxChunks) {
        auto oldest = chunks_.begin();
        for (auto c = chunks_.begin(); c != chunks_.end(); ++c)
            if (c->second.used < oldest->second.used)
                oldest = c;
        chunks_.erase(oldest);
    }
    chunks_[chunk] = Chunk{std::move(rows), ++clock_};
}

void CursorTableModel::reportLater(const QString& error) const
{
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        const_cast<CursorTableModel*>(this),
        [this, generation, error] {
            if (generation == generation_)  // a refresh since then has read the rows again
                mostraErro(error);
        },
        Qt::QueuedConnection);
}

int CursorTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(total_);
}

int CursorTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant CursorTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= int(columns_.size()))
        return {};
    const Row* row = rowAt(index.row());
    if (!row)
        return {};
    const GridColumn& column = columns_[index.column()];
    const QVariant& v = row->values[index.column()];
    const FieldDef* def = fieldOf(column.field);
    const FieldType type = def ? def->type : typeOfStored(v);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(v, type, column.format.isEmpty() && def ? def->displayFormat : column.format);
    case Qt::TextAlignmentRole:
        return isNumeric(type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case ValueRole: return v;
    default: return {};
    }
}

QVariant CursorTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns_.size()) {
        const GridColumn& c = columns_[section];
        return c.title.isEmpty() ? c.field : c.title;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant CursorTableModel::value(int row, const QString& field) const
{
    const int k = indexOf(rowFields(), field);
    const Row* r = k < 0 ? nullptr : rowAt(row);
    return r ? r->values[k] : QVariant();
}

QStringList CursorTableModel::keyFieldsFor(const TableCursor& target) const
{
    const QStringList keys = linkFields_.isEmpty() ? target.def().primaryKey() : linkFields_;
    const QStringList fields = rowFields();
    for (const QString& k : keys)
        if (indexOf(fields, k) < 0)
            return {};
    return keys;
}

bool CursorTableModel::moveTo(int row, TableCursor& target) const
{
    const Row* r = rowAt(row);
    if (!r)
        return false;
    if (&target == cursor_)
        return target.gotoBookmark(r->record.mark);
    const QStringList keys = keyFieldsFor(target);
    if (keys.isEmpty())
        return false;
    QVariantList values;
    for (const QString& k : keys)
        values << value(row, k);
    return target.locate(keys, values);
}

int CursorTableModel::rowOf(const TableCursor& cursor)
{
    if (cursor.isEmpty())
        return -1;
    if (cursor_) {
        if (!cursor_->active())
            return -1;
        if (&cursor == cursor_)
            return ownRowOf(cursor.bookmark());
        const QStringList keys = linkFields_.isEmpty() ? cursor.def().primaryKey() : linkFields_;
        for (const QString& k : keys)
            if (!cursor.def().findField(k) || !cursor_->def().findField(k))
                return -1;
        const auto found = cursor_->lookup(keys, cursor.values(keys));
        return found ? ownRowOf(found->mark) : -1;
    }
    const QStringList keys = keyFieldsFor(cursor);
    if (keys.isEmpty())
        return -1;
    QList<const FieldDef*> defs;
    QVariantList wanted;
    for (const QString& k : keys) {
        defs << cursor.def().findField(k);
        if (!defs.back())
            return -1;
        wanted << toStorage(*defs.back(), cursor.value(k));
    }
    for (int row = 0; row < total_; ++row) {
        bool same = true;
        for (int i = 0; i < keys.size() && same; ++i)
            same = toStorage(*defs[i], value(row, keys[i])) == wanted[i];
        if (same)
            return row;
    }
    return -1;
}

// The row is the number of records before the record in the index order;
// its chunk, when not held, is read around the record by key.
int CursorTableModel::ownRowOf(TableCursor::Bookmark mark)
{
    const qint64 row = cursor_->positionOf(mark);
    if (row < 0 || row >= total_)
        return -1;  // not shown, or not counted yet: the grid needs a refresh
    const qint64 k = row / chunk_;
    if (chunks_.find(k) == chunks_.end()) {
        const auto record = cursor_->record(mark);
        if (!record)
            return -1;
        const int here = int(row - k * chunk_);
        const int count = int(std::min<qint64>(chunk_, total_ - k * chunk_));
        std::vector<TableCursor::Record> records = cursor_->recordsBefore(*record, here);
        records.push_back(*record);
        for (TableCursor::Record& r : cursor_->recordsAfter(*record, count - here - 1))
            records.push_back(std::move(r));
        hold(k, rowsOf(std::move(records)));
    }
    const Row* r = rowAt(int(row));
    return r && r->record.mark == mark ? int(row) : -1;
}

void setUpGrid(QTableView& view, CursorTableModel& model)
{
    if (view.model() != &model)
        view.setModel(&model);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setTabKeyNavigation(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.horizontalHeader()->setHighlightSections(false);
    for (int i = 0; i < model.columns().size(); ++i)
        if (model.columns()[i].width > 0)
            view.setColumnWidth(i, model.columns()[i].width);
}

}  // namespace pcp
