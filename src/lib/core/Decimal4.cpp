#include "Decimal4.h"

#include "Formats.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace pcp {

namespace {

__extension__ typedef __int128 Wide;

[[noreturn]] void overflow() { throw std::overflow_error("Valor fora da faixa"); }

qint64 checked(Wide v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        overflow();
    return qint64(v);
}

// n / d rounded half away from zero.
Wide divideRounded(Wide n, Wide d)
{
    if (d < 0)
        n = -n, d = -d;
    const Wide q = n / d, r = n % d;
    if (2 * (r < 0 ? -r : r) >= d)
        return n < 0 ? q - 1 : q + 1;
    return q;
}

}  // namespace

Decimal4 Decimal4::fromDouble(double value, Rounding rounding)
{
    // 15 significant digits only hold values under 10^15.
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        overflow();
    const DecimalDigits d = decimalDigits(value, 4, rounding == Rounding::HalfToEven);
    Wide raw = 0;
    for (const char c : d.integer + d.fraction)
        raw = raw * 10 + (c - '0');
    return Decimal4(checked(d.negative ? -raw : raw));
}

Decimal4 Decimal4::operator+(Decimal4 other) const
{
    return Decimal4(checked(Wide(raw_) + other.raw_));
}

Decimal4 Decimal4::operator-(Decimal4 other) const
{
    return Decimal4(checked(Wide(raw_) - other.raw_));
}

Decimal4 Decimal4::operator-() const { return Decimal4(checked(-Wide(raw_))); }

Decimal4 Decimal4::operator*(Decimal4 other) const
{
    return Decimal4(checked(divideRounded(Wide(raw_) * other.raw_, Scale)));
}

Decimal4 Decimal4::operator/(Decimal4 other) const
{
    if (other.raw_ == 0)
        throw std::domain_error("Divisão por zero");
    return Decimal4(checked(divideRounded(Wide(raw_) * Scale, other.raw_)));
}

}  // namespace pcp
