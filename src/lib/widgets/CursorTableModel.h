#pragma once
// A read-only grid model over a table cursor or over a query, with the forms'
// columns, titles, widths and display formats. It knows its full row count
// from the start and reads chunks of rows at random, around what the view
// shows, keeping a bounded cache: a grid over a million rows opens at its
// first page and jumps to its last row at once.
#include "Store.h"
#include "TableCursor.h"

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <unordered_map>

class QTableView;

namespace pcp {

struct GridColumn {
    QString field;   // field of the cursor's table, or column of the query
    QString title;   // header; empty: the field name
    int width = 0;   // pixels; 0 leaves the view's default
    QString format;  // display mask or format string; empty: the field's own display format
};

class CursorTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles beyond the display text.
    enum Role { ValueRole = Qt::UserRole + 1 };  // the value in memory form (QDate, double, ...)

    explicit CursorTableModel(QObject* parent = nullptr);

    void setColumns(QList<GridColumn> columns);
    const QList<GridColumn>& columns() const { return columns_; }
    // Rows read per chunk; the model keeps a bounded number of chunks.
    void setChunkSize(int rows);

    // Rows are the records the cursor shows, in its index order, within its
    // filter, range and master link. The model counts them on refresh and
    // reads the chunks the view asks for with its own queries: the cursor
    // never moves, and a record being changed is left alone.
    void setCursor(TableCursor* cursor);
    // Rows are those of a SELECT with bound parameters. `layout` gives the
    // types and display formats of its columns (dates stored as text are shown
    // as dates); columns it does not declare are shown as stored.
    void setQuery(std::shared_ptr<Store> store, const QString& sql, const QVariantList& params = {},
                  const TableDef& layout = {});
    // Fields kept for each row, besides the columns, to find its record in
    // another cursor (moveTo, rowOf); for a cursor source the default is none
    // (rows are found by bookmark).
    void setLinkFields(const QStringList& fields);
    const QStringList& linkFields() const { return linkFields_; }

    // Counts the rows again and drops every chunk read so far; reads the
    // first chunk at once, so a bad column is reported here.
    void refresh();
    // No rows until the next refresh (the source's tables are closed).
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Every row is counted from the start: there is never more to fetch.
    bool canFetchMore(const QModelIndex& = {}) const override { return false; }
    void fetchMore(const QModelIndex& = {}) override {}

    // The value of a column or link field of a row.
    QVariant value(int row, const QString& field) const;
    // Positions `target` on the record of a row: by bookmark when it is the
    // model's own cursor, otherwise by locating the link fields (default: the
    // target's primary key). False when the record is gone.
    bool moveTo(int row, TableCursor& target) const;
    // The row that shows the current record of `cursor`; -1 when it is not in
    // the grid. Over a cursor the row is counted by the index, whatever its
    // depth; over a query the chunks are read until it is found.
    int rowOf(const TableCursor& cursor);

    // How many chunks are held now (at most a fixed number, whatever the rows).
    int chunksHeld() const { return int(chunks_.size()); }

private:
    struct Row {
        QVariantList values;            // the columns, then the link fields
        TableCursor::Record record;     // a cursor source's whole record (its key for the next chunk)
    };
    struct Chunk {
        std::vector<Row> rows;
        quint64 used = 0;
    };
    QStringList rowFields() const;
    const FieldDef* fieldOf(const QString& name) const;
    void reset(const std::function<void()>& change);
    qint64 countRows() const;
    const Row* rowAt(int row) const;
    std::vector<Row> readChunk(qint64 chunk) const;
    std::vector<Row> readCursorChunk(qint64 chunk, int count) const;
    std::vector<Row> rowsOf(std::vector<TableCursor::Record> records) const;
    void hold(qint64 chunk, std::vector<Row> rows) const;
    int ownRowOf(TableCursor::Bookmark mark);
    std::vector<Row> readQueryChunk(qint64 offset, int count) const;
    QStringList keyFieldsFor(const TableCursor& target) const;
    void reportLater(const QString& error) const;

    QList<GridColumn> columns_;
    QStringList linkFields_;
    int chunk_ = 256;

    TableCursor* cursor_ = nullptr;
    std::shared_ptr<Store> store_;
    QString sql_;
    QVariantList params_;
    TableDef layout_;

    qint64 total_ = 0;
    // Read on demand from const data(): a cache, not the model's state.
    mutable std::unordered_map<qint64, Chunk> chunks_;
    mutable quint64 clock_ = 0;
    // Bumped by every reset: a read or an error report begun before it is stale.
    quint64 generation_ = 0;
};

// Sets a view up as the forms' read-only grids: whole rows selected one at a
// time, no editing, the columns' widths and titles.
void setUpGrid(QTableView& view, CursorTableModel& model);

}  // namespace pcp
