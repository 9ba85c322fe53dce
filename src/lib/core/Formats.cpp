#include "Formats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

bool isAsciiDigits(QStringView s)
{
    return !s.isEmpty()
        && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Thousands groups: "12.345", "1.234.567" (no leading zero in the first group).
bool isGroupedDigits(const QString& s)
{
    const QStringList groups = s.split(u'.');
    if (groups.size() < 2 || groups[0].startsWith(u'0'))
        return false;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype n = groups[i].size();
        if (!isAsciiDigits(groups[i]) || n > 3 || (i > 0 && n != 3))
            return false;
    }
    return true;
}

int expandYear(int year)
{
    // The hundred years starting 50 years ago.
    const int start = QDate::currentDate().year() - 50;
    year += start / 100 * 100;
    return year < start ? year + 100 : year;
}

QString groupThousands(const QString& digits)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u'.';
        out += digits[i];
    }
    return out;
}

QString pad(const QString& s, int width, bool left)
{
    return left ? s.leftJustified(width) : s.rightJustified(width);
}

// Fixed decimals with the decimal comma, optionally grouping thousands.
QString fixed(double value, int decimals, bool thousands)
{
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value < 0 ? u"-INF"_s : u"INF"_s;
    const DecimalDigits d = decimalDigits(value, decimals);
    QString integer = d.integer.empty() ? u"0"_s : QString::fromLatin1(d.integer);
    if (thousands)
        integer = groupThousands(integer);
    QString out = d.negative ? u"-"_s + integer : integer;
    if (decimals > 0)
        out += u',' + QString::fromLatin1(d.fraction);
    return out;
}

// One section of a display mask.
struct MaskSection {
    QString prefix, suffix;
    int minInt = 0;      // integer digits always shown
    int decimals = 0;    // decimal placeholders
    int minFrac = 0;     // decimals always shown
    bool thousands = false;
    bool empty = true;
};

MaskSection parseSection(const QString& text)
{
    MaskSection s;
    s.empty = text.isEmpty();
    bool placeholder = false, point = false;
    int intCount = 0, firstZero = -1;
    QString pending;  // literal text after the first placeholder
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'0' || c == u'#') {
            placeholder = true;
            pending.clear();  // text between placeholders is not shown
            if (point) {
                ++s.decimals;
                if (c == u'0')
                    s.minFrac = s.decimals;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = intCount;
                ++intCount;
            }
        } else if (c == u'.') {
            point = true;
        } else if (c == u',') {
            s.thousands = true;
        } else {
            QString literal(c);
            if (c == u'\'' || c == u'"') {
                const qsizetype end = text.indexOf(c, i + 1);
                const qsizetype stop = end < 0 ? text.size() : end;
                literal = text.mid(i + 1, stop - i - 1);
                i = stop;
            }
            (placeholder || point ? pending : s.prefix) += literal;
        }
    }
    s.suffix = pending;
    s.minInt = firstZero < 0 ? 0 : intCount - firstZero;
    return s;
}

