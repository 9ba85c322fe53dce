#pragma once
// A calendar month as the stock side names it: typed on the screens as
// "MMYYYY" or "MM/YYYY", stored in the documents and balances as "yyyymm".
// A Mes is always valid: month 01..12, year 0001..9999.
#include <QDate>
#include <QString>
#include <compare>
#include <optional>

namespace pcp {

class Mes {
public:
    // "MMYYYY" or "MM/YYYY"; nothing for any other text.
    static std::optional<Mes> deMesAno(const QString& texto);
    // "yyyymm"; nothing for any other text.
    static std::optional<Mes> deAnoMes(const QString& texto);
    static std::optional<Mes> de(int ano, int mes);
    // The month of a valid date.
    static std::optional<Mes> daData(const QDate& data);

    int ano() const { return ano_; }
    int mes() const { return mes_; }
    // The month before; nothing before January of year 1.
    std::optional<Mes> anterior() const;
    QDate primeiroDia() const { return QDate(ano_, mes_, 1); }
    QDate ultimoDia() const { return primeiroDia().addMonths(1).addDays(-1); }
    QString anoMes() const;  // "yyyymm"
    QString mesAno() const;  // "MMYYYY"

    auto operator<=>(const Mes&) const = default;

private:
    Mes(int ano, int mes) : ano_(ano), mes_(mes) {}
    int ano_;
    int mes_;
};

}  // namespace pcp
