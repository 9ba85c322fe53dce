#include "Store.h"

#include "Schema.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
[[noreturn]] void refuseNetwork(const QString& what, const QString& path, const QString& kind)
{
    throw DbError(u"%1 \"%2\" está em um sistema de arquivos de rede (%3). "
                  u"O banco de dados local não pode ser usado por rede com segurança; "
                  u"use uma pasta local ou o modo servidor."_s.arg(what, path, kind),
                  DbErrorKind::Refused);
}
}  // namespace

void requireLocalFileSystem(const QString& folder, const MountTable& mounts)
{
    const QString kind = networkKindOf(folder, mounts);
    if (!kind.isEmpty())
        refuseNetwork(u"A pasta da empresa"_s, folder, kind);
}

bool companyOnServer(const QString& folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QString::fromUtf16(kServidorConf)));
}

std::unique_ptr<Database> openConnection(const QString& file, Database::Mode mode)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (const auto conf = leServidorConf(folder))
        return std::make_unique<Database>(*conf, QDir(folder).absoluteFilePath(QString::fromUtf16(kServidorConf)));
    return std::make_unique<Database>(file, mode);
}

QString checkCompanyStore(const QString& folder, CompanyStore mode, const MountTable& mounts)
{
    if (!QFileInfo(folder).isDir()) {
        requireLocalFileSystem(folder, mounts);  // a folder to be made under a network mount says so
        throw DbError(u"Pasta nao encontrada: "_s + QFileInfo(folder).absoluteFilePath(), DbErrorKind::Refused);
    }
    // the tables are on the server: the folder keeps only local files
    if (companyOnServer(folder))
        return companyStorePath(folder);
    requireLocalFileSystem(folder, mounts);
    const QString file = realFilePath(companyStorePath(folder));
    const QString kind = networkKindOf(file, mounts);
    if (!kind.isEmpty())
        refuseNetwork(u"O banco de dados da empresa"_s, file, kind);
    if (mode == CompanyStore::MustExist && !QFileInfo::exists(file))
        throw DbError(u"Banco de dados nao encontrado: "_s + file, DbErrorKind::Refused);
    return file;
}

QString companyStorePath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromUtf16(kCompanyStoreFile));
}

std::shared_ptr<Store> Store::open(const QString& file, const QList<TableDef>& tables)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (auto conf = leServidorConf(folder))
        return openServer(*conf, folder, tables);
    return openLocal(file, tables);
}

std::shared_ptr<Store> Store::openServer(const ServidorConf& conf, const QString& folder,
                                         const QList<TableDef>& tables)
{
    std::shared_ptr<Store> store(new Store);
    store->path_ = QDir(folder).absoluteFilePath(QString::fromUtf16(kServidorConf));
    store->db_ = std::make_unique<Database>(conf, store->path_);
    store->locks_ = serverLocksFor(conf);
    if (!tables.isEmpty())
        ensureTables(*store->db_, tables);
    for (const TableDef& t : tables)
        store->tables_.insert(t.name().toLower(), t);
    return store;
}

std::shared_ptr<Store> Store::openLocal(const QString& file, const QList<TableDef>& tables)
{
    const QFileInfo info(realFilePath(file));
    if (!info.absoluteDir().exists())
        throw DbError(u"Pasta nao encontrada: "_s + info.absolutePath(), DbErrorKind::Refused);
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

std::shared_ptr<Store> Store::openCompany(const QString& folder, const Catalog& catalog, CompanyStore mode,
                                          const MountTable& mounts)
{
    return open(checkCompanyStore(folder, mode, mounts), catalog.tables());
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
    if (db.onServer())
        throw DbError(u"Outra empresa não pode ser anexada a um banco de dados no servidor"_s, DbErrorKind::Refused);
    if (!QFileInfo::exists(file))
        throw DbError(u"Banco de dados nao encontrado: "_s + file, DbErrorKind::Refused);
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
