#include "Decimal4.h"
#include "Formats.h"

#include <QDate>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using pcp::Decimal4;

namespace {

constexpr auto Away = Decimal4::Rounding::HalfAwayFromZero;
constexpr auto Even = Decimal4::Rounding::HalfToEven;

TEST(Decimal4, FromDoubleRoundsAtFourDecimals)
{
    struct Case {
        double value;
        Decimal4::Rounding rounding;
        qint64 raw;
    };
    const Case cases[] = {
        {2.675, Away, 26750},
        {0.1, Away, 1000},
        {0.00005, Away, 1},          // a tie once read to 15 digits
        {0.00005, Even, 0},
        {0.00015, Even, 2},
        {-0.00005, Away, -1},
        {-0.00005, Even, 0},
        {-0.00015, Even, -2},
        {1.23445, Away, 12345},
        {1.23445, Even, 12344},
        {1.234451, Even, 12345},     // beyond the tie: no evenness
        {0.00004999, Away, 0},
        {-0.00004, Away, 0},
        {9.99995, Away, 100000},     // carry into the integer part
        {-9.99995, Away, -100000},
        {1e-20, Away, 0},
        {123456789.12345, Away, 1234567891235},
        {-92233720368.5477, Away, -922337203685477},
        {900000000000000.0, Away, 9000000000000000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << (c.rounding == Even ? " even" : " away"));
        EXPECT_EQ(Decimal4::fromDouble(c.value, c.rounding).raw(), c.raw);
    }
}

TEST(Decimal4, FromDoubleRefusesWhatDoesNotFit)
{
    for (double v : {930000000000000.0, -1e300, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(Decimal4::fromDouble(v), std::overflow_error) << v;
}

TEST(Decimal4, SumsAreExactWhereDoublesAreNot)
{
    const Decimal4 sum = Decimal4::fromDouble(0.1) + Decimal4::fromDouble(0.2);
    EXPECT_EQ(sum, Decimal4::fromDouble(0.3));
    EXPECT_EQ(sum.toDouble(), 0.3);
    Decimal4 total;
    for (int i = 0; i < 1000; ++i)
        total += Decimal4::fromRaw(1);
    total -= Decimal4::fromDouble(0.1);
    EXPECT_TRUE(total.isZero());
    EXPECT_EQ(Decimal4::fromRaw(26750).toDouble(), 2.675);
}

TEST(Decimal4, ProductsAndQuotientsRoundHalfAwayFromZero)
{
    struct Case {
        char op;
        qint64 a, b, expected;
    };
    const Case cases[] = {
        {'*', 15000, 25000, 37500},         // 1.5 * 2.5
        {'*', 1, 5000, 1},                  // 0.0001 * 0.5 = 0.00005
        {'*', -1, 5000, -1},
        {'*', 1, 4999, 0},
        {'*', 30000, -12345, -37035},
        {'*', -20000, -20000, 40000},
        {'*', 10000000000000000, 5000, 5000000000000000},  // needs the wide product
        {'/', 10000, 30000, 3333},          // 1 / 3
        {'/', 20000, 30000, 6667},
        {'/', -20000, 30000, -6667},
        {'/', 20000, -30000, -6667},
        {'/', -20000, -30000, 6667},
        {'/', 1, 20000, 1},                 // 0.0001 / 2 = 0.00005
        {'/', 100000, 1, 1000000000},       // 10 / 0.0001
        {'/', 9000000000000000000, 20000, 4500000000000000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << c.op << c.b);
        const Decimal4 a = Decimal4::fromRaw(c.a), b = Decimal4::fromRaw(c.b);
        EXPECT_EQ((c.op == '*' ? a * b : a / b).raw(), c.expected);
    }
}

TEST(Decimal4, OverflowAndDivisionByZeroThrow)
{
    const Decimal4 max = Decimal4::fromRaw(std::numeric_limits<qint64>::max());
    const Decimal4 min = Decimal4::fromRaw(std::numeric_limits<qint64>::min());
    const Decimal4 one = Decimal4::fromInt(1);
    EXPECT_THROW(max + Decimal4::fromRaw(1), std::overflow_error);
    EXPECT_THROW(min - Decimal4::fromRaw(1), std::overflow_error);
    EXPECT_THROW(-min, std::overflow_error);
    EXPECT_THROW(max * Decimal4::fromInt(2), std::overflow_error);
    EXPECT_THROW(max / Decimal4::fromRaw(5000), std::overflow_error);
    EXPECT_THROW(one / Decimal4(), std::domain_error);
    EXPECT_EQ((max * one).raw(), max.raw());
    EXPECT_EQ((-max).raw(), -max.raw());
}

TEST(Decimal4, Ordering)
{
    std::vector<Decimal4> values = {Decimal4::fromDouble(2.5), Decimal4::fromDouble(-0.0001),
                                    Decimal4(), Decimal4::fromInt(-3), Decimal4::fromDouble(2.4999)};
    std::sort(values.begin(), values.end());
    std::vector<qint64> raws;
    for (const Decimal4& d : values)
        raws.push_back(d.raw());
    EXPECT_EQ(raws, (std::vector<qint64>{-30000, -1, 0, 24999, 25000}));
    EXPECT_LT(Decimal4::fromInt(-1), Decimal4());
    EXPECT_NE(Decimal4::fromRaw(1), Decimal4());
}

// ---- dates and months ------------------------------------------------------

TEST(FormatsDate, WritesFixedFormats)
{
    EXPECT_EQ(pcp::formatDate(QDate(2024, 3, 5)), u"05/03/2024"_s);
    EXPECT_EQ(pcp::formatDate(QDate(812, 12, 31)), u"31/12/0812"_s);
    EXPECT_EQ(pcp::formatDate(QDate()), QString());
    EXPECT_EQ(pcp::formatTime(QTime(7, 5, 9)), u"07:05:09"_s);
    EXPECT_EQ(pcp::formatTime(QTime(23, 59, 59, 999)), u"23:59:59"_s);
    EXPECT_EQ(pcp::formatTime(QTime()), QString());
    EXPECT_EQ(pcp::formatDateTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))),
              u"02/01/2024 03:04:05"_s);
}

