#include "PgDriver.h"

#include "DbError.h"
#include "PgLote.h"
#include "PgSql.h"
#include "ServidorConf.h"

#include <libpq-fe.h>

#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace pcp::driver {

namespace {

// Rows a batch of queued writes carries in one statement.
constexpr int kBatchRows = 1000;

enum : Oid { kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700 };

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

QString serverText(const PGresult* r, PGconn* conn)
{
    const char* primary = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return QString::fromUtf8(primary ? primary : PQerrorMessage(conn)).trimmed();
}

[[noreturn]] void fail(PGconn* conn, const PGresult* r, const QString& context)
{
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const QByteArray code = state ? QByteArray(state) : QByteArray();
    const QString text = serverText(r, conn);
    if (code == "23505")
        throw DbError(QString::fromUtf16(kKeyViolation), 23505, DbErrorKind::KeyViolation);
    if (code == "40001" || code == "40P01")
        throw DbError(u"O servidor não conseguiu gravar por conflito com outra estação. Tente novamente."_s,
                      DbErrorKind::Conflict);
    if (PQstatus(conn) == CONNECTION_BAD || code.startsWith("08") || code == "57P01" || code == "57P02" ||
        code == "57P03")
        throw DbError(u"A conexão com o servidor foi perdida; a gravação não foi feita (%1)"_s.arg(text),
                      DbErrorKind::Connection);
    if (code == "55P03")
        throw DbError(u"Os dados estão em uso por outra estação; tente novamente (%1)"_s.arg(text),
                      DbErrorKind::Conflict);
    if (code == "22001")
        throw DbError(u"Texto maior que o tamanho do campo (%1)"_s.arg(text), DbErrorKind::Refused);
    if (code == "22007" || code == "22008")
        throw DbError(u"Data ou hora inválida (%1)"_s.arg(text), DbErrorKind::Refused);
    if (code == "22003")
        throw DbError(u"Número fora do limite do campo (%1)"_s.arg(text), DbErrorKind::Refused);
    if (code == "22P02")
        throw DbError(u"Valor inválido para o campo (%1)"_s.arg(text), DbErrorKind::Refused);
    throw DbError(context.isEmpty() ? text : text + u" ["_s + context + u"]"_s);
}

class PgConnection;

class PgStatement final : public StatementImpl {
public:
    PgStatement(PgConnection& conn, const QString& sql);
    ~PgStatement() override;

    void bindNull(int i) override
    {
        slot(i).clear();
        null_[size_t(i - 1)] = true;
    }
    void bindInt(int i, qint64 v) override { set(i, QByteArray::number(v)); }
    void bindDouble(int i, double v) override { set(i, QByteArray::number(v, 'g', 17)); }
    void bindText(int i, const QByteArray& utf8) override { set(i, utf8); }
    void bindBlob(int i, const QByteArray& b) override
    {
        set(i, b);
        binary_[size_t(i - 1)] = 1;
    }

    bool next() override;
    int run() override;
    void queue() override;
    void reset() override
    {
        result_.reset();
        row_ = -1;
        for (size_t i = 0; i < values_.size(); ++i) {
            values_[i].clear();
            null_[i] = true;
            binary_[i] = 0;
        }
    }

    // The columns are known before the first row, as on SQLite.
    int columnCount() const override { return PQnfields(shape()); }
    QString columnName(int c) const override { return QString::fromUtf8(PQfname(shape(), c)); }
    bool isNull(int c) const override { return !result_ || PQgetisnull(result_.get(), row_, c); }
    qint64 intValue(int c) const override
    {
        if (isNull(c))
            return 0;
        const char* v = PQgetvalue(result_.get(), row_, c);
        if (PQftype(result_.get(), c) == kBool)
            return *v == 't' ? 1 : 0;
        char* end = nullptr;
        const long long n = std::strtoll(v, &end, 10);
        return *end ? qint64(std::strtod(v, nullptr)) : qint64(n);
    }
    double doubleValue(int c) const override
    {
        if (isNull(c))
            return 0;
        if (PQftype(result_.get(), c) == kBool)
            return intValue(c);
        return std::strtod(PQgetvalue(result_.get(), row_, c), nullptr);
    }
    QByteArrayView utf8View(int c) const override
    {
        if (isNull(c))
            return {};
        return QByteArrayView(PQgetvalue(result_.get(), row_, c), PQgetlength(result_.get(), row_, c));
    }
    QByteArray blobValue(int c) const override
    {
        if (isNull(c))
            return {};
        if (PQftype(result_.get(), c) != kBytea)
            return utf8View(c).toByteArray();
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row_, c)), &length);
        QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return out;
    }
    QVariant value(int c) const override
    {
        if (isNull(c))
            return {};
        switch (PQftype(result_.get(), c)) {
        case kBool:
        case kInt2:
        case kInt4:
        case kInt8: return QVariant(intValue(c));
        case kFloat4:
        case kFloat8:
        case kNumeric: return QVariant(doubleValue(c));
        case kBytea: return QVariant(blobValue(c));
        default: return QVariant(QString::fromUtf8(utf8View(c)));
        }
    }

