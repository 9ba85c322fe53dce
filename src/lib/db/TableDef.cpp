#include "TableDef.h"

#include "DbError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableDef& TableDef::field(const QString& name, FieldType type, int size, const QString& format)
{
    fields_.append(FieldDef{name, type, size, format, false});
    return *this;
}

TableDef& TableDef::key(const QStringList& fields)
{
    primaryKey_ = fields;
    return *this;
}

TableDef& TableDef::index(const QString& name, const QStringList& fields, bool unique,
                          bool caseInsensitive)
{
    indexes_.append(IndexDef{name, fields, unique, caseInsensitive});
    return *this;
}

TableDef TableDef::renamed(const QString& name) const
{
    TableDef copy = *this;
    copy.name_ = name;
    return copy;
}

int TableDef::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const FieldDef* TableDef::findField(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields_[i];
}

const IndexDef* TableDef::findIndex(const QString& name) const
{
    for (const IndexDef& idx : indexes_)
        if (idx.name.compare(name, Qt::CaseInsensitive) == 0)
            return &idx;
    return nullptr;
}

QString sqlType(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Boolean: return u"INTEGER"_s;
    case FieldType::Float:
    case FieldType::Currency: return u"REAL"_s;
    case FieldType::Blob: return u"BLOB"_s;
    default: return u"TEXT"_s;
    }
}

bool isIntegral(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::AutoInc;
}

bool isNumeric(FieldType type)
{
    return isIntegral(type) || type == FieldType::Float || type == FieldType::Currency;
}

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(u'"', u"\"\""_s);
    return u'"' + q + u'"';
}

QVariant fromStorage(const FieldDef& field, const QVariant& stored)
{
    if (stored.isNull())
        return {};
    switch (field.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: return stored.toLongLong();
    case FieldType::Float:
    case FieldType::Currency: return stored.toDouble();
    case FieldType::Boolean: return stored.toLongLong() != 0;
    case FieldType::Date: return QDate::fromString(stored.toString(), u"yyyy-MM-dd"_s);
    case FieldType::Time: return QTime::fromString(stored.toString(), u"HH:mm:ss"_s);
    case FieldType::DateTime: return QDateTime::fromString(stored.toString(), u"yyyy-MM-dd HH:mm:ss"_s);
    case FieldType::Blob: return stored.toByteArray();
    case FieldType::String:
    case FieldType::Memo: return stored.toString();
    }
    return stored;
}

QVariant toStorage(const FieldDef& field, const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (field.type) {
    case FieldType::Boolean: return qint64(value.toBool() ? 1 : 0);
    case FieldType::Date: return value.toDate().toString(u"yyyy-MM-dd"_s);
    case FieldType::Time: return value.toTime().toString(u"HH:mm:ss"_s);
    case FieldType::DateTime: return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    case FieldType::String:
    case FieldType::Memo: {
        const QString s = value.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    default: return value;
    }
}

namespace {
[[noreturn]] void badValue(const FieldDef& f, const QString& text, const QString& what)
{
    throw DbError(u"'%1' não é %2 (campo %3)"_s.arg(text, what, f.name), DbErrorKind::Refused).setField(f.name);
}

bool isText(const QVariant& v) { return v.typeId() == QMetaType::QString; }

// A typed text is read in the preferred form, else in the other accepted one.
template <typename T>
T parseEither(const QVariant& v, const QString& preferred, const QString& other)
{
    const QString s = v.toString().trimmed();
    const T parsed = T::fromString(s, preferred);
    return parsed.isValid() ? parsed : T::fromString(s, other);
}

// A date or time field's value: the native one given, else read from its text.
template <typename T>
T temporal(const FieldDef& f, const QVariant& value, const std::optional<T>& native, const QString& preferred,
           const QString& other, const QString& what)
{
    const T t = native ? *native : parseEither<T>(value, preferred, other);
    if (!t.isValid())
        badValue(f, value.toString(), what);
    return t;
}

// A date is also read from the text of any value that is not a date.
std::optional<QDate> nativeDate(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return std::nullopt;
}

std::optional<QTime> nativeTime(const QVariant& v)
{
    if (isText(v))
        return std::nullopt;
    return v.typeId() == QMetaType::QTime ? v.toTime() : QTime();
}

std::optional<QDateTime> nativeDateTime(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (isText(v))
        return std::nullopt;
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
}

qint64 toInteger(const FieldDef& f, const QVariant& v)
{
    if (isText(v)) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            badValue(f, v.toString(), u"um número inteiro válido"_s);
        return n;
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            badValue(f, v.toString(), u"um número inteiro válido"_s);
        return std::llround(d);
    }
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok)
        badValue(f, v.toString(), u"um número inteiro válido"_s);
    return n;
}

