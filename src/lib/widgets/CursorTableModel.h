#pragma once
// A read-only grid model over a table cursor or over a query, read lazily in
// chunks as the view scrolls, with the forms' columns, titles, widths and
// display formats.
#include "Store.h"
#include "TableCursor.h"

#include <QAbstractTableModel>
#include <memory>

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
    void setChunkSize(int rows) { chunk_ = qMax(1, rows); }

    // Rows are the records the cursor walks, in its index order, within its
    // filter, range and master link. The model walks the cursor to read a
    // chunk and puts it back on the record it was on; it reads nothing while
    // the cursor is in insert or edit mode.
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

    // Drops the rows read so far and reads the first chunk again.
    void refresh();
    // No rows until the next refresh (the source's tables are closed).
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

    // The value of a column or link field of a row read so far.
    QVariant value(int row, const QString& field) const;
    // Positions `target` on the record of a row: by bookmark when it is the
    // model's own cursor, otherwise by locating the link fields (default: the
    // target's primary key). False when the record is gone.
    bool moveTo(int row, TableCursor& target) const;
    // The row that shows the current record of `cursor`, reading further
    // chunks until it is found; -1 when it is not in the grid.
    int rowOf(const TableCursor& cursor);

private:
    struct Row {
        QVariantList values;  // the columns, then the link fields
        TableCursor::Bookmark mark;
    };
    QStringList rowFields() const;
    const FieldDef* fieldOf(const QString& name) const;
    void readChunk(std::vector<Row>& out);
    void readCursorChunk(std::vector<Row>& out);
    void readQueryChunk(std::vector<Row>& out);
    QStringList keyFieldsFor(const TableCursor& target) const;

    QList<GridColumn> columns_;
    QStringList linkFields_;
    int chunk_ = 256;

    TableCursor* cursor_ = nullptr;
    std::shared_ptr<Store> store_;
    QString sql_;
    QVariantList params_;
    TableDef layout_;

    std::vector<Row> rows_;
    bool atEnd_ = true;
    bool notifying_ = false;  // inside a reset or an insert of rows
};

// Sets a view up as the forms' read-only grids: whole rows selected one at a
// time, no editing, the columns' widths and titles.
void setUpGrid(QTableView& view, CursorTableModel& model);

}  // namespace pcp
