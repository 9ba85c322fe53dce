// The average-cost run over a range of classifications: which products it
// walks, in which order, where it stops, and the products whose lock is not had.
#include "ClassificacaoFixture.h"
#include "CustoMedioPorClassificacao.h"

namespace pcp::test {
namespace {

const QString kInicio = u"000000000000000000000000"_s;
const QString kFim = u"999999999999999999999999"_s;

class CustoPorClassificacao : public ClassificacaoFixture {
protected:
    ResultadoClassificacao roda(const QString& ini, const QString& fim, const TravaProduto& trava = {})
    {
        return AtualizaCustoMedioPorClassificacao(store, contexto, mesDe(Mes::deMesAno(u"012005"_s)), ini, fim,
                                                  trava, [this](const QString& t) { caminho << t; });
    }
    QStringList caminho;
};

TEST_F(CustoPorClassificacao, WalksTheBranchInClassificationOrderAndStopsAtThePlainTextEnd)
{
    const struct {
        QString ini, fim;
        std::set<qint64> valorizados;
        QStringList caminho;
    } casos[] = {
        {kInicio, kFim, {100, 200, 300},
         {u"01/001/0001/001/000001/100"_s, u"01/999/0001/001/000001/200"_s, u"02/001/0001/001/000001/300"_s}},
        // "01/" sorts below "010": the whole of level 01 is taken, level 02 stops the walk
        {kInicio, u"010000000000000000000000"_s, {100, 200},
         {u"01/001/0001/001/000001/100"_s, u"01/999/0001/001/000001/200"_s}},
        {u"019990001001000001000002"_s, kFim, {200, 300},
         {u"01/999/0001/001/000001/200"_s, u"02/001/0001/001/000001/300"_s}},
        {u"030000000000000000000000"_s, kFim, {}, {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.ini.toStdString() + " " + c.fim.toStdString());
        desvaloriza();
        caminho.clear();
        const ResultadoClassificacao r = roda(c.ini, c.fim);
        EXPECT_EQ(valorizados(), c.valorizados);
        EXPECT_EQ(caminho, c.caminho);
        EXPECT_EQ(r.produtos, int(c.valorizados.size()));
        EXPECT_EQ(r.saldos, int(c.valorizados.size()));
        EXPECT_EQ(r.itens, qint64(c.valorizados.size()));
        EXPECT_EQ(r.pulados, 0);
    }
}

TEST_F(CustoPorClassificacao, AProductWhoseLockIsRefusedIsSkippedAndCounted)
{
    QList<qint64> pedidos;
    const ResultadoClassificacao r = roda(kInicio, kFim, [&](TableCursor& estproma) {
        const qint64 cod = estproma.asInteger(u"Cod_Reduz"_s);
        pedidos << cod;
        if (cod == 200)
            return false;
        estproma.edit();
        return true;
    });
    EXPECT_EQ(pedidos, (QList<qint64>{100, 200, 300}));
    EXPECT_EQ(valorizados(), (std::set<qint64>{100, 300}));
    EXPECT_EQ(r.produtos, 2);
    EXPECT_EQ(r.pulados, 1);
}

}  // namespace
}  // namespace pcp::test