double toReal(const FieldDef& f, const QVariant& v)
{
    bool ok = false;
    double d = 0;
    if (isText(v)) {
        QString s = v.toString().trimmed();
        if (!s.contains(u'.'))
            s.replace(u',', u'.');
        d = s.toDouble(&ok);
    } else {
        d = v.toDouble(&ok);
    }
    if (!ok || !std::isfinite(d))
        badValue(f, v.toString(), u"um número válido"_s);
    return d;
}
}  // namespace

QVariant coerceForField(const FieldDef& f, const QVariant& value)
{
    if (value.isNull() || (isText(value) && value.toString().isEmpty()))
        return {};
    switch (f.type) {
    case FieldType::String:
    case FieldType::Memo: {
        const QString s = value.toString();
        if (f.type == FieldType::String && f.size > 0 && s.size() > f.size)
            throw DbError(u"O texto \"%1\" excede o tamanho do campo %2 (%3 caracteres)"_s.arg(s, f.name)
                              .arg(f.size),
                          DbErrorKind::Refused)
                .setField(f.name);
        return s;
    }
    case FieldType::SmallInt: {
        const qint64 n = toInteger(f, value);
        if (n < -32768 || n > 32767)
            badValue(f, QString::number(n), u"um número entre -32768 e 32767"_s);
        return n;
    }
    case FieldType::Integer:
    case FieldType::AutoInc: {
        const qint64 n = toInteger(f, value);
        if (n < INT32_MIN || n > INT32_MAX)
            badValue(f, QString::number(n), u"um número inteiro de 32 bits"_s);
        return n;
    }
    case FieldType::Float:
    case FieldType::Currency: return toReal(f, value);
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::Bool)
            return value;
        if (isText(value)) {
            const QString s = value.toString().trimmed().toUpper();
            if (s == u"S"_s || s == u"TRUE"_s || s == u"1"_s)
                return true;
            if (s == u"N"_s || s == u"FALSE"_s || s == u"0"_s)
                return false;
            badValue(f, value.toString(), u"um valor lógico válido"_s);
        }
        return toInteger(f, value) != 0;
    }
    case FieldType::Date:
        return temporal(f, value, nativeDate(value), u"dd/MM/yyyy"_s, u"yyyy-MM-dd"_s, u"uma data válida"_s);
    case FieldType::Time:
        return temporal(f, value, nativeTime(value), u"HH:mm:ss"_s, u"HH:mm"_s, u"uma hora válida"_s);
    case FieldType::DateTime:
        return temporal(f, value, nativeDateTime(value), u"dd/MM/yyyy HH:mm:ss"_s, u"yyyy-MM-dd HH:mm:ss"_s,
                        u"uma data e hora válidas"_s);
    case FieldType::Blob: return value.toByteArray();
    }
    return value;
}

Catalog& Catalog::global()
{
    static Catalog catalog;
    return catalog;
}

void Catalog::add(const TableDef& table)
{
    for (TableDef& t : tables_)
        if (t.name().compare(table.name(), Qt::CaseInsensitive) == 0) {
            t = table;
            return;
        }
    tables_.append(table);
}

const TableDef* Catalog::find(const QString& name) const
{
    for (const TableDef& t : tables_)
        if (t.name().compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const TableDef& Catalog::get(const QString& name) const
{
    if (const TableDef* t = find(name))
        return *t;
    throw DbError(u"Tabela nao declarada: "_s + name, DbErrorKind::Refused);
}

void Catalog::addFamily(const QString& prefix, const QString& suffix, const TableDef& layout)
{
    families_.append({prefix, suffix, layout});
}

std::optional<TableDef> Catalog::familyMember(const QString& name) const
{
    for (const Family& f : families_) {
        if (!name.startsWith(f.prefix, Qt::CaseInsensitive))
            continue;
        const QString rest = name.mid(f.prefix.size());
        if (QRegularExpression(QRegularExpression::anchoredPattern(f.suffix), QRegularExpression::CaseInsensitiveOption)
                .match(rest)
                .hasMatch())
            return f.layout.renamed(f.prefix + rest);
    }
    return std::nullopt;
}

}  // namespace pcp