TEST(FormatsDate, ParsesDayMonthYear)
{
    struct Case {
        QString text;
        QDate expected;  // null: rejected
    };
    const Case cases[] = {
        {u"05/03/2024"_s, QDate(2024, 3, 5)},
        {u"5/3/2024"_s, QDate(2024, 3, 5)},
        {u" 05/03/2024 "_s, QDate(2024, 3, 5)},
        {u"29/02/2024"_s, QDate(2024, 2, 29)},
        {u"05/03/24"_s, QDate(2024, 3, 5)},
        {u"29/02/2023"_s, QDate()},
        {u"31/04/2024"_s, QDate()},
        {u"32/13/2020"_s, QDate()},
        {u"00/01/2020"_s, QDate()},
        {u"01/00/2020"_s, QDate()},
        {u"01/01/0000"_s, QDate()},
        {u"05-03-2024"_s, QDate()},
        {u"2024-03-05"_s, QDate()},
        {u"05/03"_s, QDate()},
        {u"05/03/2024/1"_s, QDate()},
        {u"05/03/202"_s, QDate()},
        {u"05/03/20245"_s, QDate()},
        {u"005/03/2024"_s, QDate()},
        {u"05/+3/2024"_s, QDate()},
        {u"05 /03/2024"_s, QDate()},
        {u"ab/03/2024"_s, QDate()},
        {u"  /  /    "_s, QDate()},
        {QString(), QDate()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::optional<QDate> d = pcp::parseDate(c.text);
        EXPECT_EQ(d.value_or(QDate()), c.expected);
        if (c.expected.isValid())
            EXPECT_EQ(pcp::toDate(c.text), c.expected);
        else
            EXPECT_THROW(pcp::toDate(c.text), pcp::ConversionError);
    }
}

TEST(FormatsDate, TwoDigitYearsFallInAHundredYearWindow)
{
    const int now = QDate::currentDate().year();
    for (int yy : {0, 1, 24, 49, 50, 73, 74, 99}) {
        SCOPED_TRACE(yy);
        const auto d = pcp::parseDate(QString::asprintf("15/06/%02d", yy));
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->year() % 100, yy);
        EXPECT_GE(d->year(), now - 50);
        EXPECT_LT(d->year(), now + 50);
        EXPECT_EQ(pcp::parseDate(QString::asprintf("15/06/%d", yy)), d);  // one digit too
    }
}

TEST(FormatsDate, ConversionErrorCarriesTheText)
{
    try {
        pcp::toDate(u"32/13/2020"_s);
        FAIL() << "no exception";
    } catch (const pcp::ConversionError& e) {
        EXPECT_EQ(e.message(), u"'32/13/2020' não é uma data válida"_s);
        EXPECT_STREQ(e.what(), "'32/13/2020' não é uma data válida");
    }
}

// ---- numbers ---------------------------------------------------------------

