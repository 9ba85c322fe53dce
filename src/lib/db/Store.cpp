#include "Store.h"

#include "Schema.h"

#include <QDir>
#include <QFileInfo>
#include <sys/vfs.h>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QString networkFileSystemName(long type)
{
    switch (static_cast<unsigned long>(type)) {
    case 0x6969UL: return u"NFS"_s;
    case 0x517BUL: return u"SMB"_s;
    case 0xFF534D42UL: return u"CIFS"_s;
    case 0xFE534D42UL: return u"SMB2"_s;
    case 0x5346414FUL: return u"AFS"_s;
    case 0x73757245UL: return u"Coda"_s;
    case 0x564C: return u"NCP"_s;
    case 0x47504653UL: return u"GPFS"_s;
    case 0x65735546UL: return u"FUSE"_s;  // sshfs and other network mounts
    default: return {};
    }
}
}  // namespace

void requireLocalFileSystem(const QString& folder)
{
    struct statfs info;
    if (statfs(QFile::encodeName(folder).constData(), &info) != 0)
        return;  // a missing folder is reported when the store is opened
    const QString kind = networkFileSystemName(long(info.f_type));
    if (!kind.isEmpty())
        throw DbError(u"A pasta da empresa \"%1\" está em um sistema de arquivos de rede (%2). "
                      u"O banco de dados local não pode ser usado por rede com segurança; "
                      u"use uma pasta local ou o modo servidor."_s.arg(folder, kind));
}

QString companyStorePath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromUtf16(kCompanyStoreFile));
}

std::shared_ptr<Store> Store::open(const QString& file, const QList<TableDef>& tables)
{
    const QFileInfo info(file);
    if (!info.absoluteDir().exists())
        throw DbError(u"Pasta nao encontrada: "_s + info.absolutePath());
    std::shared_ptr<Store> store(new Store);
    store->path_ = info.absoluteFilePath();
    store->db_ = std::make_unique<Database>(store->path_);
    store->locks_ = LockFile::forStore(store->path_);
    if (!tables.isEmpty())
        ensureTables(*store->db_, tables);
    for (const TableDef& t : tables)
        store->tables_.insert(t.name().toLower(), t);
    return store;
}

std::shared_ptr<Store> Store::openCompany(const QString& folder, const Catalog& catalog)
{
    requireLocalFileSystem(folder);
    return open(companyStorePath(folder), catalog.tables());
}

QString Store::folder() const { return QFileInfo(path_).absolutePath(); }

const TableDef& Store::table(const QString& name) const
{
    auto it = tables_.constFind(name.toLower());
    if (it != tables_.constEnd())
        return *it;
    return Catalog::global().get(name);
}

const TableDef& Store::ensure(const TableDef& table)
{
    ensureTable(*db_, table);
    return *tables_.insert(table.name().toLower(), table);
}

AttachedStore::AttachedStore(Database& db, const QString& file, const QString& alias)
    : db_(db), alias_(alias)
{
    if (!QFileInfo::exists(file))
        throw DbError(u"Banco de dados nao encontrado: "_s + file);
    Statement st(db, u"ATTACH DATABASE ?1 AS "_s + quoted(alias));
    st.bindText(1, file);
    st.run();
}

AttachedStore::~AttachedStore()
{
    try {
        db_.exec(u"DETACH DATABASE "_s + quoted(alias_));
    } catch (...) {
        // a statement still running on it keeps it attached until the connection closes
    }
}

QString AttachedStore::table(const QString& name) const { return quoted(alias_) + u'.' + quoted(name); }

}  // namespace pcp
