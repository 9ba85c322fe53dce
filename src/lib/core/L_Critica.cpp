#include "L_Critica.h"

#include "Formats.h"
#include "Messages.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

double Arredonda(int casas, double valor)
{
    static constexpr double factors[] = {10, 100, 1000, 10000, 100000, 1000000};
    const double f = casas >= 1 && casas <= 6 ? factors[casas - 1] : 1;
    double q = std::nearbyint(valor * f * 10000);  // ties to even (default mode)
    // The dropped part, in ten-thousandths of the last kept decimal; negative
    // for a negative value, which is never incremented.
    if (std::fmod(q, 10000) >= 5000)
        q += 10000;
    const double quotient = std::trunc(q / 10000);
    return quotient == 0 ? 0.0 : quotient / f;
}

bool ValidaData(const QString& texto)
{
    if (parseDate(texto))
        return true;
    messages().show(Message{MsgIcon::Error, {}, u"Data Invalida:"_s + texto, MsgButtons::Ok});
    return false;
}

QString RemoveCaracter(const QString& texto, QChar caracter)
{
    QString result = texto;
    return result.remove(caracter);
}

int PosicaoTexto(const QString& texto, const QString& procurado)
{
    const qsizetype n = procurado.size();
    for (qsizetype i = 0; i + n <= texto.size(); ++i) {
        if (QStringView(texto).mid(i, n) == procurado)
            return int(i + 1);
    }
    return 0;
}

QString SoDigitos(const QString& texto)
{
    QString result;
    for (const QChar c : texto) {
        if (c >= u'0' && c <= u'9')
            result += c;
    }
    return result;
}

}  // namespace pcp
