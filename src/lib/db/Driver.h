#pragma once
// What an engine's driver gives the table layer: a connection that runs
// statements and a prepared statement with bound parameters and streamed
// rows. The SQLite and the PostgreSQL drivers implement it; Database and
// Statement are the one face the rest of the program sees.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace pcp::driver {

class StatementImpl {
public:
    virtual ~StatementImpl() = default;
    virtual void bindNull(int index) = 0;
    virtual void bindInt(int index, qint64 value) = 0;
    virtual void bindDouble(int index, double value) = 0;
    virtual void bindText(int index, const QByteArray& utf8) = 0;
    virtual void bindBlob(int index, const QByteArray& bytes) = 0;

    virtual bool next() = 0;
    virtual int run() = 0;
    // Runs a write whose result the caller does not wait for; a failure
    // surfaces at the latest when the transaction ends.
    virtual void queue() { run(); }
    virtual void reset() = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual qint64 intValue(int column) const = 0;
    virtual double doubleValue(int column) const = 0;
    virtual QByteArrayView utf8View(int column) const = 0;
    virtual QByteArray blobValue(int column) const = 0;
    virtual QVariant value(int column) const = 0;
};

class Connection {
public:
    virtual ~Connection() = default;
    virtual void exec(const QString& sql) = 0;
    virtual std::unique_ptr<StatementImpl> prepare(const QString& sql) = 0;
    virtual qint64 lastInsertRowId() const = 0;
    virtual int changes() const = 0;
    virtual bool inTransaction() const = 0;
    virtual void beginWrite() = 0;
    virtual bool tableExists(const QString& table) = 0;
    virtual QStringList tableNames() = 0;
    virtual QStringList indexNames() = 0;
    virtual void checkpoint() = 0;
    virtual QString integrityCheck() = 0;
    // Waits for the writes queued so far and reports the first that failed.
    virtual void flush() {}
};

}  // namespace pcp::driver
