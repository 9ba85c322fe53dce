#include "L_Digito.h"

#include "Messages.h"

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The check digit of the digits with the weights: 11 - (sum mod 11), 0 above 9.
int checkDigit(const std::vector<int>& digits, const std::vector<int>& weights)
{
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i)
        sum += digits[i] * weights[i];
    const int digit = 11 - sum % 11;
    return digit > 9 ? 0 : digit;
}

const std::vector<int> kCnpjFirst{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
const std::vector<int> kCnpjSecond{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
const std::vector<int> kCpfFirst{10, 9, 8, 7, 6, 5, 4, 3, 2};
const std::vector<int> kCpfSecond{11, 10, 9, 8, 7, 6, 5, 4, 3, 2};

// The base digits followed by their two check digits; empty when the base
// is shorter than the weights or holds a non-digit.
QString withCheckDigits(const QString& texto, const std::vector<int>& firstWeights,
                        const std::vector<int>& secondWeights)
{
    const qsizetype base = qsizetype(firstWeights.size());
    if (texto.size() < base)
        return {};
    std::vector<int> digits;
    for (qsizetype i = 0; i < base; ++i) {
        const QChar c = texto[i];
        if (c < u'0' || c > u'9')
            return {};
        digits.push_back(c.unicode() - u'0');
    }
    const int first = checkDigit(digits, firstWeights);
    digits.push_back(first);
    const int second = checkDigit(digits, secondWeights);
    return texto.left(base) + QString::number(first) + QString::number(second);
}

bool validate(const QString& texto, bool mostraMensagem, const std::vector<int>& firstWeights,
              const std::vector<int>& secondWeights, const QString& message)
{
    const QString valid = withCheckDigits(texto, firstWeights, secondWeights);
    if (valid.isEmpty())
        return false;
    if (texto == valid)
        return true;
    if (mostraMensagem)
        messages().show(Message{MsgIcon::Error, u"Atenção"_s, message, MsgButtons::Ok});
    return false;
}

}  // namespace

bool ValidaCGC(const QString& texto, bool mostraMensagem)
{
    return validate(texto, mostraMensagem, kCnpjFirst, kCnpjSecond, u"C.G.C. Invalido"_s);
}

bool ValidaCPF(const QString& texto, bool mostraMensagem)
{
    return validate(texto, mostraMensagem, kCpfFirst, kCpfSecond, u"CPF Invalido"_s);
}

QString completaCGC(const QString& doze) { return withCheckDigits(doze, kCnpjFirst, kCnpjSecond); }
QString completaCPF(const QString& nove) { return withCheckDigits(nove, kCpfFirst, kCpfSecond); }

}  // namespace pcp
