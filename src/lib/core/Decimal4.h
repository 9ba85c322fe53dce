#pragma once
// Money and quantities with four decimals: a count of ten-thousandths in a
// 64-bit integer, so sums and comparisons are exact.
#include <QtGlobal>
#include <compare>

namespace pcp {

class Decimal4 {
public:
    static constexpr qint64 Scale = 10000;
    enum class Rounding { HalfAwayFromZero, HalfToEven };

    constexpr Decimal4() = default;
    static constexpr Decimal4 fromRaw(qint64 tenThousandths) { return Decimal4(tenThousandths); }
    static constexpr Decimal4 fromInt(qint64 units) { return Decimal4(units * Scale); }
    // The nearest value with four decimals, reading the double to 15
    // significant digits first (so 0.00005 is a tie). Throws
    // std::overflow_error for a value out of range, NaN or infinity.
    static Decimal4 fromDouble(double value, Rounding rounding = Rounding::HalfAwayFromZero);

    constexpr qint64 raw() const { return raw_; }
    double toDouble() const { return double(raw_) / Scale; }
    constexpr bool isZero() const { return raw_ == 0; }

    // Sums, products and quotients throw std::overflow_error when out of range;
    // products and quotients round half away from zero at four decimals;
    // dividing by zero throws std::domain_error.
    Decimal4 operator+(Decimal4 other) const;
    Decimal4 operator-(Decimal4 other) const;
    Decimal4 operator-() const;
    Decimal4 operator*(Decimal4 other) const;
    Decimal4 operator/(Decimal4 other) const;
    Decimal4& operator+=(Decimal4 other) { return *this = *this + other; }
    Decimal4& operator-=(Decimal4 other) { return *this = *this - other; }

    constexpr auto operator<=>(const Decimal4&) const = default;

private:
    constexpr explicit Decimal4(qint64 raw) : raw_(raw) {}
    qint64 raw_ = 0;
};

}  // namespace pcp
