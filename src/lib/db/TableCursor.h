#pragma once
// A cursor over one table with the record vocabulary the screens use: keyed
// and nearest search on the active index, filter, range, locate, master link,
// walking, bookmarks, insert/edit/post/cancel/delete and refresh. It reads
// through keyset queries in small pages, so a table of a million rows opens
// at once, and holds no statement open between calls.
#include "RecordLocks.h"
#include "Store.h"
#include "TableDef.h"

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

namespace pcp {

class TableCursor : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    struct Bookmark {
        qint64 rowid = 0;
        bool valid() const { return rowid != 0; }
        bool operator==(const Bookmark&) const = default;
    };

    TableCursor(std::shared_ptr<Store> store, const QString& table, QObject* parent = nullptr);
    TableCursor(std::shared_ptr<Store> store, TableDef table, QObject* parent = nullptr);
    ~TableCursor() override;

    // Points a closed cursor at another store or table layout (scratch tables).
    void setStore(std::shared_ptr<Store> store);
    void setTable(TableDef table);
    Store& store() const { return *store_; }
    const std::shared_ptr<Store>& storePtr() const { return store_; }
    const TableDef& def() const { return def_; }
    const QString& tableName() const { return def_.name(); }

    void open();
    void close();
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    // Index: "" is the primary index; a name is one of the declared secondary
    // indexes; setIndexFields orders by any list of fields.
    void setIndexName(const QString& name);
    const QString& indexName() const { return indexName_; }
    void setIndexFields(const QStringList& fields);
    QStringList indexFields() const;

    bool findKey(const QVariantList& values);
    bool findNearest(const QVariantList& values);

    void setFilter(const QString& text);
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Only records whose leading index fields lie between start and end.
    void setRange(const QVariantList& start, const QVariantList& end);
    void cancelRange();

    bool locate(const QStringList& fields, const QVariantList& values, bool caseInsensitive = false);

    // Shows only the records whose detail fields equal the master's current ones.
    void setMasterLink(TableCursor* master, const QStringList& detailFields,
                       const QStringList& masterFields = {});
    void clearMasterLink();

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return buffer_.empty(); }
    int recordCount() const;
    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark& mark);

    // Reading for a grid, without moving the cursor or touching a record being
    // changed: the records the cursor shows (its index order, filter, range
    // and master link), each with its bookmark and every field in memory form.
    struct Record {
        Bookmark mark;
        QVariantList values;  // one per field of def()
    };
    // `count` records from the one at `offset` (0 is the first), reached from
    // the nearer end of the table. `total` is the record count when the caller
    // knows it already (a grid does); otherwise it is counted.
    std::vector<Record> recordsAt(qint64 offset, int count, qint64 total = -1) const;
    // Up to `count` records right after (or before) a record read earlier,
    // found by its key in the index order: no offset to skip.
    std::vector<Record> recordsAfter(const Record& from, int count) const;
    std::vector<Record> recordsBefore(const Record& from, int count) const;
    // How many records come before this one in the cursor's order (its row in
    // a grid); -1 when the cursor does not show it. One counting query per key
    // field, each over an index range.
    qint64 positionOf(const Bookmark& mark) const;
    // The record of a bookmark when the cursor shows it.
    std::optional<Record> record(const Bookmark& mark) const;
    // The first record, in the cursor's order, whose fields equal the values
    // (blank matches blank); the cursor stays where it is.
    std::optional<Record> lookup(const QStringList& fields, const QVariantList& values) const;

    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void remove();
    void refresh();

    QVariant value(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    bool isNull(const QString& field) const { return value(field).isNull(); }
    QString asString(const QString& field) const;
    qint64 asInteger(const QString& field) const;
    double asFloat(const QString& field) const;
    QDate asDate(const QString& field) const;
    bool asBoolean(const QString& field) const;
    QVariantList values(const QStringList& fields) const;
    // Values of the primary key of the current record.
    QVariantList keyValues() const;

signals:
    void scrolled();    // the current record changed
    void afterPost();

private:
    struct Row {
        qint64 rowid = 0;
        QVariantList values;  // in memory form, one per field
    };
    struct OrderColumn {
        QString sql;     // quoted column, with COLLATE when the index ignores case
        int field = -1;  // -1 for rowid
    };
    struct Where {
        QStringList sql;
        QVariantList params;
        void add(const QString& s, const QVariantList& p = {});
        QString text() const;
    };

    void requireActive() const;
    void requireEditing() const;
    void checkBrowse();
    const Row* current() const;
    int fieldIndexOrThrow(const QString& field) const;
    QString selectList() const;
    Row readRow(class Statement& st) const;
    Where baseWhere() const;
    std::vector<OrderColumn> orderColumns() const;
    QVariantList orderValues(const Row& row) const;
    QVariant storageKey(int orderIndex, const QVariant& value) const;
    std::vector<Row> query(const Where& where, bool forward, int limit, qint64 skip = 0) const;
    std::vector<Row> fetchFrom(const QVariantList& key, bool forward, bool inclusive, int limit) const;
    std::optional<Row> fetchRowId(qint64 rowid, bool applyBase) const;
    qint64 count(const Where& where) const;
    static Record toRecord(Row row);
    static std::vector<Record> toRecords(std::vector<Row> rows);
    Row rowOf(const Record& record) const;
    Where matching(const QStringList& fields, const QVariantList& values, bool caseInsensitive) const;
    void step(bool forward);
    void showPage(std::vector<Row> rows, int pos);
    // Rows fetched walking backwards from a point: shown in order, on the last one.
    void showPageEndingAt(std::vector<Row> backwards);
    void showNeighbourOf(const Row& gone);
    void setEmpty();
    void masterScrolled();
    QVariantList pkOf(const QVariantList& values) const;

    std::shared_ptr<Store> store_;
    TableDef def_;
    State state_ = State::Inactive;

    QString indexName_;
    QStringList indexFields_;
    bool indexCaseInsensitive_ = false;

    QString filterText_;
    bool filtered_ = false;
    QString filterSql_;
    QVariantList filterParams_;

    bool hasRange_ = false;
    QVariantList rangeStart_, rangeEnd_;

    TableCursor* master_ = nullptr;
    QStringList detailFields_, masterFields_;
    QMetaObject::Connection masterConnection_;

    std::vector<Row> buffer_;
    int pos_ = -1;
    bool eof_ = true;
    bool bof_ = true;

    QVariantList editValues_;
    qint64 editRowId_ = 0;
    RecordLock lock_;
};

}  // namespace pcp