private:
    QByteArray& slot(int i)
    {
        if (i < 1 || i > int(values_.size()))
            throw DbError(u"Parametro %1 fora do comando (%2 parametros) [%3]"_s.arg(i).arg(values_.size()).arg(
                sql_.left(200)));
        return values_[size_t(i - 1)];
    }
    void set(int i, const QByteArray& v)
    {
        slot(i) = v;
        null_[size_t(i - 1)] = false;
        binary_[size_t(i - 1)] = 0;
    }
    // The server-side name of the text for the current pattern of blanks.
    const QByteArray& preparedName();
    QByteArray blankPattern() const;
    // Sets up the batch of a write of a simple form (see PgLote).
    void prepareBatch(const PgLote::Forma& forma);

public:
    // Sends the rows gathered in the batch, if any, as one queued statement.
    void sendBatch();

private:
    Result execute();

    PgConnection& conn_;
    QString sql_;
    PgSql plain_;
    QHash<QByteArray, QByteArray> prepared_;  // blank pattern -> statement name
    std::vector<QByteArray> values_;
    std::vector<bool> null_;
    std::vector<int> binary_;
    // The result, or before it the server's description of the statement.
    const PGresult* shape() const;

    Result result_;
    mutable Result description_;
    int row_ = -1;
    bool batchChecked_ = false;
    std::optional<PgLote> batch_;
    QByteArray batchName_;
};

class PgConnection final : public Connection {
public:
    explicit PgConnection(const ServidorConf& conf)
    {
        conn_ = PQconnectdb(conninfoWithDefaults(conf.conninfo).toUtf8().constData());
        if (PQstatus(conn_) != CONNECTION_OK) {
            const QString text = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
            PQfinish(conn_);
            conn_ = nullptr;
            throw DbError(u"Não foi possível conectar ao servidor de banco de dados: %1"_s.arg(text),
                          DbErrorKind::Connection);
        }
        // a row another workstation is writing is waited for as long as SQLite's busy wait
        exec(u"SET DateStyle = ISO, YMD; SET extra_float_digits = 1; SET client_min_messages = warning; "
             u"SET lock_timeout = '10s'; SET jit = off; SET work_mem = '64MB'"_s);
        useSchema(conf.esquema);
    }
    ~PgConnection() override
    {
        if (conn_)
            PQfinish(conn_);
    }

    PGconn* handle() const { return conn_; }
    QByteArray newStatementName() { return "pcp" + QByteArray::number(++statements_); }

