// The installation-code rules of the stock engines, each checked at its
// boundary: the month the rule still covers and the month after it.
#include "RegrasInstalacao.h"

#include <gtest/gtest.h>

namespace pcp::test {
namespace {

using namespace Qt::Literals::StringLiterals;

Mes mes(const char* anoMes) { return *Mes::deAnoMes(QString::fromLatin1(anoMes)); }

TEST(RegrasInstalacao, TheScreensPeriodLocksEndAtTheirBoundaries)
{
    const struct {
        std::initializer_list<int> codigos;
        const char *ultimoBloqueado, *primeiroLivre;
        QString mensagem;
    } casos[] = {
        {{131}, "200712", "200801", u"Periodo Sem Acesso"_s},
        {{160}, "200801", "200802", u"Periodo Sem Acesso"_s},  // 01/01/2008 itself is on the limit
        {{176}, "200703", "200704", u"Periodo Sem Acesso"_s},
        {{121}, "200412", "200501", u"Periodo Sem Acesso"_s},
        {{126}, "200406", "200407", u"Periodo Sem Acesso"_s},  // before 01/07/2004
        {{112, 177}, "200312", "200401", u"Periodo Sem Acesso"_s},
        {{51}, "200402", "200403", u"Periodo Sem Acesso"_s},
        {{73, 83, 221, 304}, "200011", "200012", u"Periodo sem acesso"_s},
        {{62}, "200104", "200105", u"Periodo sem acesso"_s},
        {{74}, "200211", "200212", u"Periodo sem acesso"_s},
    };
    for (const auto& c : casos) {
        for (int fat : c.codigos) {
            SCOPED_TRACE(fat);
            EXPECT_EQ(periodoBloqueadoCustoMedio(fat, mes(c.ultimoBloqueado)), c.mensagem);
            EXPECT_EQ(periodoBloqueadoCustoMedio(fat, mes(c.primeiroLivre)), QString());
            EXPECT_EQ(periodoBloqueadoCustoMedio(0, mes(c.ultimoBloqueado)), QString());
        }
    }
}

TEST(RegrasInstalacao, TheEnginesOwnMonthLocksAndItemRules)
{
    const struct {
        int fat;
        const char *mesAno;
        bool bloqueado;
        QString mensagem;
    } meses[] = {
        {121, "200412", true, u"Periodo indisponível"_s}, {121, "200501", false, {}},
        {74, "200312", true, {}},  {74, "200401", false, {}},
        {131, "200312", true, {}}, {131, "200401", false, {}},
        {0, "190001", false, {}},
    };
    for (const auto& c : meses) {
        SCOPED_TRACE(c.fat);
        const BloqueioMesCusto b = bloqueioMesCustoMedio(c.fat, mes(c.mesAno));
        EXPECT_EQ(b.bloqueado, c.bloqueado) << c.mesAno;
        EXPECT_EQ(b.mensagem, c.mensagem) << c.mesAno;
    }
    EXPECT_EQ(primeiraDataDosItens(MotorEstoque::SaldoFisico, 131), u"2003-12-31"_s);
    EXPECT_EQ(primeiraDataDosItens(MotorEstoque::CustoMedio, 131), QString());
    EXPECT_EQ(primeiraDataDosItens(MotorEstoque::CustoMedio, 101), u"2002-03-19"_s);
    EXPECT_EQ(primeiraDataDosItens(MotorEstoque::SaldoFisico, 101), QString());
    for (int fat : {135, 144, 167})
        EXPECT_TRUE(semJanelaDeAndamento(fat)) << fat;
    for (int fat : {73, 83, 221, 304})
        EXPECT_TRUE(avisaSaldoNegativo(fat)) << fat;
    EXPECT_TRUE(soComplementoOD(144));
    for (int fat : {0, 131, 160})
        EXPECT_FALSE(semJanelaDeAndamento(fat) || avisaSaldoNegativo(fat) || soComplementoOD(fat)) << fat;
}

}  // namespace
}  // namespace pcp::test
