// The month type: the three ways a month is written, its bounds, the month
// before and the first and last days.
#include "Mes.h"

#include <gtest/gtest.h>

namespace pcp::test {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(Mes, ParsesTheThreeSpellingsAndRefusesEverythingElse)
{
    const struct {
        QString texto;
        bool mesAno;  // parsed as "MMYYYY" / "MM/YYYY", else as "yyyymm"
        int ano, mes;  // 0: refused
    } casos[] = {
        {u"012005"_s, true, 2005, 1},   {u"01/2005"_s, true, 2005, 1}, {u"129999"_s, true, 9999, 12},
        {u"010001"_s, true, 1, 1},      {u"132005"_s, true, 0, 0},     {u"002005"_s, true, 0, 0},
        {u"010000"_s, true, 0, 0},      {u"1/2005"_s, true, 0, 0},     {u"01-2005"_s, true, 0, 0},
        {u"05/____"_s, true, 0, 0},     {u"0120051"_s, true, 0, 0},    {u"+12005"_s, true, 0, 0},
        {u" 12005"_s, true, 0, 0},      {QString(), true, 0, 0},
        {u"200501"_s, false, 2005, 1},  {u"000112"_s, false, 1, 12},   {u"200513"_s, false, 0, 0},
        {u"200500"_s, false, 0, 0},     {u"000012"_s, false, 0, 0},    {u"2005-1"_s, false, 0, 0},
        {u"20051"_s, false, 0, 0},      {u"2005/01"_s, false, 0, 0},
    };
    for (const auto& c : casos) {
        const std::optional<Mes> m = c.mesAno ? Mes::deMesAno(c.texto) : Mes::deAnoMes(c.texto);
        SCOPED_TRACE(c.texto.toStdString());
        ASSERT_EQ(m.has_value(), c.ano != 0);
        if (m) {
            EXPECT_EQ(m->ano(), c.ano);
            EXPECT_EQ(m->mes(), c.mes);
        }
    }
}

TEST(Mes, GivesItsTextsThePreviousMonthAndItsDays)
{
    const struct {
        QString anoMes, anterior, mesAno;
        QDate primeiro, ultimo;
    } casos[] = {
        {u"200501"_s, u"200412"_s, u"012005"_s, QDate(2005, 1, 1), QDate(2005, 1, 31)},
        {u"200412"_s, u"200411"_s, u"122004"_s, QDate(2004, 12, 1), QDate(2004, 12, 31)},
        {u"200402"_s, u"200401"_s, u"022004"_s, QDate(2004, 2, 1), QDate(2004, 2, 29)},
        {u"000101"_s, QString(), u"010001"_s, QDate(1, 1, 1), QDate(1, 1, 31)},  // no month before year 1
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.anoMes.toStdString());
        const Mes m = *Mes::deAnoMes(c.anoMes);
        EXPECT_EQ(m.anoMes(), c.anoMes);
        EXPECT_EQ(m.mesAno(), c.mesAno);
        EXPECT_EQ(m.anterior() ? m.anterior()->anoMes() : QString(), c.anterior);
        EXPECT_EQ(m.primeiroDia(), c.primeiro);
        EXPECT_EQ(m.ultimoDia(), c.ultimo);
        EXPECT_EQ(Mes::daData(c.ultimo), m);
    }
    EXPECT_LT(*Mes::deAnoMes(u"200412"_s), *Mes::deAnoMes(u"200501"_s));
    EXPECT_FALSE(Mes::daData(QDate()));
}

}  // namespace
}  // namespace pcp::test