QString render(const MaskSection& s, const DecimalDigits& d, bool sign)
{
    QString integer = QString::fromLatin1(d.integer).rightJustified(s.minInt, u'0');
    if (s.thousands)
        integer = groupThousands(integer);
    QString fraction = QString::fromLatin1(d.fraction);
    while (fraction.size() > s.minFrac && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString out = sign ? u"-"_s : QString();
    out += s.prefix + integer;
    if (!fraction.isEmpty())
        out += u',' + fraction;
    return out + s.suffix;
}

bool isZero(const DecimalDigits& d)
{
    return d.integer.empty() && d.fraction.find_first_not_of('0') == std::string::npos;
}

QStringList splitSections(const QString& mask)
{
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isNumeric(const QVariant& v)
{
    return isIntegral(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

QString scientific(double value, int precision)
{
    precision = std::clamp(precision, 1, 18);
    const QString s = QString::asprintf("%.*E", precision - 1, value);
    const qsizetype e = s.indexOf(u'E');
    QString mantissa = s.left(e);
    mantissa.replace(u'.', u',');
    if (e < 0)  // NAN, INF
        return mantissa;
    return mantissa + u'E' + s[e + 1] + s.mid(e + 2).rightJustified(3, u'0');
}

}  // namespace

// ---- dates, times, months --------------------------------------------------

QString formatDate(QDate date)
{
    return date.isValid()
        ? QString::asprintf("%02d/%02d/%04d", date.day(), date.month(), date.year())
        : QString();
}

QString formatTime(QTime time)
{
    return time.isValid()
        ? QString::asprintf("%02d:%02d:%02d", time.hour(), time.minute(), time.second())
        : QString();
}

QString formatDateTime(const QDateTime& dt)
{
    return dt.isValid() ? formatDate(dt.date()) + u' ' + formatTime(dt.time()) : QString();
}

std::optional<QDate> parseDate(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), isAsciiDigits))
        return std::nullopt;
    const qsizetype yearDigits = parts[2].size();
    if (parts[0].size() > 2 || parts[1].size() > 2 || yearDigits == 3 || yearDigits > 4)
        return std::nullopt;
    int year = parts[2].toInt();
    if (yearDigits <= 2)
        year = expandYear(year);
    const QDate date(year, parts[1].toInt(), parts[0].toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QDate toDate(const QString& text)
{
    if (const auto date = parseDate(text))
        return *date;
    throw ConversionError(u"'%1' não é uma data válida"_s.arg(text));
}

// ---- numbers ---------------------------------------------------------------

double toNumber(const QString& text)
{
    const auto fail = [&]() -> double {
        throw ConversionError(u"'%1' não é um número válido"_s.arg(text));
    };
    QString t = text.trimmed();
    QString sign;
    if (t.startsWith(u'-') || t.startsWith(u'+'))
        sign = t.left(1), t.remove(0, 1);
    QString integer = t, fraction;
    qsizetype point = t.indexOf(u',');
    if (point < 0 && t.count(u'.') == 1 && !isGroupedDigits(t))
        point = t.indexOf(u'.');  // "12.5", "1234.567": a decimal point
    if (point >= 0)
        integer = t.left(point), fraction = t.mid(point + 1);
    const bool integerOk = integer.isEmpty() || isAsciiDigits(integer) || isGroupedDigits(integer);
    const bool fractionOk = fraction.isEmpty() || isAsciiDigits(fraction);
    if (!integerOk || !fractionOk || (integer.isEmpty() && fraction.isEmpty()))
        return fail();
    integer.remove(u'.');
    bool ok = false;
    const QString canonical = sign + (integer.isEmpty() ? u"0"_s : integer) + u'.'
        + (fraction.isEmpty() ? u"0"_s : fraction);
    const double value = canonical.toDouble(&ok);
    return ok && std::isfinite(value) ? value : fail();
}

qint64 toInteger(const QString& text)
{
    const QString t = text.trimmed();
    const QStringView digits = t.startsWith(u'-') || t.startsWith(u'+') ? QStringView(t).mid(1)
                                                                         : QStringView(t);
    bool ok = false;
    const qint64 value = isAsciiDigits(digits) ? t.toLongLong(&ok) : 0;
    if (!ok)
        throw ConversionError(u"'%1' não é um número inteiro válido"_s.arg(text));
    return value;
}

DecimalDigits decimalDigits(double value, int decimals, bool tiesToEven)
{
    decimals = std::max(decimals, 0);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));  // d.dddddddddddddde±x
    std::string digits(1, buf[0]);
    digits.append(buf + 2, 14);
    int intLen = std::atoi(buf + 17) + 1;
    if (intLen <= 0) {
        digits.insert(0, size_t(-intLen), '0');
        intLen = 0;
    }
    if (size_t(intLen) > digits.size())
        digits.resize(size_t(intLen), '0');

    const size_t keep = size_t(intLen) + size_t(decimals);
    if (digits.size() > keep) {
        const char next = digits[keep];
        const bool rest = digits.find_first_not_of('0', keep + 1) != std::string::npos;
        const bool odd = keep > 0 && (digits[keep - 1] - '0') % 2 == 1;
        bool up = next > '5' || (next == '5' && (!tiesToEven || rest || odd));
        digits.resize(keep);
        for (size_t i = keep; up; --i) {
            if (i == 0) {
                digits.insert(0, 1, '1');
                ++intLen;
                break;
            }
            up = digits[i - 1] == '9';
            digits[i - 1] = up ? '0' : char(digits[i - 1] + 1);
        }
    } else {
        digits.resize(keep, '0');
    }

    DecimalDigits d;
    d.integer = digits.substr(0, size_t(intLen));
    d.fraction = digits.substr(size_t(intLen));
    d.integer.erase(0, std::min(d.integer.find_first_not_of('0'), d.integer.size()));
    d.negative = value < 0 && !isZero(d);
    return d;
}

