#include "L_Critica.h"
#include "L_Digito.h"
#include "ScriptedTest.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using pcp::MsgButtons;
using pcp::MsgIcon;

namespace {

struct CheckDigitCase {
    QString text;
    bool valid;
    bool messageWhenAsked;  // false: rejected silently even when asked
};

class CheckDigitTest : public pcp::test::ScriptedTest {
protected:
    // Runs every case twice, without and with the message, and checks that the
    // message appears only when asked and only for a wrong check digit.
    void run(const std::vector<CheckDigitCase>& cases, bool (*validate)(const QString&, bool),
             const QString& message)
    {
        for (const CheckDigitCase& c : cases) {
            SCOPED_TRACE(c.text.toStdString());
            EXPECT_EQ(validate(c.text, false), c.valid);
            checkScript();
            if (c.messageWhenAsked) {
                auto& e = script.expect(message);
                e.caption = u"Atenção"_s;
                e.icon = MsgIcon::Error;
                e.buttons = MsgButtons::Ok;
            }
            EXPECT_EQ(validate(c.text, true), c.valid);
            checkScript();
        }
    }
};

class ValidaCGC : public CheckDigitTest {};
class ValidaCPF : public CheckDigitTest {};

TEST_F(ValidaCGC, CheckDigitsPunctuationAndLength)
{
    const std::vector<CheckDigitCase> cases = {
        {u"00000000000000"_s, true, false},      // repeated digits are not refused
        {u"11222333000181"_s, true, false},
        {u"11444777000161"_s, true, false},
        {u"10000000000900"_s, true, false},      // first digit 0 because 11 - r > 9
        {u"00000000000001"_s, false, true},
        {u"11222333000118"_s, false, true},      // check digits swapped
        {u"11222333000191"_s, false, true},      // first check digit wrong
        {u"1122233300018"_s, false, true},       // 13 characters: digits missing
        {u"112223330001810"_s, false, true},     // something after the 14 digits
        {u"112223330001A1"_s, false, true},      // bad character after the first 12
        {u"11.222.333/0001-81"_s, false, false},
        {u"00.000.000/0000-00"_s, false, false},
        {u" 11222333000181"_s, false, false},
        {u"1122233300A181"_s, false, false},
        {u"11222333000"_s, false, false},
        {QString(), false, false},
    };
    run(cases, pcp::ValidaCGC, u"C.G.C. Invalido"_s);
}

TEST_F(ValidaCPF, CheckDigitsPunctuationAndLength)
{
    const std::vector<CheckDigitCase> cases = {
        {u"00000000000"_s, true, false},
        {u"52998224725"_s, true, false},
        {u"11144477735"_s, true, false},
        {u"10000000108"_s, true, false},   // first digit 0 because 11 - r > 9
        {u"52998224752"_s, false, true},   // check digits swapped
        {u"52998224735"_s, false, true},
        {u"5299822472"_s, false, true},    // 10 digits
        {u"529982247250"_s, false, true},  // 12 digits
        {u"529982247A5"_s, false, true},   // letter after the first nine
        {u"5299822A725"_s, false, false},  // letter among the first nine
        {u"529.982.247-25"_s, false, false},
        {u"52998"_s, false, false},
        {QString(), false, false},
    };
    run(cases, pcp::ValidaCPF, u"CPF Invalido"_s);
}

TEST(CriticaArredonda, RoundsHalfUpAndTruncatesNegatives)
{
    struct Case {
        int casas;
        double valor, expected;
    };
    const Case cases[] = {
        {2, 2.675, 2.68},      // stored as 2.67499999...: the extra decimals absorb it
        {2, 2.665, 2.67},
        {2, 1.005, 1.01},
        {0, 0.5, 1},
        {0, 2.5, 3},           // half up, not to even
        {0, 1.4999, 1},
        {2, -2.675, -2.67},    // negatives are truncated at the decimal
        {2, -0.999, -0.99},
        {2, 0.004, 0},
        {2, 0.005, 0.01},
        {1, 0.05, 0.1},
        {3, 1.2344999, 1.234},
        {4, 2.00005, 2.0001},
        {6, 0.0000005, 0.000001},
        {6, 1.2345675, 1.234568},
        {2, 1000000000.125, 1000000000.13},
        {9, 1.26, 1},          // unsupported number of decimals: whole number
        {7, 1.5, 2},
        {-1, 2.7, 3},
        {2, 12.3, 12.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.casas << " " << c.valor);
        EXPECT_EQ(pcp::Arredonda(c.casas, c.valor), c.expected);
    }
}

TEST(CriticaArredonda, ZeroResultIsPositiveZero)
{
    const std::pair<int, double> cases[] = {{2, -0.004}, {0, -0.5}, {0, -0.9999}, {3, 0.0}, {3, -0.0}};
    for (const auto& [casas, valor] : cases) {
        SCOPED_TRACE(testing::Message() << casas << " " << valor);
        const double r = pcp::Arredonda(casas, valor);
        EXPECT_EQ(r, 0.0);
        EXPECT_FALSE(std::signbit(r));
    }
}

class CriticaValidaData : public pcp::test::ScriptedTest {};

TEST_F(CriticaValidaData, AcceptsDatesAndReportsTheRejectedText)
{
    for (const QString& text : {u"05/03/2024"_s, u"29/02/2024"_s, u"5/3/2024"_s, u"31/12/1999"_s}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(pcp::ValidaData(text));
        checkScript();
    }
    for (const QString& text : {u"32/13/2020"_s, u"29/02/2023"_s, u"31/04/2024"_s, u"abc"_s,
                                u"  /  /    "_s, QString(), u"2024-03-05"_s}) {
        SCOPED_TRACE(text.toStdString());
        auto& e = script.expect(u"Data Invalida:"_s + text);
        e.caption = pcp::standardCaption(MsgIcon::Error);
        e.icon = MsgIcon::Error;
        e.buttons = MsgButtons::Ok;
        EXPECT_FALSE(pcp::ValidaData(text));
        checkScript();
    }
}

TEST(CriticaTexto, PosicaoTexto)
{
    struct Case {
        QString texto, procurado;
        int expected;
    };
    const Case cases[] = {
        {u"HP LaserJet on LPT1:"_s, u" on "_s, 12},
        {u"abc"_s, u"c"_s, 3},
        {u"abc"_s, u"a"_s, 1},
        {u"abc"_s, u"abc"_s, 1},
        {u"abcabc"_s, u"bc"_s, 2},
        {u"ab"_s, u"abc"_s, 0},
        {u"abc"_s, u"x"_s, 0},
        {u"abc"_s, u"B"_s, 0},   // case matters
        {QString(), u"a"_s, 0},
        {u"ação"_s, u"ção"_s, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(c.texto + u" / "_s + c.procurado).toStdString());
        EXPECT_EQ(pcp::PosicaoTexto(c.texto, c.procurado), c.expected);
    }
}

TEST(CriticaTexto, SoDigitosAndRemoveCaracter)
{
    const std::pair<QString, QString> digits[] = {
        {u"11.222.333/0001-81"_s, u"11222333000181"_s},
        {u"529.982.247-25"_s, u"52998224725"_s},
        {u"sem digitos"_s, QString()},
        {QString(), QString()},
        {u"a1b2 c3"_s, u"123"_s},
        {u"\u0661\u06623"_s, u"3"_s},  // other scripts' digits are not "0" to "9"
    };
    for (const auto& [text, expected] : digits)
        EXPECT_EQ(pcp::SoDigitos(text), expected) << text.toStdString();

    struct Case {
        QString text;
        QChar c;
        QString expected;
    };
    const Case removes[] = {
        {u"11.222.333"_s, u'.', u"11222333"_s},
        {u"aaa"_s, u'a', QString()},
        {u"Aa"_s, u'a', u"A"_s},
        {u"ção"_s, u'ç', u"ão"_s},
        {QString(), u'x', QString()},
    };
    for (const Case& c : removes)
        EXPECT_EQ(pcp::RemoveCaracter(c.text, c.c), c.expected) << c.text.toStdString();
}

}  // namespace

TEST(CheckDigits, CompletedNumbersAreValidAndBadBasesGiveNothing)
{
    for (const char16_t* base : {u"112223330001", u"000000000000", u"987654320001"})
        EXPECT_TRUE(pcp::ValidaCGC(pcp::completaCGC(QString::fromUtf16(base)), false));
    for (const char16_t* base : {u"123456789", u"000000000", u"529982247"})
        EXPECT_TRUE(pcp::ValidaCPF(pcp::completaCPF(QString::fromUtf16(base)), false));
    EXPECT_EQ(pcp::completaCPF(u"529982247"_s), u"52998224725"_s);
    EXPECT_EQ(pcp::completaCGC(u"11222333000"_s), QString());
    EXPECT_EQ(pcp::completaCPF(u"12345678x"_s), QString());
}
