#include "CursorTableModel.h"

#include "FieldEdit.h"
#include "Messages.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSignalBlocker>
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
}  // namespace

CursorTableModel::CursorTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CursorTableModel::setColumns(QList<GridColumn> columns)
{
    const QScopedValueRollback<bool> busy(notifying_, true);
    beginResetModel();
    columns_ = std::move(columns);
    rows_.clear();
    atEnd_ = false;
    endResetModel();
}

void CursorTableModel::setLinkFields(const QStringList& fields) { linkFields_ = fields; }

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

void CursorTableModel::readChunk(std::vector<Row>& out)
{
    if (cursor_)
        readCursorChunk(out);
    else if (store_)
        readQueryChunk(out);
    else
        atEnd_ = true;
}

void CursorTableModel::readCursorChunk(std::vector<Row>& out)
{
    TableCursor& c = *cursor_;
    if (!c.active()) {
        atEnd_ = true;
        return;
    }
    if (c.state() != TableCursor::State::Browse)
        return;  // walking would post the record being changed
    const QStringList fields = rowFields();
    const TableCursor::Bookmark here = c.bookmark();
    const QSignalBlocker quiet(&c);  // the screen does not see the walk
    bool more = false;
    if (rows_.empty()) {
        c.first();
        more = !c.eof();
    } else if (c.gotoBookmark(rows_.back().mark)) {
        c.next();
        more = !c.eof();
    }  // else the last row read is gone: the grid needs a refresh, read no further
    while (more && int(out.size()) < chunk_) {
        Row row;
        row.mark = c.bookmark();
        row.values.reserve(fields.size());
        for (const QString& f : fields)
            row.values << c.value(f);
        out.push_back(std::move(row));
        c.next();
        more = !c.eof();
    }
    atEnd_ = !more;
    if (!here.valid() || !c.gotoBookmark(here))
        c.first();
}

void CursorTableModel::readQueryChunk(std::vector<Row>& out)
{
    static const QRegularExpression limit(u"\\blimit\\b"_s, QRegularExpression::CaseInsensitiveOption);
    const bool paged = !sql_.contains(limit);
    QString sql = sql_;
    QVariantList params = params_;
    if (paged) {
        sql += u" LIMIT ? OFFSET ?"_s;
        params << chunk_ << qint64(rows_.size());
    }
    Statement st = store_->db().prepare(sql);
    st.bindList(params);
    const QStringList fields = rowFields();
    QList<int> columnOf;
    QList<const FieldDef*> defs;
    bool first = true;
    while (st.next()) {
        if (first) {
            QStringList names;
            for (int i = 0; i < st.columnCount(); ++i)
                names << st.columnName(i);
            for (const QString& f : fields) {
                const int i = indexOf(names, f);
                if (i < 0) {
                    st.reset();
                    throw DbError(u"Campo %1 nao encontrado na consulta"_s.arg(f));
                }
                columnOf << i;
                defs << layout_.findField(f);
            }
            first = false;
        }
        Row row;
        for (int k = 0; k < fields.size(); ++k) {
            const QVariant stored = st.value(columnOf[k]);
            row.values << (defs[k] ? fromStorage(*defs[k], stored) : stored);
        }
        out.push_back(std::move(row));
    }
    atEnd_ = !paged || int(out.size()) < chunk_;
}

void CursorTableModel::refresh()
{
    const QScopedValueRollback<bool> busy(notifying_, true);
    beginResetModel();
    rows_.clear();
    atEnd_ = false;
    std::vector<Row> first;
    try {
        readChunk(first);
    } catch (...) {
        atEnd_ = true;
        endResetModel();
        throw;
    }
    rows_ = std::move(first);
    endResetModel();
}

void CursorTableModel::clear()
{
    const QScopedValueRollback<bool> busy(notifying_, true);
    beginResetModel();
    rows_.clear();
    atEnd_ = true;
    endResetModel();
}

int CursorTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int CursorTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant CursorTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= int(columns_.size()))
        return {};
    const GridColumn& column = columns_[index.column()];
    const QVariant& v = rows_[size_t(index.row())].values[index.column()];
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

bool CursorTableModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid() || atEnd_)
        return false;
    if (cursor_)
        return cursor_->state() == TableCursor::State::Browse;
    return store_ != nullptr;
}

void CursorTableModel::fetchMore(const QModelIndex& parent)
{
    // A listener of our own reset or insert asking for more would nest a
    // change inside the one being announced: later listeners would see rows
    // arrive before the change they are still to hear about.
    if (notifying_ || !canFetchMore(parent))
        return;
    const QScopedValueRollback<bool> busy(notifying_, true);
    std::vector<Row> more;
    try {
        readChunk(more);
    } catch (const DbError& e) {
        atEnd_ = true;
        mostraErro(e.message());
    }
    if (more.empty())
        return;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + more.size()) - 1);
    for (Row& r : more)
        rows_.push_back(std::move(r));
    endInsertRows();
}

QVariant CursorTableModel::value(int row, const QString& field) const
{
    const int k = indexOf(rowFields(), field);
    if (row < 0 || row >= int(rows_.size()) || k < 0)
        return {};
    return rows_[size_t(row)].values[k];
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
    if (row < 0 || row >= int(rows_.size()))
        return false;
    if (&target == cursor_)
        return target.gotoBookmark(rows_[size_t(row)].mark);
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
    const bool own = &cursor == cursor_;
    const TableCursor::Bookmark mark = cursor.bookmark();
    const QStringList keys = own ? QStringList() : keyFieldsFor(cursor);
    if ((own && !mark.valid()) || (!own && (keys.isEmpty() || cursor.isEmpty())))
        return -1;
    QList<const FieldDef*> defs;
    QVariantList wanted;
    for (const QString& k : keys) {
        defs << cursor.def().findField(k);
        if (!defs.back())
            return -1;
        wanted << toStorage(*defs.back(), cursor.value(k));
    }
    auto matches = [&](int row) {
        if (own)
            return rows_[size_t(row)].mark.rowid == mark.rowid;
        for (int i = 0; i < keys.size(); ++i)
            if (toStorage(*defs[i], value(row, keys[i])) != wanted[i])
                return false;
        return true;
    };
    for (int row = 0;; ++row) {
        if (row == int(rows_.size())) {
            if (!canFetchMore())
                return -1;
            fetchMore();
            if (row == int(rows_.size()))
                return -1;
        }
        if (matches(row))
            return row;
    }
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
