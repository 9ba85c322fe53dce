#pragma once
// Tables are declared once, as data: fields with their types and sizes, the
// primary key, the named secondary indexes and the display formats. Opening a
// store creates what is missing (tables, columns, indexes).
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace pcp {

enum class FieldType {
    SmallInt,  // 16-bit integer
    Integer,   // 32-bit integer
    AutoInc,   // 32-bit integer the store numbers on insert
    Float,
    Currency,  // money with 4 decimals, stored as REAL like floats
    String,    // size = maximum length
    Memo,
    Boolean,
    Date,
    Time,
    DateTime,
    Blob,
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;
    QString displayFormat;  // "###,##0.0000", "000", ...
    bool required = false;
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
    bool caseInsensitive = false;
};

class TableDef {
public:
    TableDef() = default;
    explicit TableDef(QString name) : name_(std::move(name)) {}

    TableDef& field(const QString& name, FieldType type, int size = 0, const QString& format = {});
    TableDef& string(const QString& name, int size) { return field(name, FieldType::String, size); }
    TableDef& key(const QStringList& fields);
    TableDef& index(const QString& name, const QStringList& fields, bool unique = false,
                    bool caseInsensitive = false);
    // Renames the table: the same layout under another name (monthly tables, scratch tables).
    TableDef renamed(const QString& name) const;

    const QString& name() const { return name_; }
    const QList<FieldDef>& fields() const { return fields_; }
    const QStringList& primaryKey() const { return primaryKey_; }
    const QList<IndexDef>& indexes() const { return indexes_; }

    // Case-insensitive lookups; -1 / nullptr when absent.
    int fieldIndex(const QString& name) const;
    const FieldDef* findField(const QString& name) const;
    const IndexDef* findIndex(const QString& name) const;

private:
    QString name_;
    QList<FieldDef> fields_;
    QStringList primaryKey_;
    QList<IndexDef> indexes_;
};

// The SQL type a field is stored as.
QString sqlType(FieldType type);
bool isNumeric(FieldType type);
bool isIntegral(FieldType type);

// Conversions between a field's value in memory (qint64, double, bool, QString,
// QDate, QTime, QDateTime, QByteArray) and its stored form.
QVariant fromStorage(const FieldDef& field, const QVariant& stored);
QVariant toStorage(const FieldDef& field, const QVariant& value);
// Checks and converts a value given to a field; throws DbError with a clear
// message for text that is not a number or date, or a text longer than the field.
QVariant coerceForField(const FieldDef& field, const QVariant& value);

// Quotes an identifier for SQL.
QString quoted(const QString& identifier);

// All tables the program knows, by name (case-insensitive). Each subsystem adds
// its declarations at start-up; a store creates or upgrades them when opened.
class Catalog {
public:
    static Catalog& global();
    void add(const TableDef& table);
    const TableDef* find(const QString& name) const;
    const TableDef& get(const QString& name) const;  // throws DbError when unknown
    const QList<TableDef>& tables() const { return tables_; }

    // A family of tables made at run time, all with one layout (the monthly
    // logs): their names are `prefix` followed by a text `suffix` (a regular
    // expression) matches whole; case ignored.
    void addFamily(const QString& prefix, const QString& suffix, const TableDef& layout);
    // The layout of the family `name` belongs to, under that name with the
    // family's spelling of the prefix; nothing when the name is of no family.
    std::optional<TableDef> familyMember(const QString& name) const;

private:
    struct Family {
        QString prefix, suffix;
        TableDef layout;
    };
    QList<TableDef> tables_;
    QList<Family> families_;
};

}  // namespace pcp
