#pragma once
// The one error type of the table layer: it carries the engine's text (already
// turned into the program's wording where the program tests it) and the SQLite
// extended result code.
#include <QString>
#include <stdexcept>

namespace pcp {

class DbError : public std::runtime_error {
public:
    DbError(const QString& message, int code = 0)
        : std::runtime_error(message.toStdString()), message_(message), code_(code) {}
    const QString& message() const { return message_; }
    int code() const { return code_; }
    bool isKeyViolation() const;

private:
    QString message_;
    int code_;
};

// The text every duplicate key is reported with.
inline constexpr const char16_t* kKeyViolation = u"Key violation.";

}  // namespace pcp
