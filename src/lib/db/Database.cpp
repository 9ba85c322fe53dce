#include "Database.h"

#include "Driver.h"
#include "PgDriver.h"
#include "ServidorConf.h"
#include "SqliteDriver.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QTime>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

struct Database::Cache {
    QHash<QString, Statement*> statements;
    ~Cache() { qDeleteAll(statements); }
};

Database::Database(const QString& path, Mode mode)
    : path_(path), conn_(driver::openSqlite(path, mode == Mode::ReadOnly)), cache_(std::make_unique<Cache>())
{
}

Database::Database(const ServidorConf& conf, const QString& path)
    : path_(path), engine_(Engine::Postgres), conn_(driver::openPostgres(conf)), cache_(std::make_unique<Cache>())
{
}

Database::~Database() { cache_.reset(); }

void Database::exec(const QString& sql) { conn_->exec(sql); }

Statement Database::prepare(const QString& sql) { return Statement(*this, sql); }

Statement& Database::cached(const QString& sql)
{
    auto it = cache_->statements.find(sql);
    if (it == cache_->statements.end())
        it = cache_->statements.insert(sql, new Statement(*this, sql));
    (*it)->reset();
    return **it;
}

qint64 Database::lastInsertRowId() const { return conn_->lastInsertRowId(); }
int Database::changes() const { return conn_->changes(); }
bool Database::inTransaction() const { return conn_->inTransaction(); }
void Database::beginWrite() { conn_->beginWrite(); }
void Database::flush() { conn_->flush(); }
bool Database::tableExists(const QString& table) { return conn_->tableExists(table); }
QStringList Database::tableNames() { return conn_->tableNames(); }
QStringList Database::indexNames() { return conn_->indexNames(); }
void Database::checkpoint() { conn_->checkpoint(); }
QString Database::integrityCheck() { return conn_->integrityCheck(); }

QString Database::ignoringCase(const QString& column) const
{
    // the server's text columns compare bytewise ("C"), so upper() folds ASCII
    // letters only, as SQLite's NOCASE does
    if (engine_ == Engine::Postgres)
        return u"upper("_s + column + u')';
    return column + u" COLLATE NOCASE"_s;
}

LongRunCache::LongRunCache(Database& db) : db_(db)
{
    if (db.onServer())
        return;  // the server keeps its own cache
    cache_ = db.prepare(u"PRAGMA cache_size"_s).scalar().toLongLong();
    mmap_ = db.prepare(u"PRAGMA mmap_size"_s).scalar().toLongLong();
    db_.exec(u"PRAGMA cache_size = -262144; PRAGMA mmap_size = 2147483648"_s);
}

LongRunCache::~LongRunCache()
{
    if (db_.onServer())
        return;
    try {
        db_.exec(u"PRAGMA cache_size = %1; PRAGMA mmap_size = %2"_s.arg(cache_).arg(mmap_));
    } catch (...) {
        // the connection keeps the larger sizes; nothing is lost
    }
}

Statement::Statement(Database& db, const QString& sql) : db_(&db), impl_(db.connection().prepare(sql)) {}

Statement::~Statement() = default;
Statement::Statement(Statement&& o) noexcept = default;
Statement& Statement::operator=(Statement&& o) noexcept = default;

Statement& Statement::bind(int index, const QVariant& v)
{
    if (v.isNull())
        return bindNull(index);
    switch (v.typeId()) {
    case QMetaType::Bool: return bindInt(index, v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return bindInt(index, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return bindDouble(index, v.toDouble());
    case QMetaType::QDate: return bindText(index, v.toDate().toString(u"yyyy-MM-dd"_s));
    case QMetaType::QTime: return bindText(index, v.toTime().toString(u"HH:mm:ss"_s));
    case QMetaType::QDateTime: return bindText(index, v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s));
    case QMetaType::QByteArray: impl_->bindBlob(index, v.toByteArray()); return *this;
    default: return bindText(index, v.toString());
    }
}

Statement& Statement::bindList(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
    return *this;
}

Statement& Statement::bindInt(int index, qint64 value)
{
    impl_->bindInt(index, value);
    return *this;
}

Statement& Statement::bindDouble(int index, double value)
{
    impl_->bindDouble(index, value);
    return *this;
}

Statement& Statement::bindText(int index, const QString& value)
{
    if (value.isEmpty())
        return bindNull(index);
    impl_->bindText(index, value.toUtf8());
    return *this;
}

Statement& Statement::bindNull(int index)
{
    impl_->bindNull(index);
    return *this;
}

bool Statement::next() { return impl_->next(); }
int Statement::run() { return impl_->run(); }
void Statement::queue() { impl_->queue(); }
void Statement::reset() { impl_->reset(); }
int Statement::columnCount() const { return impl_->columnCount(); }
QString Statement::columnName(int c) const { return impl_->columnName(c); }
bool Statement::isNull(int c) const { return impl_->isNull(c); }
qint64 Statement::intValue(int c) const { return impl_->intValue(c); }
double Statement::doubleValue(int c) const { return impl_->doubleValue(c); }
QString Statement::textValue(int c) const { return QString::fromUtf8(impl_->utf8View(c)); }
QByteArrayView Statement::utf8View(int c) const { return impl_->utf8View(c); }
QByteArray Statement::blobValue(int c) const { return impl_->blobValue(c); }
QVariant Statement::value(int c) const { return impl_->value(c); }

QVariant Statement::scalar()
{
    QVariant v;
    if (next()) {
        v = value(0);
        impl_->reset();
    }
    return v;
}

}  // namespace pcp
