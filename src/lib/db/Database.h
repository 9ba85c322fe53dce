#pragma once
// Our small driver over the SQLite C API: a connection, prepared statements
// with bound parameters, rows streamed one at a time.
//
// SQL written outside the table layer stays in the part both engines share:
// plain "?" parameters (bind a value twice where it is used twice),
// "IS NOT DISTINCT FROM ?" for an equality that matches blanks, and
// "_rowid_" for a row's identity within its table (SQLite's own name for it;
// the server driver gives every table such a column). What each engine does
// differently (PRAGMAs, checkpoints, cache sizes) is a method here.
#include "DbError.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace pcp {

class Statement;

class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };

    // Opens (creating when missing) the file with WAL, synchronous=FULL and a busy timeout.
    explicit Database(const QString& path, Mode mode = Mode::ReadWrite);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Runs one or more statements without parameters or results.
    void exec(const QString& sql);
    Statement prepare(const QString& sql);
    // A statement cached by its text; reset before it is handed out again.
    Statement& cached(const QString& sql);

    qint64 lastInsertRowId() const;
    int changes() const;
    bool inTransaction() const;
    bool tableExists(const QString& table, const QString& schema = QStringLiteral("main"));
    // Copies the write-ahead log into the main file and empties it (a store
    // handed over as one file).
    void checkpoint();
    // The engine's own check of the whole file: "ok", or what it found wrong.
    QString integrityCheck();

    [[noreturn]] void fail(int rc, const QString& context = {}) const;

private:
    struct Cache;
    QString path_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<Cache> cache_;
};

// A page cache large enough for a long run's working set, and a memory-mapped
// file, while the guard lives; the connection's own sizes come back at its end.
class LongRunCache {
public:
    explicit LongRunCache(Database& db);
    ~LongRunCache();
    LongRunCache(const LongRunCache&) = delete;
    LongRunCache& operator=(const LongRunCache&) = delete;

private:
    Database& db_;
    qint64 cache_;
    qint64 mmap_;
};

class Statement {
public:
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1. A null or empty-string QVariant binds NULL
    // (a blank field is stored as NULL).
    Statement& bind(int index, const QVariant& value);
    Statement& bindInt(int index, qint64 value);
    Statement& bindDouble(int index, double value);
    Statement& bindText(int index, const QString& value);
    Statement& bindNull(int index);
    // Binds the values to the parameters 1, 2, ...
    Statement& bindList(const QVariantList& values);

    // Steps to the next row; false at the end (the statement is then reset).
    bool next();
    // Runs a statement that returns no rows; returns the number of changed rows.
    int run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    qint64 intValue(int column) const;
    double doubleValue(int column) const;
    QString textValue(int column) const;
    // The column's UTF-8 bytes in the engine's own buffer, valid until the
    // next step or reset: for comparing without making a QString.
    QByteArrayView utf8View(int column) const;
    QByteArray blobValue(int column) const;
    // The column as stored: qint64, double, QString, QByteArray or a null QVariant.
    QVariant value(int column) const;

    // Convenience: the first column of the first row, null when there is no row.
    QVariant scalar();

private:
    Database* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

}  // namespace pcp