    void exec(const QString& sql) override
    {
        // A rollback takes back whatever the queued writes did or failed to
        // do: their failure must not keep it from running.
        if (sql.trimmed().startsWith(u"ROLLBACK"_s, Qt::CaseInsensitive)) {
            try {
                flush();
            } catch (const DbError&) {
            }
        } else {
            flush();
        }
        Result r(PQexec(conn_, translateForPostgres(sql).text.constData()));
        const auto status = PQresultStatus(r.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            fail(conn_, r.get(), sql.left(200));
        // a transaction the server had given up answers COMMIT with ROLLBACK
        if (sql.trimmed().startsWith(u"COMMIT"_s, Qt::CaseInsensitive) &&
            qstrcmp(PQcmdStatus(r.get()), "ROLLBACK") == 0)
            throw DbError(u"O servidor desfez a transação: nada dela foi gravado"_s);
        changes_ = std::atoi(PQcmdTuples(r.get()));
    }
    std::unique_ptr<StatementImpl> prepare(const QString& sql) override
    {
        return std::make_unique<PgStatement>(*this, sql);
    }
    qint64 lastInsertRowId() const override { return lastRowId_; }
    int changes() const override { return changes_; }
    bool inTransaction() const override
    {
        const auto s = PQtransactionStatus(conn_);
        return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
    }
    void beginWrite() override { exec(u"BEGIN"_s); }
    bool tableExists(const QString& table) override
    {
        PgStatement st(*this, u"SELECT 1 FROM pg_tables WHERE schemaname = current_schema() AND tablename = ?"_s);
        st.bindText(1, table.toLower().toUtf8());
        const bool found = st.next();
        st.reset();
        return found;
    }
    QStringList tableNames() override
    {
        return names(u"SELECT tablename FROM pg_tables WHERE schemaname = current_schema() ORDER BY 1"_s);
    }
    QStringList indexNames() override
    {
        return names(u"SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() ORDER BY 1"_s);
    }
    QStringList names(const QString& sql)
    {
        QStringList out;
        PgStatement st(*this, sql);
        while (st.next())
            out << QString::fromUtf8(st.utf8View(0));
        return out;
    }
    void checkpoint() override {}
    QString integrityCheck() override
    {
        exec(u"SELECT 1"_s);
        return u"ok"_s;
    }

    void setChanges(int n) { changes_ = n; }
    void setLastRowId(qint64 id) { lastRowId_ = id; }

    // Sends a prepared write without waiting for its result. Only inside a
    // transaction: a failure then takes the whole transaction back, so it
    // may surface later (at the next read, write that waits, or the commit).
    void send(const QByteArray& name, const std::vector<QByteArray>& values, const std::vector<bool>& null,
              const std::vector<int>& binary, const QString& sql)
    {
        if (PQpipelineStatus(conn_) == PQ_PIPELINE_OFF && !PQenterPipelineMode(conn_))
            fail(conn_, nullptr, sql.left(200));
        std::vector<const char*> v(values.size());
        std::vector<int> lengths(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            v[i] = null[i] ? nullptr : values[i].constData();
            lengths[i] = int(values[i].size());
        }
        if (!PQsendQueryPrepared(conn_, name.constData(), int(values.size()), v.data(), lengths.data(),
                                 binary.data(), 0))
            fail(conn_, nullptr, sql.left(200));
        queued_ << sql;
        // a bounded number in flight: the server's answers never fill the socket
        if (queued_.size() >= kQueuedMax)
            flush();
    }

    // Waits for every queued write; the first failure is reported once all
    // are read, and the connection leaves pipeline mode either way.
    // A statement whose batch holds rows not yet sent; sent before anything
    // else goes to the server.
    void awaitBatch(PgStatement* st) { batches_.insert(st); }
    void forget(PgStatement* st) { batches_.remove(st); }
    // A failure met where it could not be thrown (a statement's destructor),
    // reported at the next flush.
    void keepError(const DbError& e)
    {
        if (!keptError_)
            keptError_ = e;
    }

    void flush() override
    {
        for (PgStatement* st : std::exchange(batches_, {}))
            st->sendBatch();
        if (keptError_) {
            const DbError e = *keptError_;
            keptError_.reset();
            throw e;
        }
        if (PQpipelineStatus(conn_) == PQ_PIPELINE_OFF)
            return;
        std::optional<DbError> first;
        if (!PQpipelineSync(conn_))
            first = DbError(QString::fromUtf8(PQerrorMessage(conn_)).trimmed(), DbErrorKind::Connection);
        for (qsizetype i = 0; i < queued_.size() && !first.has_value(); ++i) {
            Result r(PQgetResult(conn_));
            const auto status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_PIPELINE_ABORTED) {
                try {
                    fail(conn_, r.get(), queued_[i].left(200));
                } catch (const DbError& e) {
                    first = e;
                }
            }
            while (Result rest{PQgetResult(conn_)}) {
            }
        }
        // the rest up to the sync point
        while (PQpipelineStatus(conn_) != PQ_PIPELINE_OFF && PQstatus(conn_) == CONNECTION_OK) {
            Result r(PQgetResult(conn_));
            if (r && PQresultStatus(r.get()) == PGRES_PIPELINE_SYNC) {
                PQexitPipelineMode(conn_);
                break;
            }
        }
        queued_.clear();
        if (PQpipelineStatus(conn_) != PQ_PIPELINE_OFF && !first)
            first = DbError(u"A conexão com o servidor foi perdida; a gravação não foi feita"_s, DbErrorKind::Connection);
        if (first)
            throw *first;
    }

private:
    void useSchema(const QString& schema)
    {
        PgStatement has(*this, u"SELECT 1 FROM pg_namespace WHERE nspname = ?"_s);
        has.bindText(1, schema.toUtf8());
        const bool exists = has.next();
        has.reset();
        if (!exists)
            exec(u"CREATE SCHEMA IF NOT EXISTS \"%1\""_s.arg(schema));
        exec(u"SET search_path = \"%1\""_s.arg(schema));
        PgStatement fn(*this, u"SELECT 1 FROM pg_proc WHERE proname = 'pcp_upper' AND pronamespace = "
                              u"(SELECT oid FROM pg_namespace WHERE nspname = current_schema())"_s);
        const bool hasUpper = fn.next();
        fn.reset();
        // searches that ignore case fold the whole of Unicode by the database's
        // character type, not only the ASCII letters of the column's byte order
        if (!hasUpper)
            exec(u"CREATE OR REPLACE FUNCTION pcp_upper(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE "
                 u"AS 'SELECT upper($1 COLLATE \"default\")'"_s);
    }