QString formatMask(const QString& mask, double value)
{
    if (std::isnan(value) || std::isinf(value))
        return fixed(value, 0, false);
    const QStringList texts = splitSections(mask);
    const MaskSection first = parseSection(texts[0]);
    if (first.empty) {
        QString s = QString::asprintf("%.15G", value);
        return s.replace(u'.', u',');
    }
    DecimalDigits d = decimalDigits(value, first.decimals);
    if (texts.size() > 2 && isZero(d) && !texts[2].isEmpty())
        return render(parseSection(texts[2]), decimalDigits(0, 0), false);
    if (value < 0 && texts.size() > 1 && !texts[1].isEmpty()) {
        const MaskSection negative = parseSection(texts[1]);
        return render(negative, decimalDigits(value, negative.decimals), false);
    }
    return render(first, d, d.negative);
}

QString formatText(const QString& fmt, const QVariantList& args)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != u'%') {
            out += fmt[i];
            continue;
        }
        const qsizetype start = i++;
        if (i < fmt.size() && fmt[i] == u'%') {
            out += u'%';
            continue;
        }
        const bool left = i < fmt.size() && fmt[i] == u'-';
        if (left)
            ++i;
        const auto number = [&]() {
            int n = 0;
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9')
                n = n * 10 + (fmt[i++].unicode() - u'0');
            return n;
        };
        const int width = number();
        int precision = -1;
        if (i < fmt.size() && fmt[i] == u'.')
            ++i, precision = number();
        const QChar type = i < fmt.size() ? fmt[i].toLower() : QChar();
        const auto bad = [&]() {
            throw ConversionError(u"Formato '%1' inválido ou incompatível com o argumento"_s
                                      .arg(fmt.mid(start, i - start + 1)));
        };
        if (next >= args.size())
            bad();
        const QVariant& arg = args[next++];

        QString s;
        if (type == u'd' || type == u'x') {
            if (!isIntegral(arg))
                bad();
            const bool unsignedArg = arg.typeId() == QMetaType::ULongLong
                || arg.typeId() == QMetaType::ULong || arg.typeId() == QMetaType::UInt;
            const qint64 v = unsignedArg ? qint64(arg.toULongLong()) : arg.toLongLong();
            if (type == u'x') {
                s = QString::number(quint64(v), 16).toUpper().rightJustified(precision, u'0');
            } else {
                const quint64 magnitude = v < 0 ? 0 - quint64(v) : quint64(v);
                s = QString::number(magnitude).rightJustified(precision, u'0');
                if (v < 0)
                    s.prepend(u'-');
            }
        } else if (type == u'f' || type == u'n' || type == u'e') {
            if (!isNumeric(arg))
                bad();
            if (type == u'e')
                s = scientific(arg.toDouble(), precision < 0 ? 15 : precision);
            else
                s = fixed(arg.toDouble(), precision < 0 ? 2 : precision, type == u'n');
        } else if (type == u's') {
            s = arg.toString();
            if (precision >= 0)
                s.truncate(precision);
        } else {
            bad();
        }
        out += pad(s, width, left);
    }
    return out;
}

}  // namespace pcp
