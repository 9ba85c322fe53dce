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
#include <QStringList>
#include <QVariant>
#include <memory>

namespace pcp {

namespace driver {
class Connection;
class StatementImpl;
}  // namespace driver

class Statement;
struct ServidorConf;

class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };

    enum class Engine { Sqlite, Postgres };

    // Opens (creating when missing) the file with WAL, synchronous=FULL and a busy timeout.
    explicit Database(const QString& path, Mode mode = Mode::ReadWrite);
    // Connects to the server and schema a servidor.conf names (the schema is
    // created when missing); `path` is what path() reports (the conf file).
    Database(const ServidorConf& conf, const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    Engine engine() const { return engine_; }
    bool onServer() const { return engine_ == Engine::Postgres; }

    // Runs one or more statements without parameters or results.
    void exec(const QString& sql);
    Statement prepare(const QString& sql);
    // A statement cached by its text; reset before it is handed out again.
    Statement& cached(const QString& sql);

    qint64 lastInsertRowId() const;
    int changes() const;
    bool inTransaction() const;
    // Opens a write transaction (on SQLite it takes the write lock at once).
    void beginWrite();
    // Waits for the writes queued with Statement::queue() and reports the
    // first one that failed.
    void flush();
    bool tableExists(const QString& table);
    // Every table of the store, as the engine spells them.
    QStringList tableNames();
    // Every index of the store, as the engine spells them.
    QStringList indexNames();
    // Copies the write-ahead log into the main file and empties it (a store
    // handed over as one file).
    void checkpoint();
    // The engine's own check of the whole file: "ok", or what it found wrong.
    QString integrityCheck();

    // The expression that compares and orders a text column ignoring the
    // case of ASCII letters, as a case-insensitive index does.
    QString ignoringCase(const QString& column) const;

    driver::Connection& connection() { return *conn_; }

private:
    struct Cache;
    QString path_;
    Engine engine_ = Engine::Sqlite;
    std::unique_ptr<driver::Connection> conn_;
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
    qint64 cache_ = 0;
    qint64 mmap_ = 0;
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
    // Runs a write without waiting for it: on the server, queued writes
    // travel together instead of one round trip each. A failure surfaces at
    // the latest at Database::flush() or the end of the transaction, which
    // then applies none of it. On SQLite it is run().
    void queue();
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
    std::unique_ptr<driver::StatementImpl> impl_;
};

}  // namespace pcp