    static constexpr qsizetype kQueuedMax = 500;
    PGconn* conn_ = nullptr;
    QSet<PgStatement*> batches_;
    std::optional<DbError> keptError_;
    QStringList queued_;  // the writes sent and not yet answered
    int statements_ = 0;
    int changes_ = 0;
    qint64 lastRowId_ = 0;
};

PgStatement::PgStatement(PgConnection& conn, const QString& sql)
    : conn_(conn), sql_(sql), plain_(translateForPostgres(sql))
{
    values_.resize(size_t(plain_.parameters));
    null_.assign(size_t(plain_.parameters), true);
    binary_.assign(size_t(plain_.parameters), 0);
}

PgStatement::~PgStatement()
{
    if (batch_ && batch_->tamanho() > 0) {
        try {
            sendBatch();
        } catch (const DbError& e) {
            conn_.keepError(e);
        }
    }
    conn_.forget(this);
    if (!conn_.handle() || PQstatus(conn_.handle()) != CONNECTION_OK ||
        PQpipelineStatus(conn_.handle()) != PQ_PIPELINE_OFF)
        return;
    for (const QByteArray& name : std::as_const(prepared_)) {
        // a statement inside a failed transaction cannot be dropped now; the
        // server drops it with the connection
        if (PQtransactionStatus(conn_.handle()) == PQTRANS_INERROR)
            break;
        const QByteArray sql = QByteArray("DEALLOCATE ") + name;
        Result r(PQexec(conn_.handle(), sql.constData()));
    }
}

QByteArray PgStatement::blankPattern() const
{
    QByteArray pattern;
    if (plain_.blankSensitive)
        for (bool b : null_)
            pattern += b ? '1' : '0';
    return pattern;
}

const QByteArray& PgStatement::preparedName()
{
    const QByteArray pattern = blankPattern();
    auto it = prepared_.find(pattern);
    if (it != prepared_.end())
        return *it;
    const PgSql text = plain_.blankSensitive ? translateForPostgres(sql_, null_) : plain_;
    const QByteArray name = conn_.newStatementName();
    Result r(PQprepare(conn_.handle(), name.constData(), text.text.constData(), text.parameters, nullptr));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        fail(conn_.handle(), r.get(), sql_.left(200));
    return *prepared_.insert(pattern, name);
}

const PGresult* PgStatement::shape() const
{
    if (result_)
        return result_.get();
    if (!description_) {
        auto* self = const_cast<PgStatement*>(this);
        conn_.flush();
        description_.reset(PQdescribePrepared(conn_.handle(), self->preparedName().constData()));
        if (PQresultStatus(description_.get()) != PGRES_COMMAND_OK)
            fail(conn_.handle(), description_.get(), sql_.left(200));
    }
    return description_.get();
}

