// The batch command on a small company folder: options checked before the
// store is touched, the branch's rules applied, the same results as the
// screens' domain code, exit codes and progress.
#include "../stock/EstoqueFixture.h"
#include "Lote.h"
#include "Tabelas.h"

#include <QDir>
#include <QProcess>
#include <cstdio>

namespace pcp::test {
namespace {

class Lote : public EstoqueFixture {
protected:
    void SetUp() override
    {
        EstoqueFixture::SetUp();
        declaraTabelas();
        store = Store::openCompany(tmp.path());  // every table, as the command opens it
        linha(u"Filial"_s, {{u"Filial"_s, 1}, {u"NOME"_s, u"MATRIZ"_s}, {u"FATMODNF"_s, 0}});
    }
    // Runs the command on the fixture's folder and branch 1; the progress
    // lines are kept in `andamento`.
    int lote(QStringList args)
    {
        args = QStringList{u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s} + args;
        std::FILE* f = std::tmpfile();
        const int rc = executaLote(args, f);
        std::rewind(f);
        char buf[4096];
        const size_t n = std::fread(buf, 1, sizeof buf, f);
        std::fclose(f);
        andamento = QString::fromUtf8(buf, qsizetype(n));
        return rc;
    }
    double custoMedio(qint64 cod)
    {
        return sql(u"SELECT CustoMedio FROM Estproma WHERE Cod_Reduz = ?1"_s, {cod}).toDouble();
    }
    QString andamento;
};

TEST_F(Lote, RefusesBadInputBeforeTheStoreIsOpened)
{
    const QString nova = tmp.filePath(u"nova"_s);
    const struct {
        QStringList args;
        QString mensagem;
    } casos[] = {
        {{u"custo-medio"_s, u"--mes"_s, u"132026"_s, u"--de"_s, u"0"_s, u"--ate"_s, u"9"_s},
         u"Mês inválido: 132026 (use MMAAAA)"_s},
        {{u"custo-medio"_s, u"--mes"_s, u"112026"_s, u"--de"_s, u"1O"_s, u"--ate"_s, u"9"_s},
         u"Valor inválido para --de: 1O"_s},
        {{u"custo-medio"_s, u"--mes"_s, u"112026"_s, u"--de"_s, u"9"_s, u"--ate"_s, u"1"_s},
         u"O produto final é menor que o inicial"_s},
        {{u"saldo-fisico"_s, u"--mes"_s, u"11/2026"_s, u"--produto"_s, u"1"_s},
         u"Mês inválido: 11/2026 (use AAAAMM)"_s},
        {{u"saldo-fisico"_s, u"--mes"_s, u"202611"_s, u"--produto"_s, u"1"_s, u"--deposito"_s, u"x"_s},
         u"Valor inválido para --deposito: x"_s},
        {{u"baixa-mp"_s, u"--de"_s, u"01/11/2026"_s, u"--ate"_s, u"30/11/2026"_s, u"--historico-venda"_s,
          u"0"_s, u"--historico-baixa"_s, u"3"_s, u"--fornecedor"_s, u"9"_s},
         u"Historico de venda invalido"_s},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        script.expect(c.mensagem);
        EXPECT_EQ(executaLote(QStringList{u"--empresa"_s, nova, u"--filial"_s, u"1"_s} + c.args, nullptr),
                  LoteRecusado);
        checkScript();
        EXPECT_FALSE(QDir(nova).exists());
    }
}

TEST_F(Lote, ACommandLineThatDoesNotParseGetsTheUsage)
{
    const struct {
        QStringList args;
        QString primeiraLinha;
    } casos[] = {
        {{}, u"Falta o comando"_s},
        {{u"custo"_s}, u"Comando desconhecido: custo"_s},
        {{u"custo-medio"_s, u"--mes"_s, u"112026"_s, u"--de"_s, u"0"_s}, u"Falta a opção --ate"_s},
        {{u"custo-medio"_s, u"--produto"_s, u"1"_s}, u"Opção desconhecida: --produto"_s},
        {{u"saldo-fisico"_s, u"--mes"_s}, u"Falta o valor da opção --mes"_s},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.primeiraLinha.toStdString());
        EXPECT_EQ(lote(c.args), LoteRecusado);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_TRUE(script.shown().last().contains(c.primeiraLinha + u"\nUso: pcp-lote"_s));
        script.clear();  // the message was not scripted: it was checked here
    }
}

TEST_F(Lote, CustoMedioValuesTheRangeOfTheMonthAsTyped)
{
    for (qint64 cod : {100, 200, 300}) {
        produto(cod);
        saldo(u"200501"_s, 0, 0, 0, cod);
    }
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20, .cod = 100},
           {.nota = 2, .data = u"2005-01-02"_s, .qtd = 4, .custo = 100, .cod = 200},
           {.nota = 3, .data = u"2005-01-02"_s, .qtd = 1, .custo = 90, .cod = 300}});
    EXPECT_EQ(lote({u"custo-medio"_s, u"--mes"_s, u"012005"_s, u"--de"_s, u"100"_s, u"--ate"_s, u"200"_s}),
              LoteOk);
    EXPECT_EQ(custoMedio(100), 10);
    EXPECT_EQ(custoMedio(200), 25);
    EXPECT_EQ(custoMedio(300), 0);  // out of the range
    EXPECT_TRUE(andamento.endsWith(u"Custo médio atualizado: 2 saldos, 2 itens\n"_s)) << andamento.toStdString();
    EXPECT_EQ(sessao().FilialAtual, 1);  // the session is given back as it was
}

