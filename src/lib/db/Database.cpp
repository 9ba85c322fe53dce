#include "Database.h"

#include <sqlite3.h>

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

namespace {
constexpr int kBusyTimeoutMs = 10000;

// Upper case over the whole of Unicode, for searches that ignore case in
// Portuguese texts ("ção" = "ÇÃO"); SQLite's own upper() folds ASCII only.
void upperFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    if (!text) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray up = QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toUpper().toUtf8();
    sqlite3_result_text(ctx, up.constData(), int(up.size()), SQLITE_TRANSIENT);
}

bool isKeyConflict(int extended)
{
    return extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE;
}
}  // namespace

Database::Database(const QString& path, Mode mode) : path_(path), cache_(std::make_unique<Cache>())
{
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                              : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : u"sem memoria"_s;
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw DbError(u"Nao foi possivel abrir o banco de dados %1: %2"_s.arg(path, text), rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // Plans do not depend on the values bound: otherwise a statement whose
    // plan looked at a parameter is compiled again at every new binding,
    // which turned each header lookup of a stock run into a parse.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_QPSG, 1, nullptr);
    if (mode == Mode::ReadWrite) {
        exec(u"PRAGMA journal_mode=WAL"_s);
        exec(u"PRAGMA synchronous=FULL"_s);
    }
    exec(u"PRAGMA foreign_keys=OFF"_s);
    sqlite3_create_function_v2(db_, "pcp_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               upperFunction, nullptr, nullptr, nullptr);
}

Database::~Database()
{
    cache_.reset();
    sqlite3_close_v2(db_);
}

void Database::fail(int rc, const QString& context) const
{
    const int extended = sqlite3_extended_errcode(db_);
    QString text = QString::fromUtf8(sqlite3_errmsg(db_));
    // the blank-key triggers raise the same text as a duplicate in a unique index
    if (isKeyConflict(extended) || text == QStringView(kKeyViolation))
        throw DbError(QString::fromUtf16(kKeyViolation), extended, DbErrorKind::KeyViolation);
    if (!context.isEmpty())
        text += u" ["_s + context + u"]"_s;
    throw DbError(text, extended ? extended : rc);
}

void Database::exec(const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        sqlite3_free(err);
        fail(rc, sql.left(200));
    }
}

Statement Database::prepare(const QString& sql) { return Statement(*this, sql); }

Statement& Database::cached(const QString& sql)
{
    auto it = cache_->statements.find(sql);
    if (it == cache_->statements.end())
        it = cache_->statements.insert(sql, new Statement(*this, sql));
    (*it)->reset();
    return **it;
}

qint64 Database::lastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
int Database::changes() const { return sqlite3_changes(db_); }
bool Database::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Database::checkpoint() { exec(u"PRAGMA wal_checkpoint(TRUNCATE)"_s); }

QString Database::integrityCheck() { return prepare(u"PRAGMA integrity_check"_s).scalar().toString(); }

LongRunCache::LongRunCache(Database& db)
    : db_(db), cache_(db.prepare(u"PRAGMA cache_size"_s).scalar().toLongLong()),
      mmap_(db.prepare(u"PRAGMA mmap_size"_s).scalar().toLongLong())
{
    db_.exec(u"PRAGMA cache_size = -262144; PRAGMA mmap_size = 2147483648"_s);
}

LongRunCache::~LongRunCache()
{
    try {
        db_.exec(u"PRAGMA cache_size = %1; PRAGMA mmap_size = %2"_s.arg(cache_).arg(mmap_));
    } catch (...) {
        // the connection keeps the larger sizes; nothing is lost
    }
}

bool Database::tableExists(const QString& table, const QString& schema)
{
    Statement st(*this, u"SELECT 1 FROM \"%1\".sqlite_master WHERE type='table' AND name = ?1 COLLATE NOCASE"_s
                            .arg(schema));
    st.bindText(1, table);
    return st.next() && (st.reset(), true);
}

Statement::Statement(Database& db, const QString& sql) : db_(&db), sql_(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db.handle(), utf8.constData(), int(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK)
        db.fail(rc, sql.left(200));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& o) noexcept : db_(o.db_), stmt_(o.stmt_), sql_(std::move(o.sql_))
{
    o.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        sqlite3_finalize(stmt_);
        db_ = o.db_;
        stmt_ = o.stmt_;
        sql_ = std::move(o.sql_);
        o.stmt_ = nullptr;
    }
    return *this;
}

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
    case QMetaType::QDateTime:
        return bindText(index, v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s));
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        const int rc = sqlite3_bind_blob64(stmt_, index, b.constData(), sqlite3_uint64(b.size()),
                                           SQLITE_TRANSIENT);
        if (rc != SQLITE_OK)
            db_->fail(rc, sql_);
        return *this;
    }
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
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

Statement& Statement::bindDouble(int index, double value)
{
    const int rc = sqlite3_bind_double(stmt_, index, value);
    if (rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

Statement& Statement::bindText(int index, const QString& value)
{
    if (value.isEmpty())
        return bindNull(index);
    const QByteArray utf8 = value.toUtf8();
    const int rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                       SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

Statement& Statement::bindNull(int index)
{
    const int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

bool Statement::next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_);
    if (rc == SQLITE_DONE)
        return false;
    db_->fail(rc, sql_.left(200));
}

int Statement::run()
{
    while (next()) {
    }
    return sqlite3_changes(db_->handle());
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }
QString Statement::columnName(int c) const { return QString::fromUtf8(sqlite3_column_name(stmt_, c)); }
bool Statement::isNull(int c) const { return sqlite3_column_type(stmt_, c) == SQLITE_NULL; }
qint64 Statement::intValue(int c) const { return sqlite3_column_int64(stmt_, c); }
double Statement::doubleValue(int c) const { return sqlite3_column_double(stmt_, c); }

QString Statement::textValue(int c) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt_, c)) : QString();
}

QByteArrayView Statement::utf8View(int c) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
    return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, c)) : QByteArrayView();
}

QByteArray Statement::blobValue(int c) const
{
    const void* data = sqlite3_column_blob(stmt_, c);
    return data ? QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, c)) : QByteArray();
}

QVariant Statement::value(int c) const
{
    switch (sqlite3_column_type(stmt_, c)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(stmt_, c)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt_, c));
    case SQLITE_TEXT: return QVariant(textValue(c));
    case SQLITE_BLOB: return QVariant(blobValue(c));
    default: return QVariant();
    }
}

QVariant Statement::scalar()
{
    QVariant v;
    if (next()) {
        v = value(0);
        sqlite3_reset(stmt_);
    }
    return v;
}

}  // namespace pcp
