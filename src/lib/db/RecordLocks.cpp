#include "RecordLocks.h"

#include "Database.h"
#include "DbError.h"
#include "FileSystems.h"
#include "ServidorConf.h"

#include <QMap>
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// Live lock tables of this process by store; a weak reference so the
// descriptor or connection closes when the last store using it is gone.
QMap<QString, std::weak_ptr<RecordLockTable>>& registry()
{
    static QMap<QString, std::weak_ptr<RecordLockTable>> tables;
    return tables;
}

template <class Make>
std::shared_ptr<RecordLockTable> shared(const QString& id, Make make)
{
    auto& tables = registry();
    if (auto existing = tables.value(id).lock())
        return existing;
    std::shared_ptr<RecordLockTable> table = make();
    tables.insert(id, table);
    return table;
}

bool setLock(int fd, qint64 offset, short type)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = 1;
    fl.l_pid = 0;  // required for OFD locks
    while (fcntl(fd, F_OFD_SETLK, &fl) == -1) {
        if (errno == EINTR)
            continue;
        return false;
    }
    return true;
}

void feed(quint64& h, const QByteArray& bytes)
{
    for (char c : bytes) {
        h ^= quint8(c);
        h *= 1099511628211ULL;
    }
}

// Advisory locks on a connection of their own: a lock outlives the
// transactions of the store's connection, and every lock of the workstation
// goes when this connection does (the program ends or the network is lost).
class ServerLocks final : public RecordLockTable {
public:
    explicit ServerLocks(const ServidorConf& conf)
        : conf_(conf), db_(conf, QString()),
          take_(db_.prepare(u"SELECT pg_try_advisory_lock(?)"_s)),
          give_(db_.prepare(u"SELECT pg_advisory_unlock(?)"_s))
    {
    }
    std::shared_ptr<RecordLockTable> separate() const override { return std::make_shared<ServerLocks>(conf_); }

protected:
    // companies may share a database, each in its schema
    qint64 keyFor(const QString& table, const QVariantList& key) const override
    {
        return offsetFor(conf_.esquema + u'.' + table, key);
    }
    bool acquire(qint64 key) override
    {
        take_.reset();
        take_.bindInt(1, key);
        return take_.scalar().toLongLong() != 0;
    }
    void releaseKey(qint64 key) override
    {
        try {
            give_.reset();
            give_.bindInt(1, key);
            give_.scalar();
        } catch (const DbError&) {
            // the connection is gone, and with it every lock it held
        }
    }

private:
    ServidorConf conf_;
    Database db_;
    Statement take_;
    Statement give_;
};
}  // namespace

QString lockFilePath(const QString& storePath) { return storePath + u"-locks"_s; }

qint64 RecordLockTable::offsetFor(const QString& table, const QVariantList& key)
{
    quint64 h = 14695981039346656037ULL;  // FNV-1a
    feed(h, table.toLower().toUtf8());
    for (const QVariant& v : key) {
        feed(h, QByteArray("\x1f"));
        if (v.isNull())
            continue;
        // the same key must hash the same whether it came as 7, 7.0 or "7"
        if (v.typeId() == QMetaType::Double && v.toDouble() == double(v.toLongLong()))
            feed(h, QByteArray::number(v.toLongLong()));
        else if (v.typeId() == QMetaType::QDate)
            feed(h, v.toDate().toString(u"yyyy-MM-dd"_s).toUtf8());
        else
            feed(h, v.toString().toUtf8());
    }
    return qint64(h & 0x3FFFFFFFFFFFFFFFULL);
}

RecordLock RecordLockTable::tryLock(const QString& table, const QVariantList& key)
{
    const qint64 k = keyFor(table, key);
    int& count = counts_[k];
    if (count == 0 && !acquire(k)) {
        counts_.remove(k);
        return {};
    }
    ++count;
    return RecordLock(shared_from_this(), k);
}

bool RecordLockTable::heldElsewhere(const QString& table, const QVariantList& key)
{
    const auto other = separate();
    return !other->tryLock(table, key).held();
}

void RecordLockTable::unlock(qint64 key)
{
    auto it = counts_.find(key);
    if (it == counts_.end())
        return;
    if (--*it == 0) {
        counts_.erase(it);
        releaseKey(key);
    }
}

std::shared_ptr<LockFile> LockFile::forStore(const QString& storePath)
{
    // beside the real file, so every path to one store shares one lock file
    const QString path = lockFilePath(realFilePath(storePath));
    return std::static_pointer_cast<LockFile>(
        shared(path, [&] { return std::shared_ptr<RecordLockTable>(new LockFile(path)); }));
}

LockFile::LockFile(const QString& path) : path_(path)
{
    // Never truncated or deleted: another process may hold locks on it.
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0)
        throw DbError(u"Nao foi possivel abrir o arquivo de bloqueios %1: %2"_s.arg(
            path, QString::fromLocal8Bit(std::strerror(errno))));
}

LockFile::~LockFile()
{
    if (fd_ >= 0)
        ::close(fd_);  // releases every lock this process still holds on it
}

std::shared_ptr<RecordLockTable> LockFile::separate() const
{
    return std::shared_ptr<RecordLockTable>(new LockFile(path_));
}

bool LockFile::acquire(qint64 key) { return setLock(fd_, key, F_WRLCK); }
void LockFile::releaseKey(qint64 key) { setLock(fd_, key, F_UNLCK); }

std::shared_ptr<RecordLockTable> serverLocksFor(const ServidorConf& conf)
{
    return shared(u"servidor:"_s + conf.conninfo + u"\x1f"_s + conf.esquema,
                  [&] { return std::shared_ptr<RecordLockTable>(std::make_shared<ServerLocks>(conf)); });
}

RecordLock::~RecordLock() { release(); }

RecordLock::RecordLock(RecordLock&& o) noexcept : table_(std::move(o.table_)), key_(o.key_) {}

RecordLock& RecordLock::operator=(RecordLock&& o) noexcept
{
    if (this != &o) {
        release();
        table_ = std::move(o.table_);
        key_ = o.key_;
    }
    return *this;
}

void RecordLock::release()
{
    if (table_) {
        table_->unlock(key_);
        table_.reset();
    }
}

}  // namespace pcp
