#include "FileSystems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/vfs.h>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QString kindOfMagic(unsigned long magic)
{
    switch (magic) {
    case 0x6969UL: return u"NFS"_s;
    case 0x517BUL: return u"SMB"_s;
    case 0xFF534D42UL: return u"CIFS"_s;
    case 0xFE534D42UL: return u"SMB2"_s;
    case 0x5346414FUL: return u"AFS"_s;
    case 0x73757245UL: return u"Coda"_s;
    case 0x564CUL: return u"NCP"_s;
    case 0x47504653UL: return u"GPFS"_s;
    case 0x65735546UL: return u"FUSE"_s;  // sshfs and other network mounts
    default: return {};
    }
}

// "/a/b\040c" in the mount table is "/a/b c".
QString unescapeMountField(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == u'\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isUnder(const QString& path, const QString& point)
{
    if (point == u"/"_s)
        return true;
    return path == point || (path.startsWith(point) && path.at(point.size()) == u'/');
}

QString nearestExisting(QString path)
{
    path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(path) && path != u"/"_s)
        path = QFileInfo(path).absolutePath();
    return path;
}
}  // namespace

MountTable MountTable::system()
{
    QFile f(u"/proc/self/mounts"_s);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return fromText(QString::fromUtf8(f.readAll()));
}

MountTable MountTable::fromText(const QString& text)
{
    MountTable table;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() >= 3)
            table.mounts_.append({unescapeMountField(parts[1]), parts[2]});
    }
    return table;
}

QString MountTable::typeOf(const QString& absolutePath) const
{
    const Mount* best = nullptr;
    for (const Mount& m : mounts_)
        if (isUnder(absolutePath, m.point) && (!best || m.point.size() >= best->point.size()))
            best = &m;  // a later mount on the same point hides the earlier one
    return best ? best->type : QString();
}

QString networkKind(const QString& mountType)
{
    static const QList<std::pair<QString, QString>> kinds = {
        {u"nfs"_s, u"NFS"_s},   {u"nfs4"_s, u"NFS"_s},   {u"cifs"_s, u"CIFS"_s}, {u"smb3"_s, u"SMB"_s},
        {u"smbfs"_s, u"SMB"_s}, {u"afs"_s, u"AFS"_s},    {u"coda"_s, u"Coda"_s}, {u"ncpfs"_s, u"NCP"_s},
        {u"9p"_s, u"9P"_s},     {u"ceph"_s, u"Ceph"_s},  {u"gpfs"_s, u"GPFS"_s}, {u"glusterfs"_s, u"Gluster"_s},
        {u"fuse"_s, u"FUSE"_s},
    };
    const QString type = mountType.toLower();
    for (const auto& [name, kind] : kinds)
        if (type == name)
            return kind;
    // fuse.sshfs, fuse.rclone, ...: a user-space file system, treated as remote
    return type.startsWith(u"fuse."_s) ? u"FUSE"_s : QString();
}

QString realFilePath(const QString& path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops) {
        if (info.exists())
            return info.canonicalFilePath();
        info = QFileInfo(info.symLinkTarget());  // dangling: follow it by hand
    }
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QDir(info.absolutePath()).canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
}

QString networkKindOf(const QString& path, const MountTable& mounts)
{
    const QString existing = nearestExisting(path);
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    const QString kind = networkKind(mounts.typeOf(canonical.isEmpty() ? existing : canonical));
    if (!kind.isEmpty())
        return kind;
    struct statfs info;
    if (statfs(QFile::encodeName(existing).constData(), &info) != 0)
        return {};
    return kindOfMagic(static_cast<unsigned long>(info.f_type));
}

}  // namespace pcp