TEST_F(Lote, TheBranchRulesAndTheProcessingDateApply)
{
    produto(100);
    saldo(u"200501"_s, 0);
    grava(Mov{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20});
    const QStringList args = {u"custo-medio"_s, u"--mes"_s, u"012005"_s, u"--de"_s, u"100"_s, u"--ate"_s, u"100"_s};

    sql(u"UPDATE Filial SET FATMODNF = 121"_s);  // this installation's months up to 12/2004 are closed
    script.expect(u"Periodo Sem Acesso"_s);
    EXPECT_EQ(lote({u"custo-medio"_s, u"--mes"_s, u"122004"_s, u"--de"_s, u"100"_s, u"--ate"_s, u"100"_s}),
              LoteRecusado);
    EXPECT_EQ(lote(args), LoteOk);
    EXPECT_EQ(sql(u"SELECT VLR_MEDIO FROM Notai"_s).toDouble(), 10);
    sql(u"UPDATE Notai SET VLR_MEDIO = NULL"_s);

    linha(u"Estoqcfg"_s, {{u"Filial"_s, 1}, {u"Data"_s, u"2005-02-01"_s}});
    script.expect(u"Lançamento no estoque menor que a data de processamento"_s);
    EXPECT_EQ(lote(args), LoteRecusado);
    EXPECT_TRUE(sql(u"SELECT VLR_MEDIO FROM Notai"_s).isNull());
}

TEST_F(Lote, AMissingBranchIsSaidAndNoInstallationRuleApplies)
{
    script.expect(u"Filial 7 não cadastrada nesta empresa: nenhuma regra de instalação aplicada"_s);
    EXPECT_EQ(executaLote({u"--empresa"_s, tmp.path(), u"--filial"_s, u"7"_s, u"saldo-fisico"_s, u"--mes"_s,
                           u"200501"_s, u"--produto"_s, u"100"_s},
                          nullptr),
              LoteOk);
}

TEST_F(Lote, SaldoFisicoCopiesTheBalanceIntoTheProductWhenAsked)
{
    produto(100);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 10, .tam = u"G"_s, .dep = 2},
           {.nota = 2, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 3, .tam = u"G"_s, .dep = 2}});
    const QStringList base = {u"saldo-fisico"_s, u"--mes"_s, u"200501"_s, u"--produto"_s, u"100"_s,
                              u"--tamanho"_s, u"G"_s, u"--deposito"_s, u"2"_s};
    EXPECT_EQ(lote(base), LoteOk);
    EXPECT_EQ(saldoDe(u"200501"_s, 100, u"G"_s, 2)->fisico, 7);
    EXPECT_EQ(sql(u"SELECT QTD_FIS FROM Estproma"_s).toDouble(), 0);
    EXPECT_EQ(lote(base + QStringList{u"--atualiza-qtdfis"_s}), LoteOk);
    EXPECT_EQ(sql(u"SELECT QTD_FIS FROM Estproma"_s).toDouble(), 7);
}

TEST_F(Lote, BaixaMpWritesOffTheSalesOfThePeriod)
{
    linha(u"Formula"_s, {{u"Filial"_s, 1}, {u"Formula"_s, u"F1"_s}});
    linha(u"Formulai"_s, {{u"Filial"_s, 1}, {u"Formula"_s, u"F1"_s}, {u"OrdComp"_s, 1},
                             {u"Componente"_s, 7}, {u"Percentual"_s, 60}});
    linha(u"Formulai"_s, {{u"Filial"_s, 1}, {u"Formula"_s, u"F1"_s}, {u"OrdComp"_s, 2},
                             {u"Componente"_s, 8}, {u"Percentual"_s, 40}});
    const QVariantMap venda = {{u"Filial"_s, 1}, {u"Num_Nota"_s, 5}, {u"Tipo_Nota"_s, 1},
                               {u"Cod_Clifor"_s, 3}, {u"DT_ENTRADA"_s, u"2026-11-10"_s}};
    QVariantMap cab = venda;
    cab.insert(u"Est_Hist"_s, kSaida);
    linha(u"Notas"_s, cab);
    QVariantMap item = venda;
    item.insert(u"Num_Item"_s, 1);
    item.insert(u"Formula"_s, u"F1"_s);
    item.insert(u"QUANTIDADE"_s, 200);
    linha(u"Notai"_s, item);
    EXPECT_EQ(lote({u"baixa-mp"_s, u"--de"_s, u"01/11/2026"_s, u"--ate"_s, u"30/11/2026"_s,
                    u"--historico-venda"_s, QString::number(kSaida), u"--historico-baixa"_s,
                    QString::number(kSaida), u"--fornecedor"_s, u"9"_s}),
              LoteOk);
    EXPECT_EQ(sql(u"SELECT group_concat(Cod_Reduz || ':' || QUANTIDADE, ' ') FROM "
                  "(SELECT * FROM Notai WHERE Tipo_Nota = 3 ORDER BY Num_Item)"_s)
                  .toString(),
              u"7:120.0 8:80.0"_s);
    EXPECT_TRUE(andamento.contains(u"Andamento: 1 de 1 notas"_s)) << andamento.toStdString();
}

// The program itself: texts on stderr, the exit status for the shell.
TEST_F(Lote, TheCommandExitsNonZeroOnRefusalAndZeroOnSuccess)
{
    QProcess p;
    p.start(QStringLiteral(PCP_LOTE), {u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s, u"custo-medio"_s,
                                       u"--mes"_s, u"002005"_s, u"--de"_s, u"0"_s, u"--ate"_s, u"9"_s});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u"Mês inválido: 002005 (use MMAAAA)"_s));

    p.start(QStringLiteral(PCP_LOTE), {u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s, u"custo-medio"_s,
                                       u"--mes"_s, u"012005"_s, u"--de"_s, u"0"_s, u"--ate"_s, u"9"_s});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u"Custo médio atualizado: 0 saldos, 0 itens"_s));
}

}  // namespace
}  // namespace pcp::test
