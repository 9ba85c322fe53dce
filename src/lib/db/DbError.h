#pragma once
// The one error type of the table layer: it carries the engine's text (already
// turned into the program's wording where the program tests it), the engine's
// own result code, and a kind. Code decides on the kind, never on the text.
#include <QString>
#include <stdexcept>

namespace pcp {

enum class DbErrorKind {
    Engine,           // anything else the engine reports (full disk, read-only folder, ...)
    KeyViolation,     // a duplicate key: the text is always "Key violation."
    RecordLocked,     // another workstation holds the record's lock
    RecordGone,       // the record was deleted (by another workstation) meanwhile
    NoCurrentRecord,  // edit, delete or a field read with no record under the cursor
    Refused,          // a value or an operation the table layer refuses (bad number, text too long)
    Conflict,         // the server gave up a transaction for another's (deadlock, serialization): retry
    Connection,       // the server cannot be reached or the connection was lost: nothing was applied
};

class DbError : public std::runtime_error {
public:
    DbError(const QString& message, int code = 0, DbErrorKind kind = DbErrorKind::Engine)
        : std::runtime_error(message.toStdString()), message_(message), code_(code), kind_(kind) {}
    DbError(const QString& message, DbErrorKind kind) : DbError(message, 0, kind) {}
    const QString& message() const { return message_; }
    int code() const { return code_; }
    DbErrorKind kind() const { return kind_; }
    bool isKeyViolation() const { return kind_ == DbErrorKind::KeyViolation; }
    // The field a refused value was meant for (its declared name), so a screen
    // can name it by its label; empty when the error is not about one field.
    const QString& field() const { return field_; }
    DbError& setField(const QString& field)
    {
        field_ = field;
        return *this;
    }

private:
    QString message_;
    QString field_;
    int code_;
    DbErrorKind kind_;
};

// The text every duplicate key is reported with.
inline constexpr const char16_t* kKeyViolation = u"Key violation.";

}  // namespace pcp
