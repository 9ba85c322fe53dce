#include "SqliteDriver.h"

#include "DbError.h"

#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

namespace pcp::driver {

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

[[noreturn]] void fail(sqlite3* db, int rc, const QString& context)
{
    const int extended = sqlite3_extended_errcode(db);
    QString text = QString::fromUtf8(sqlite3_errmsg(db));
    // the blank-key triggers raise the same text as a duplicate in a unique index
    if (isKeyConflict(extended) || text == QStringView(kKeyViolation))
        throw DbError(QString::fromUtf16(kKeyViolation), extended, DbErrorKind::KeyViolation);
    if (!context.isEmpty())
        text += u" ["_s + context + u"]"_s;
    throw DbError(text, extended ? extended : rc);
}

class SqliteStatement final : public StatementImpl {
public:
    SqliteStatement(sqlite3* db, const QString& sql) : db_(db), sql_(sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                                          &stmt_, nullptr);
        if (rc != SQLITE_OK)
            fail(db, rc, sql.left(200));
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }

    void bindNull(int i) override { check(sqlite3_bind_null(stmt_, i)); }
    void bindInt(int i, qint64 v) override { check(sqlite3_bind_int64(stmt_, i, v)); }
    void bindDouble(int i, double v) override { check(sqlite3_bind_double(stmt_, i, v)); }
    void bindText(int i, const QByteArray& utf8) override
    {
        check(sqlite3_bind_text64(stmt_, i, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                                  SQLITE_UTF8));
    }
    void bindBlob(int i, const QByteArray& b) override
    {
        check(sqlite3_bind_blob64(stmt_, i, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT));
    }

    bool next() override
    {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        sqlite3_reset(stmt_);
        if (rc == SQLITE_DONE)
            return false;
        fail(db_, rc, sql_.left(200));
    }
    int run() override
    {
        while (next()) {
        }
        return sqlite3_changes(db_);
    }
    void reset() override
    {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    int columnCount() const override { return sqlite3_column_count(stmt_); }
    QString columnName(int c) const override { return QString::fromUtf8(sqlite3_column_name(stmt_, c)); }
    bool isNull(int c) const override { return sqlite3_column_type(stmt_, c) == SQLITE_NULL; }
    qint64 intValue(int c) const override { return sqlite3_column_int64(stmt_, c); }
    double doubleValue(int c) const override { return sqlite3_column_double(stmt_, c); }
    QByteArrayView utf8View(int c) const override
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
        return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, c)) : QByteArrayView();
    }
    QByteArray blobValue(int c) const override
    {
        const void* data = sqlite3_column_blob(stmt_, c);
        return data ? QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, c)) : QByteArray();
    }
    QVariant value(int c) const override
    {
        switch (sqlite3_column_type(stmt_, c)) {
        case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(stmt_, c)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt_, c));
        case SQLITE_TEXT: return QVariant(QString::fromUtf8(utf8View(c)));
        case SQLITE_BLOB: return QVariant(blobValue(c));
        default: return QVariant();
        }
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            fail(db_, rc, sql_.left(200));
    }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

class SqliteConnection final : public Connection {
public:
    SqliteConnection(const QString& path, bool readOnly)
    {
        const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
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
        if (!readOnly) {
            exec(u"PRAGMA journal_mode=WAL"_s);
            exec(u"PRAGMA synchronous=FULL"_s);
        }
        exec(u"PRAGMA foreign_keys=OFF"_s);
        sqlite3_create_function_v2(db_, "pcp_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   upperFunction, nullptr, nullptr, nullptr);
    }
    ~SqliteConnection() override { sqlite3_close_v2(db_); }

    void exec(const QString& sql) override
    {
        char* err = nullptr;
        const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
        if (rc != SQLITE_OK) {
            sqlite3_free(err);
            fail(db_, rc, sql.left(200));
        }
    }
    std::unique_ptr<StatementImpl> prepare(const QString& sql) override
    {
        return std::make_unique<SqliteStatement>(db_, sql);
    }
    qint64 lastInsertRowId() const override { return sqlite3_last_insert_rowid(db_); }
    int changes() const override { return sqlite3_changes(db_); }
    bool inTransaction() const override { return sqlite3_get_autocommit(db_) == 0; }
    void beginWrite() override { exec(u"BEGIN IMMEDIATE"_s); }
    bool tableExists(const QString& table) override
    {
        SqliteStatement st(db_, u"SELECT 1 FROM sqlite_master WHERE type='table' AND name = ?1 COLLATE NOCASE"_s);
        st.bindText(1, table.toUtf8());
        const bool found = st.next();
        st.reset();
        return found;
    }
    QStringList tableNames() override { return names(u"table"_s); }
    QStringList indexNames() override { return names(u"index"_s); }
    QStringList names(const QString& type)
    {
        QStringList out;
        SqliteStatement st(db_, u"SELECT name FROM sqlite_master WHERE type = ?1 AND name NOT LIKE 'sqlite_%'"_s);
        st.bindText(1, type.toUtf8());
        while (st.next())
            out << QString::fromUtf8(st.utf8View(0));
        return out;
    }
    void checkpoint() override { exec(u"PRAGMA wal_checkpoint(TRUNCATE)"_s); }
    QString integrityCheck() override
    {
        SqliteStatement st(db_, u"PRAGMA integrity_check"_s);
        QString out = st.next() ? QString::fromUtf8(st.utf8View(0)) : QString();
        st.reset();
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};
}  // namespace

std::unique_ptr<Connection> openSqlite(const QString& path, bool readOnly)
{
    return std::make_unique<SqliteConnection>(path, readOnly);
}

}  // namespace pcp::driver
