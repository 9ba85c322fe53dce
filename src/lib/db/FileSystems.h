#pragma once
// Where a store really lives and what kind of file system holds it. SQLite's
// file locking is not safe over a network file system, so a company store is
// refused there; the question is settled on the real path (symbolic links
// resolved) before anything is opened or created.
#include <QList>
#include <QString>

namespace pcp {

// The mounted file systems, as the kernel lists them ("device mountpoint type
// options ..." per line).
class MountTable {
public:
    // The table of this process (/proc/self/mounts); empty when unreadable.
    static MountTable system();
    static MountTable fromText(const QString& text);

    // The type ("ext4", "nfs4", "fuse.sshfs") of the file system holding an
    // absolute path: the mount with the longest mount point above it.
    QString typeOf(const QString& absolutePath) const;

private:
    struct Mount {
        QString point;
        QString type;
    };
    QList<Mount> mounts_;
};

// The name shown for a network file system type ("NFS", "FUSE"); empty for a
// local one.
QString networkKind(const QString& mountType);

// The file a path names once every symbolic link on the way is followed; for
// a missing file, its folder resolved and its own name kept. Dangling links
// are followed as far as they go.
QString realFilePath(const QString& path);

// The network file system kind of the nearest existing folder at or above
// `path` (the path itself when it exists); empty when it is local.
QString networkKindOf(const QString& path, const MountTable& mounts);

}  // namespace pcp