TEST(FormatsNumber, ReadsBrazilianNumbers)
{
    const std::pair<QString, double> cases[] = {
        {u"1.234,56"_s, 1234.56},
        {u"-3,5"_s, -3.5},
        {u"+7"_s, 7},
        {u" 42 "_s, 42},
        {u"0"_s, 0},
        {u"1234,5"_s, 1234.5},
        {u"1.234.567"_s, 1234567},
        {u"1.234"_s, 1234},          // thousands, as typed here
        {u"-1.234.567,891"_s, -1234567.891},
        {u"12.5"_s, 12.5},           // a lone dot that cannot be thousands
        {u"0.250"_s, 0.25},
        {u"1234.567"_s, 1234.567},
        {u"-0.5"_s, -0.5},
        {u",5"_s, 0.5},
        {u"5,"_s, 5},
        {u"-0,0001"_s, -0.0001},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(pcp::toNumber(text), expected) << text.toStdString();
}

TEST(FormatsNumber, BadTextIsAnErrorNeverZero)
{
    for (const QString& text :
         {u"abc"_s, QString(), u" "_s, u"-"_s, u","_s, u"."_s, u"1,2,3"_s, u"1.2.3"_s,
          u"1.23,4"_s, u"12,3.4"_s, u"1,234.5"_s, u"1.2345,6"_s, u"1e5"_s, u"1 234"_s,
          u"--1"_s, u"- 1"_s, u"12a"_s, u"\u0661\u0662"_s, u"1.234."_s}) {
        SCOPED_TRACE(text.toStdString());
        try {
            const double v = pcp::toNumber(text);
            ADD_FAILURE() << "read as " << v;
        } catch (const pcp::ConversionError& e) {
            EXPECT_EQ(e.message(), u"'"_s + text + u"' não é um número válido"_s);
        }
    }
}

TEST(FormatsNumber, ReadsIntegers)
{
    const std::pair<QString, qint64> good[] = {
        {u"42"_s, 42}, {u"-7"_s, -7}, {u"+3"_s, 3}, {u" 12 "_s, 12}, {u"007"_s, 7},
        {u"9223372036854775807"_s, std::numeric_limits<qint64>::max()},
        {u"-9223372036854775808"_s, std::numeric_limits<qint64>::min()},
    };
    for (const auto& [text, expected] : good)
        EXPECT_EQ(pcp::toInteger(text), expected) << text.toStdString();

    for (const QString& text : {u"9223372036854775808"_s, u"1.5"_s, u"1.000"_s, u"1,0"_s,
                                u"abc"_s, QString(), u"-"_s, u"0x10"_s, u"1 2"_s}) {
        SCOPED_TRACE(text.toStdString());
        try {
            const qint64 v = pcp::toInteger(text);
            ADD_FAILURE() << "read as " << v;
        } catch (const pcp::ConversionError& e) {
            EXPECT_EQ(e.message(), u"'"_s + text + u"' não é um número inteiro válido"_s);
        }
    }
}

TEST(FormatsMask, DisplayMasks)
{
    struct Case {
        QString mask;
        double value;
        QString expected;
    };
    const Case cases[] = {
        {u"###,##0.0000"_s, 1234567.891, u"1.234.567,8910"_s},
        {u"###,##0.0000"_s, -1234.5, u"-1.234,5000"_s},
        {u"###,##0.0000"_s, 0, u"0,0000"_s},
        {u"###,##0.0000"_s, 999.99995, u"1.000,0000"_s},
        {u"#,###,##0.000"_s, 1234.5675, u"1.234,568"_s},
        {u"#,###,##0.000"_s, 12, u"12,000"_s},
        {u"###,###,##0.00"_s, 123456789012.345, u"123.456.789.012,35"_s},
        {u"###,###0.000000"_s, 1234567.5, u"1.234.567,500000"_s},
        {u"###,##0.00"_s, 999999.995, u"1.000.000,00"_s},
        {u"###,##0.00"_s, 1e15, u"1.000.000.000.000.000,00"_s},
        {u"##0.00"_s, 999.995, u"1000,00"_s},
        {u"#0.00"_s, 2.675, u"2,68"_s},
        {u"#0.00"_s, -2.675, u"-2,68"_s},
        {u"#0.00"_s, 0.005, u"0,01"_s},
        {u"#0.00"_s, -0.004, u"0,00"_s},     // no "-" on a value that shows as zero
        {u"#0.00000"_s, 3.14159265, u"3,14159"_s},
        {u"0.00"_s, 0.5, u"0,50"_s},
        {u"0.0000"_s, -0.00005, u"-0,0001"_s},
        {u"000"_s, 7, u"007"_s},
        {u"000"_s, 6.5, u"007"_s},
        {u"000"_s, -7, u"-007"_s},
        {u"000"_s, 1234, u"1234"_s},
        {u"00"_s, 0, u"00"_s},
        {u"##"_s, 0, QString()},
        {u"##"_s, 42.4, u"42"_s},
        {u"#.##"_s, 0.5, u",5"_s},
        {u"0.0#"_s, 1.5, u"1,5"_s},
        {u"0.0#"_s, 1.256, u"1,26"_s},
        {u"0.##"_s, 2.001, u"2"_s},
        {u"R$ #,##0.00"_s, -5, u"-R$ 5,00"_s},
        {u"0.0 'kg'"_s, 2.25, u"2,3 kg"_s},
        {u"#,##0.00;(#,##0.00)"_s, -1234.5, u"(1.234,50)"_s},
        {u"#,##0.00;(#,##0.00)"_s, 1234.5, u"1.234,50"_s},
        {u"0.00;-0.00;'zero'"_s, 0, u"zero"_s},
        {u"0.00;;'zero'"_s, -0.001, u"zero"_s},
        {u"0.00;;'zero'"_s, -5, u"-5,00"_s},
        {u"'a;b' 0"_s, 3, u"a;b 3"_s},
        {u""_s, 1.5, u"1,5"_s},
        {u""_s, 0.1 + 0.2, u"0,3"_s},
        {u"#0.00"_s, std::numeric_limits<double>::quiet_NaN(), u"NAN"_s},
        {u"#0.00"_s, -std::numeric_limits<double>::infinity(), u"-INF"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mask.toStdString() << " " << c.value);
        EXPECT_EQ(pcp::formatMask(c.mask, c.value), c.expected);
    }
}

TEST(FormatsText, FormatStrings)
{
    struct Case {
        QString fmt;
        QVariantList args;
        QString expected;
    };
    const Case cases[] = {
        {u"%6.6d"_s, {42}, u"000042"_s},
        {u"%6.6d"_s, {-42}, u"-000042"_s},
        {u"%2.2d"_s, {5}, u"05"_s},
        {u"%2.2d"_s, {123}, u"123"_s},
        {u"%4.4d%2.2d"_s, {2004, 1}, u"200401"_s},
        {u"%9d"_s, {1234}, u"     1234"_s},
        {u"%-6d|"_s, {12}, u"12    |"_s},
        {u"%d"_s, {qlonglong(-9223372036854775807LL - 1)}, u"-9223372036854775808"_s},
        {u"%d"_s, {quint32(4000000000u)}, u"4000000000"_s},
        {u"%10.10d"_s, {qlonglong(123)}, u"0000000123"_s},
        {u"%x"_s, {255}, u"FF"_s},
        {u"%4.4x"_s, {255}, u"00FF"_s},
        {u"%10.3n"_s, {1234.5}, u" 1.234,500"_s},
        {u"%10.3n"_s, {1234567.8915}, u"1.234.567,892"_s},  // wider than asked
        {u"%n"_s, {1234.5}, u"1.234,50"_s},
        {u"%10.2n"_s, {-1234.567}, u" -1.234,57"_s},
        {u"%8.2n"_s, {0.004}, u"    0,00"_s},
        {u"%8.2n"_s, {-0.004}, u"    0,00"_s},
        {u"%14.6n"_s, {-1234567.1234565}, u"-1.234.567,123457"_s},
        {u"%12.2f"_s, {1234.5}, u"     1234,50"_s},
        {u"%12.4f"_s, {-2.67495}, u"     -2,6750"_s},
        {u"%f"_s, {2.675}, u"2,68"_s},
        {u"%.0f"_s, {2.5}, u"3"_s},
        {u"%f"_s, {3}, u"3,00"_s},
        {u"%-8.1f|"_s, {1.25}, u"1,3     |"_s},
        {u"%e"_s, {1234.5}, u"1,23450000000000E+003"_s},
        {u"%.3e"_s, {-0.000123}, u"-1,23E-004"_s},
        {u"%s"_s, {u"abc"_s}, u"abc"_s},
        {u"%5s|%-5s|"_s, {u"ab"_s, u"cd"_s}, u"   ab|cd   |"_s},
        {u"%.2s"_s, {u"abcdef"_s}, u"ab"_s},
        {u"%s de %s: 100%%"_s, {u"Ação"_s, 7}, u"Ação de 7: 100%"_s},
        {u"sem campos"_s, {}, u"sem campos"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fmt.toStdString());
        EXPECT_EQ(pcp::formatText(c.fmt, c.args), c.expected);
    }
}

TEST(FormatsText, BadSpecOrArgumentThrows)
{
    const std::pair<QString, QVariantList> cases[] = {
        {u"%d"_s, {1.5}},
        {u"%d"_s, {u"12"_s}},
        {u"%d"_s, {}},
        {u"%s %s"_s, {u"a"_s}},
        {u"%f"_s, {u"1,5"_s}},
        {u"%q"_s, {1}},
        {u"%"_s, {1}},
        {u"%5"_s, {1}},
    };
    for (const auto& [fmt, args] : cases)
        EXPECT_THROW(pcp::formatText(fmt, args), pcp::ConversionError) << fmt.toStdString();
    try {
        pcp::formatText(u"valor %6.2d"_s, {2.5});
        FAIL() << "no exception";
    } catch (const pcp::ConversionError& e) {
        EXPECT_EQ(e.message(), u"Formato '%6.2d' inválido ou incompatível com o argumento"_s);
    }
}

}  // namespace
