#pragma once
// Record locks visible to every process on the machine and released by the
// operating system when the holder dies: open-file-description byte-range
// locks on a lock file beside the store, one byte per record at an offset
// hashed from table and key. One descriptor per lock file per process; locks
// are counted so a process may take the same record again (re-entrant).
#include <QString>
#include <QVariantList>
#include <memory>

namespace pcp {

class LockFile;

class RecordLock {
public:
    RecordLock() = default;
    ~RecordLock();
    RecordLock(RecordLock&& other) noexcept;
    RecordLock& operator=(RecordLock&& other) noexcept;
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    bool held() const { return file_ != nullptr; }
    void release();

private:
    friend class LockFile;
    RecordLock(std::shared_ptr<LockFile> file, qint64 offset) : file_(std::move(file)), offset_(offset) {}
    std::shared_ptr<LockFile> file_;
    qint64 offset_ = 0;
};

class LockFile : public std::enable_shared_from_this<LockFile> {
public:
    // The lock file of a store; shared by every user of that path in this process.
    static std::shared_ptr<LockFile> forStore(const QString& storePath);
    ~LockFile();

    // An empty lock when another process holds the record.
    RecordLock tryLock(const QString& table, const QVariantList& key);
    static qint64 offsetFor(const QString& table, const QVariantList& key);

    const QString& path() const { return path_; }

private:
    explicit LockFile(const QString& path);
    friend class RecordLock;
    void unlock(qint64 offset);

    struct Impl;
    QString path_;
    std::unique_ptr<Impl> impl_;
};

// The lock file name beside a store: "dados.sqlite" -> "dados.sqlite-locks".
QString lockFilePath(const QString& storePath);

}  // namespace pcp
