#include "Mes.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The whole text as a number of digits only, else -1.
int numero(QStringView texto)
{
    int n = 0;
    for (QChar c : texto) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return texto.isEmpty() ? -1 : n;
}

}  // namespace

std::optional<Mes> Mes::de(int ano, int mes)
{
    if (ano < 1 || ano > 9999 || mes < 1 || mes > 12)
        return std::nullopt;
    return Mes(ano, mes);
}

std::optional<Mes> Mes::deMesAno(const QString& texto)
{
    QStringView t(texto);
    if (t.size() == 7 && t[2] == u'/')
        return de(numero(t.sliced(3)), numero(t.first(2)));
    if (t.size() != 6)
        return std::nullopt;
    return de(numero(t.sliced(2)), numero(t.first(2)));
}

std::optional<Mes> Mes::deAnoMes(const QString& texto)
{
    if (texto.size() != 6)
        return std::nullopt;
    return de(numero(QStringView(texto).first(4)), numero(QStringView(texto).sliced(4)));
}

std::optional<Mes> Mes::daData(const QDate& data)
{
    return data.isValid() ? de(data.year(), data.month()) : std::nullopt;
}

std::optional<Mes> Mes::anterior() const
{
    return mes_ == 1 ? de(ano_ - 1, 12) : de(ano_, mes_ - 1);
}

QString Mes::anoMes() const
{
    return u"%1%2"_s.arg(ano_, 4, 10, QChar(u'0')).arg(mes_, 2, 10, QChar(u'0'));
}

QString Mes::mesAno() const
{
    return u"%1%2"_s.arg(mes_, 2, 10, QChar(u'0')).arg(ano_, 4, 10, QChar(u'0'));
}

}  // namespace pcp
