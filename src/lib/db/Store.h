#pragma once
// One store with its declared tables and its record locks: a SQLite file (a
// company's "dados.sqlite", the company list "Empresa.db", the login store,
// a scratch table's file in TmpDb/) or, when its folder holds a
// "servidor.conf", a schema on a PostgreSQL server.
#include "Database.h"
#include "FileSystems.h"
#include "RecordLocks.h"
#include "ServidorConf.h"
#include "TableDef.h"

#include <QHash>
#include <memory>

namespace pcp {

enum class CompanyStore { MayCreate, MustExist };

class Store {
public:
    // Opens (creating when missing) the file and brings the given tables up
    // to date. A path through symbolic links is resolved once: the store, its
    // journal and its lock file all sit beside the real file. When the file's
    // folder holds a servidor.conf, the tables are on that server instead.
    static std::shared_ptr<Store> open(const QString& file, const QList<TableDef>& tables = {});
    // Always the SQLite file, whatever the folder holds (scratch tables).
    static std::shared_ptr<Store> openLocal(const QString& file, const QList<TableDef>& tables = {});
    // The schema a servidor.conf names; `folder` keeps what stays local.
    static std::shared_ptr<Store> openServer(const ServidorConf& conf, const QString& folder,
                                             const QList<TableDef>& tables = {});
    // Opens the company store "dados.sqlite" of a company folder with every
    // table of the catalog, after checkCompanyStore (a refusal writes nothing).
    static std::shared_ptr<Store> openCompany(const QString& folder,
                                              const Catalog& catalog = Catalog::global(),
                                              CompanyStore mode = CompanyStore::MayCreate,
                                              const MountTable& mounts = MountTable::system());

    Database& db() { return *db_; }
    RecordLockTable& locks() { return *locks_; }
    // The SQLite file, or the servidor.conf of a server store.
    const QString& path() const { return path_; }
    QString folder() const;
    bool onServer() const { return db_->onServer(); }

    // The declaration of a table of this store (those it was opened with, or
    // added later by ensure()); falls back to the global catalog.
    const TableDef& table(const QString& name) const;
    // Creates or upgrades one more table in this store (monthly tables, ...).
    const TableDef& ensure(const TableDef& table);

private:
    Store() = default;
    QString path_;
    std::unique_ptr<Database> db_;
    std::shared_ptr<RecordLockTable> locks_;
    QHash<QString, TableDef> tables_;  // by lower-case name
};

inline constexpr const char16_t* kCompanyStoreFile = u"dados.sqlite";

// Whether the company folder's tables are on a server (it holds servidor.conf).
bool companyOnServer(const QString& folder);

// A bare connection to the tables of a file's folder that brings no table up
// to date and makes no lock file: the server its servidor.conf names, or the
// SQLite file itself.
std::unique_ptr<Database> openConnection(const QString& file, Database::Mode mode = Database::Mode::ReadWrite);

// Throws DbError (Refused) with a clear message when the folder, or the
// nearest existing folder above it when it is missing, is on a network file
// system. Call it before creating a company folder.
void requireLocalFileSystem(const QString& folder, const MountTable& mounts = MountTable::system());

// The real path of a company folder's store, decided before anything is
// opened or created: throws DbError (Refused) when the folder is missing,
// when the folder or the real store file (a "dados.sqlite" may be a symbolic
// link) is on a network file system, or, for MustExist, when there is no
// store yet. A refusal has written nothing: no folder, store, journal or lock file.
QString checkCompanyStore(const QString& folder, CompanyStore mode = CompanyStore::MayCreate,
                          const MountTable& mounts = MountTable::system());

// Attaches another store to a connection for the statements that name its
// tables ("outra"."Estproma"); detached when the guard ends. SQLite does not
// attach inside a transaction: attach first, then open the transaction.
class AttachedStore {
public:
    AttachedStore(Database& db, const QString& file, const QString& alias = QStringLiteral("outra"));
    ~AttachedStore();
    AttachedStore(const AttachedStore&) = delete;
    AttachedStore& operator=(const AttachedStore&) = delete;

    const QString& alias() const { return alias_; }
    // The quoted, qualified name of a table of the attached store.
    QString table(const QString& name) const;

private:
    Database& db_;
    QString alias_;
};

// The company store file of a company folder.
QString companyStorePath(const QString& folder);

}  // namespace pcp
