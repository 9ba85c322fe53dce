#include "RecordLocks.h"

#include "DbError.h"
#include "FileSystems.h"

#include <QHash>
#include <QMap>
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

struct LockFile::Impl {
    int fd = -1;
    QHash<qint64, int> counts;  // offset -> times taken by this process
};

namespace {
// Live lock files of this process by path; a weak reference so the descriptor
// closes when the last store using it is gone.
QMap<QString, std::weak_ptr<LockFile>>& registry()
{
    static QMap<QString, std::weak_ptr<LockFile>> files;
    return files;
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
}  // namespace

QString lockFilePath(const QString& storePath) { return storePath + u"-locks"_s; }

std::shared_ptr<LockFile> LockFile::forStore(const QString& storePath)
{
    // beside the real file, so every path to one store shares one lock file
    const QString path = lockFilePath(realFilePath(storePath));
    auto& files = registry();
    if (auto existing = files.value(path).lock())
        return existing;
    std::shared_ptr<LockFile> file(new LockFile(path));
    files.insert(path, file);
    return file;
}

LockFile::LockFile(const QString& path) : path_(path), impl_(std::make_unique<Impl>())
{
    // Never truncated or deleted: another process may hold locks on it.
    impl_->fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (impl_->fd < 0)
        throw DbError(u"Nao foi possivel abrir o arquivo de bloqueios %1: %2"_s.arg(
            path, QString::fromLocal8Bit(std::strerror(errno))));
}

LockFile::~LockFile()
{
    if (impl_->fd >= 0)
        ::close(impl_->fd);  // releases every lock this process still holds on it
}

qint64 LockFile::offsetFor(const QString& table, const QVariantList& key)
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

RecordLock LockFile::tryLock(const QString& table, const QVariantList& key)
{
    const qint64 offset = offsetFor(table, key);
    int& count = impl_->counts[offset];
    if (count == 0 && !setLock(impl_->fd, offset, F_WRLCK)) {
        impl_->counts.remove(offset);
        return {};
    }
    ++count;
    return RecordLock(shared_from_this(), offset);
}

void LockFile::unlock(qint64 offset)
{
    auto it = impl_->counts.find(offset);
    if (it == impl_->counts.end())
        return;
    if (--*it == 0) {
        impl_->counts.erase(it);
        setLock(impl_->fd, offset, F_UNLCK);
    }
}

RecordLock::~RecordLock() { release(); }

RecordLock::RecordLock(RecordLock&& o) noexcept : file_(std::move(o.file_)), offset_(o.offset_) {}

RecordLock& RecordLock::operator=(RecordLock&& o) noexcept
{
    if (this != &o) {
        release();
        file_ = std::move(o.file_);
        offset_ = o.offset_;
    }
    return *this;
}

void RecordLock::release()
{
    if (file_) {
        file_->unlock(offset_);
        file_.reset();
    }
}

}  // namespace pcp