Result PgStatement::execute()
{
    conn_.flush();
    const QByteArray& name = preparedName();
    std::vector<const char*> values(values_.size());
    std::vector<int> lengths(values_.size());
    for (size_t i = 0; i < values_.size(); ++i) {
        values[i] = null_[i] ? nullptr : values_[i].constData();
        lengths[i] = int(values_[i].size());
    }
    Result r(PQexecPrepared(conn_.handle(), name.constData(), int(values_.size()), values.data(), lengths.data(),
                            binary_.data(), 0));
    const auto status = PQresultStatus(r.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        fail(conn_.handle(), r.get(), sql_.left(200));
    return r;
}

bool PgStatement::next()
{
    if (!result_) {
        result_ = execute();
        row_ = -1;
    }
    if (++row_ < PQntuples(result_.get()))
        return true;
    result_.reset();
    row_ = -1;
    return false;
}

int PgStatement::run()
{
    Result r = execute();
    const int changed = std::atoi(PQcmdTuples(r.get()));
    conn_.setChanges(changed);
    if (plain_.returnsRowId && PQntuples(r.get()) > 0)
        conn_.setLastRowId(std::strtoll(PQgetvalue(r.get(), PQntuples(r.get()) - 1, 0), nullptr, 10));
    return changed;
}

void PgStatement::prepareBatch(const PgLote::Forma& forma)
{
    conn_.flush();
    const QString probe = u"SELECT %1 FROM %2 LIMIT 0"_s.arg(forma.colunas.join(u", "_s), forma.tabela);
    Result r(PQexec(conn_.handle(), translateForPostgres(probe).text.constData()));
    if (PQresultStatus(r.get()) != PGRES_TUPLES_OK)
        return;  // run one by one; the statement itself reports what is wrong
    static const QHash<Oid, QString> names{{kInt2, u"int2"_s},     {kInt4, u"int4"_s},     {kInt8, u"int8"_s},
                                           {kFloat4, u"float4"_s}, {kFloat8, u"float8"_s}, {kNumeric, u"numeric"_s},
                                           {25, u"text"_s},        {1043, u"text"_s},      {1082, u"date"_s},
                                           {1083, u"time"_s},      {1114, u"timestamp"_s}};
    QStringList types;
    for (int c = 0; c < PQnfields(r.get()); ++c) {
        const auto it = names.constFind(PQftype(r.get(), c));
        if (it == names.cend())
            return;
        types << *it;
    }
    if (!forma.insercao)
        types << u"int8"_s;
    PgLote batch(forma, types);
    const QByteArray name = conn_.newStatementName();
    Result p(PQprepare(conn_.handle(), name.constData(), translateForPostgres(batch.texto()).text.constData(),
                       batch.parametros(), nullptr));
    if (PQresultStatus(p.get()) != PGRES_COMMAND_OK)
        return;
    batch_.emplace(std::move(batch));
    batchName_ = name;
}

void PgStatement::sendBatch()
{
    if (!batch_ || batch_->tamanho() == 0)
        return;
    const std::vector<QByteArray> arrays = batch_->retira();
    conn_.send(batchName_, arrays, std::vector<bool>(arrays.size(), false), std::vector<int>(arrays.size(), 0),
               sql_);
}

void PgStatement::queue()
{
    if (!conn_.inTransaction())
        return void(run());
    if (!batchChecked_) {
        batchChecked_ = true;
        const auto forma = PgLote::reconhece(sql_);
        if (forma && int(values_.size()) == int(forma->colunas.size()) + (forma->insercao ? 0 : 1))
            prepareBatch(*forma);
    }
    const bool binary = std::any_of(binary_.begin(), binary_.end(), [](int b) { return b != 0; });
    if (batch_ && !binary) {
        if (batch_->temLinha(values_.back().toLongLong()))
            sendBatch();
        batch_->adiciona(values_, null_);
        conn_.awaitBatch(this);
        if (batch_->tamanho() >= kBatchRows)
            sendBatch();
        return;
    }
    sendBatch();
    // the text must be on the server before the pipeline starts
    const bool known = prepared_.contains(blankPattern());
    if (!known)
        conn_.flush();
    conn_.send(preparedName(), values_, null_, binary_, sql_);
}

}  // namespace

QString conninfoWithDefaults(const QString& conninfo)
{
    QString out = conninfo.trimmed();
    const QList<std::pair<QString, QString>> defaults{{u"keepalives"_s, u"1"_s},
                                                      {u"keepalives_idle"_s, u"20"_s},
                                                      {u"keepalives_interval"_s, u"5"_s},
                                                      {u"keepalives_count"_s, u"4"_s},
                                                      {u"connect_timeout"_s, u"10"_s},
                                                      {u"application_name"_s, u"pcp"_s}};
    // a URI ("postgresql://...") takes its settings as query parameters
    const bool uri = out.startsWith(u"postgres"_s) && out.contains(u"://"_s);
    for (const auto& [key, value] : defaults) {
        const QRegularExpression given(u"(^|[\\s?&])"_s + key + u"\\s*="_s);
        if (given.match(out).hasMatch())
            continue;
        if (uri)
            out += (out.contains(u'?') ? u"&"_s : u"?"_s) + key + u'=' + value;
        else
            out += u' ' + key + u'=' + value;
    }
    return out;
}

std::unique_ptr<Connection> openPostgres(const ServidorConf& conf)
{
    return std::make_unique<PgConnection>(conf);
}

}  // namespace pcp::driver
