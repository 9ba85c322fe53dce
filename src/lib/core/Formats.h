#pragma once
// How values are written and read, whatever the machine's locale: dates
// "dd/mm/yyyy", times "HH:mm:ss", months "yyyymm", numbers with the Brazilian
// separators (thousands ".", decimals ",").
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariantList>
#include <optional>
#include <stdexcept>
#include <string>

namespace pcp {

// A text that does not convert to the value asked for. what() is the UTF-8 of
// message(), which is the text shown to the user.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

// ---- dates, times, months --------------------------------------------------

QString formatDate(QDate date);               // "dd/mm/yyyy"; empty for a null date
QString formatTime(QTime time);               // "HH:mm:ss"; empty for a null time
QString formatDateTime(const QDateTime& dt);  // "dd/mm/yyyy HH:mm:ss"; empty for null

// Reads a date written day/month/year with "/" between the parts (surrounding
// blanks ignored). Day and month take one or two digits, the year four digits
// or one or two. A one- or two-digit year falls in the hundred years that start
// 50 years before the current year (in 2024: 00-73 are 2000-2073, 74-99 are
// 1974-1999). Anything else, or an impossible date, gives no value.
std::optional<QDate> parseDate(const QString& text);
// The same, throwing ConversionError "'<text>' não é uma data válida".
QDate toDate(const QString& text);


// ---- numbers ---------------------------------------------------------------

// Reads a number as people type it here: optional sign, digits, "," before the
// decimals and "." between groups of three ("1.234,56", "-3,5", "1.234.567").
// Without a comma, a single dot that does not read as a thousands separator
// (exactly three digits after it, one to three before, not starting with 0) is
// the decimal point ("12.5", "0.250", "1234.567"), so imported values also
// read; "1.234" stays one thousand two hundred thirty-four. Surrounding blanks
// are ignored; no exponents.
// Anything else throws ConversionError "'<text>' não é um número válido".
double toNumber(const QString& text);
// Optional sign and digits only; throws ConversionError
// "'<text>' não é um número inteiro válido" (also when out of range).
qint64 toInteger(const QString& text);

// A display mask in the style of the forms' masks: "0" a digit always shown,
// "#" a digit shown when significant, "." the decimal point, "," anywhere in
// the mask groups thousands. Text before the first and after the last
// placeholder is copied (quotes make anything literal). Up to three sections
// "positive;negative;zero"; the negative section is written without the sign.
// The value is rounded half away from zero at the mask's decimals, after being
// read to 15 significant digits (so 2.675 with "0.00" gives "2,68"); a value
// that rounds to zero never shows "-". An empty mask writes the value with up
// to 15 significant digits.
QString formatMask(const QString& mask, double value);

// printf-like formatting as the reports use it: %s, %d, %x, %f, %n, %e and %%,
// each "%[-][width][.precision]type". Width right-aligns with blanks, "-"
// left-aligns. %d/%x: precision is the minimum number of digits (zero-padded);
// integer arguments only. %f: fixed decimals; %n: the same with thousands
// separators; both default to 2 decimals and round half away from zero.
// %e: scientific with precision significant digits (default 15) and a
// three-digit exponent. %s: precision is the maximum length.
// A bad format directive, a missing or unfit argument throws ConversionError.
QString formatText(const QString& fmt, const QVariantList& args);

// ---- decimal digits, shared with Decimal4 -----------------------------------

// |value| read to 15 significant digits and rounded at `decimals` places
// (half away from zero, or half to even): the integer digits without leading
// zeros (empty for zero) and exactly `decimals` fraction digits. `negative` is
// set only when the rounded value is not zero. The value must be finite.
struct DecimalDigits {
    bool negative = false;
    std::string integer;
    std::string fraction;
};
DecimalDigits decimalDigits(double value, int decimals, bool tiesToEven = false);

}  // namespace pcp
