#pragma once
// Record locks visible to every workstation and released when the holder
// dies. On SQLite: open-file-description byte-range locks on a lock file
// beside the store, one byte per record at an offset hashed from table and
// key. On the server: session advisory locks on a connection of this
// process, keyed by the same hash (with the schema mixed in). Each process
// has one lock table per store, and counts its locks so it may take the same
// record again (re-entrant).
#include <QHash>
#include <QString>
#include <QVariantList>
#include <memory>

namespace pcp {

class RecordLockTable;
struct ServidorConf;

class RecordLock {
public:
    RecordLock() = default;
    ~RecordLock();
    RecordLock(RecordLock&& other) noexcept;
    RecordLock& operator=(RecordLock&& other) noexcept;
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    bool held() const { return table_ != nullptr; }
    void release();

private:
    friend class RecordLockTable;
    RecordLock(std::shared_ptr<RecordLockTable> table, qint64 key) : table_(std::move(table)), key_(key) {}
    std::shared_ptr<RecordLockTable> table_;
    qint64 key_ = 0;
};

class RecordLockTable : public std::enable_shared_from_this<RecordLockTable> {
public:
    virtual ~RecordLockTable() = default;

    // An empty lock when another workstation holds the record.
    RecordLock tryLock(const QString& table, const QVariantList& key);
    // Whether another workstation holds the record (this process's own
    // locks do not count).
    bool heldElsewhere(const QString& table, const QVariantList& key);
    // A lock table of its own, not shared with this process's: what another
    // workstation sees and takes.
    virtual std::shared_ptr<RecordLockTable> separate() const = 0;

    static qint64 offsetFor(const QString& table, const QVariantList& key);

protected:
    virtual qint64 keyFor(const QString& table, const QVariantList& key) const { return offsetFor(table, key); }
    virtual bool acquire(qint64 key) = 0;
    virtual void releaseKey(qint64 key) = 0;

private:
    friend class RecordLock;
    void unlock(qint64 key);
    QHash<qint64, int> counts_;  // key -> times taken by this process
};

class LockFile final : public RecordLockTable {
public:
    // The lock file of a store; shared by every user of that path in this process.
    static std::shared_ptr<LockFile> forStore(const QString& storePath);
    ~LockFile() override;

    const QString& path() const { return path_; }
    std::shared_ptr<RecordLockTable> separate() const override;

protected:
    bool acquire(qint64 key) override;
    void releaseKey(qint64 key) override;

private:
    explicit LockFile(const QString& path);
    QString path_;
    int fd_ = -1;
};

// The locks of a server store: shared by every store of this process on the
// same server and schema.
std::shared_ptr<RecordLockTable> serverLocksFor(const ServidorConf& conf);

// The lock file name beside a store: "dados.sqlite" -> "dados.sqlite-locks".
QString lockFilePath(const QString& storePath);

}  // namespace pcp
