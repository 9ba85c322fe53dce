// The batch command on a small company folder: options checked before the
// store is touched, the branch's rules applied, the same results as the
// screens' domain code, exit codes, messages and progress.
#include "ConteudoPasta.h"
#include "../stock/EstoqueFixture.h"
#include "Lote.h"
#include "Tabelas.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <unistd.h>

namespace pcp::test {
namespace {

QString leArquivo(std::FILE* f)
{
    std::rewind(f);
    QByteArray texto;
    char buf[4096];
    while (const size_t n = std::fread(buf, 1, sizeof buf, f))
        texto.append(buf, qsizetype(n));
    std::fclose(f);
    return QString::fromUtf8(texto);
}

class Lote : public EstoqueFixture {
protected:
    void SetUp() override
    {
        EstoqueFixture::SetUp();
        declaraTabelas();
        store = Store::openCompany(tmp.path());  // every table, as the command opens it
        linha(u"Filial"_s, {{u"Filial"_s, 1}, {u"NOME"_s, u"MATRIZ"_s}, {u"FATMODNF"_s, 0}});
    }
    // Runs the command with exactly these arguments; the progress lines are
    // kept in `andamento`, what it prints for the caller in `resultado`.
    int roda(const QStringList& args)
    {
        std::FILE* a = std::tmpfile();
        std::FILE* r = std::tmpfile();
        const int status = executaLote(args, a, r);
        andamento = leArquivo(a);
        resultado = leArquivo(r);
        return status;
    }
    // Runs the command on the fixture's folder and branch 1.
    int lote(const QStringList& args)
    {
        return roda(QStringList{u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s} + args);
    }
    double custoMedio(qint64 cod)
    {
        return sql(u"SELECT CustoMedio FROM Estproma WHERE Cod_Reduz = ?"_s, {cod}).toDouble();
    }
    QString andamento, resultado;
};

const QStringList kSaldo = {u"saldo-fisico"_s, u"--mes"_s, u"200501"_s, u"--produto"_s, u"100"_s};

QStringList baixaMp(const QString& venda, const QString& fornecedor, const QString& de = u"01/11/2026"_s)
{
    return {u"baixa-mp"_s, u"--de"_s, de, u"--ate"_s, u"30/11/2026"_s, u"--historico-venda"_s, venda,
            u"--historico-baixa"_s, u"3"_s, u"--fornecedor"_s, fornecedor};
}

QStringList custo(const QString& mes, const QString& de, const QString& ate)
{
    return {u"custo-medio"_s, u"--mes"_s, mes, u"--de"_s, de, u"--ate"_s, ate};
}

// Each value is checked against the field it is written into, before the
// store is opened: the refusal names the option, and the company folder is
// left exactly as it was (no table upgraded, no file made).
TEST_F(Lote, RefusesBadValuesAndLeavesTheFolderAsItWas)
{
    const struct {
        QString filial;
        QStringList args;
        QString mensagem;
    } casos[] = {
        {u"1"_s, custo(u"132026"_s, u"0"_s, u"9"_s), u"Mês inválido: 132026 (use MMAAAA)"_s},
        {u"1"_s, custo(u"010000"_s, u"0"_s, u"9"_s), u"Mês inválido: 010000 (use MMAAAA)"_s},
        {u"1"_s, custo(u"112026"_s, u"1O"_s, u"9"_s),
         u"Valor inválido para --de: '1O' não é um número inteiro válido (campo Cod_Reduz)"_s},
        {u"1"_s, custo(u"112026"_s, u"0"_s, u"99999999999"_s),
         u"Valor inválido para --ate: '99999999999' não é um número inteiro de 32 bits (campo Cod_Reduz)"_s},
        {u"1"_s, custo(u"112026"_s, u"9"_s, u"1"_s), u"O produto final é menor que o inicial"_s},
        {u"1"_s, {u"custo-medio"_s, u"--mes"_s, u"112026"_s, u"--class-ini"_s, u"01001"_s},
         u"Informe os 24 dígitos da Class.Inicial"_s},
        {u"1"_s, {u"custo-medio"_s, u"--mes"_s, u"112026"_s, u"--class-fim"_s, u"0100000000000000000000000"_s},
         u"Valor inválido para --class-fim: mais de 24 caracteres"_s},
        {u"1"_s, {u"saldo-fisico"_s, u"--mes"_s, u"11/2026"_s, u"--produto"_s, u"1"_s},
         u"Mês inválido: 11/2026 (use AAAAMM)"_s},
        {u"1"_s, {u"saldo-fisico"_s, u"--mes"_s, u"000001"_s, u"--produto"_s, u"1"_s},
         u"Mês inválido: 000001 (use AAAAMM)"_s},
        {u"1"_s, {u"saldo-fisico"_s, u"--mes"_s, u"202611"_s, u"--produto"_s, u"99999999999"_s},
         u"Valor inválido para --produto: '99999999999' não é um número inteiro de 32 bits (campo Cod_Reduz)"_s},
        {u"1"_s, {u"saldo-fisico"_s, u"--mes"_s, u"202611"_s, u"--produto"_s, u"-1"_s},
         u"Valor inválido para --produto: -1 (o menor aceito é 0)"_s},
        {u"1"_s, kSaldo + QStringList{u"--deposito"_s, u"x"_s},
         u"Valor inválido para --deposito: 'x' não é um número inteiro válido (campo Cod_Deposi)"_s},
        {u"1"_s, kSaldo + QStringList{u"--deposito"_s, u"2147483648"_s},
         u"Valor inválido para --deposito: '2147483648' não é um número inteiro de 32 bits (campo Cod_Deposi)"_s},
        {u"1"_s, kSaldo + QStringList{u"--tamanho"_s, u"GGGGG"_s},
         u"Valor inválido para --tamanho: O texto \"GGGGG\" excede o tamanho do campo Tamanho (4 caracteres)"_s},
        // The branch register takes a 32-bit code, the balances a 16-bit one.
        {u"4294967297"_s, kSaldo,
         u"Valor inválido para --filial: '4294967297' não é um número inteiro de 32 bits (campo Filial)"_s},
        {u"65537"_s, kSaldo,
         u"Valor inválido para --filial: '65537' não é um número entre -32768 e 32767 (campo Filial)"_s},
        {u"0"_s, kSaldo, u"Valor inválido para --filial: 0 (o menor aceito é 1)"_s},
        {u"1"_s, baixaMp(u"0"_s, u"9"_s), u"Historico de venda invalido"_s},
        {u"1"_s, baixaMp(u"51"_s, u"4294967297"_s), u"'4294967297' não é um número inteiro de 32 bits (campo Fornecedor)"_s},
        {u"1"_s, baixaMp(u"51"_s, u"9"_s, u"01/11/0000"_s),
         u"'01/11/0000' não é uma data válida (campo Data inicial)"_s},
    };
    const auto antes = conteudoPasta(tmp.path());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        script.expect(c.mensagem);
        EXPECT_EQ(roda(QStringList{u"--empresa"_s, tmp.path(), u"--filial"_s, c.filial} + c.args), LoteRecusado);
        checkScript();
        EXPECT_EQ(conteudoPasta(tmp.path()), antes);
    }
}

// A mistyped company folder, a branch that is not registered and a closed
// period are refused without creating or changing anything; --criar lets the
// first two through.
TEST_F(Lote, RefusesAFolderWithoutAStoreAndABranchNotRegistered)
{
    QDir(tmp.path()).mkdir(u"vazia"_s);
    const QString vazia = tmp.filePath(u"vazia"_s), errada = tmp.filePath(u"Matirz"_s);
    sql(u"INSERT INTO Filial (Filial, NOME, FATMODNF) VALUES (2, 'FILIAL', 121)"_s);
    const struct {
        QString pasta, filial;
        QStringList args;
        QString mensagem;
    } casos[] = {
        {errada, u"1"_s, kSaldo,
         u"Banco de dados da empresa não encontrado: %1/dados.sqlite (use --criar para criar um novo)"_s.arg(errada)},
        {vazia, u"1"_s, kSaldo,
         u"Banco de dados da empresa não encontrado: %1/dados.sqlite (use --criar para criar um novo)"_s.arg(vazia)},
        {tmp.path(), u"7"_s, kSaldo,
         u"Filial 7 não cadastrada na empresa %1 (use --criar para processar sem as regras da instalação)"_s.arg(
             tmp.path())},
        {tmp.path(), u"2"_s, custo(u"122004"_s, u"0"_s, u"9"_s), u"Periodo Sem Acesso"_s},
    };
    const auto antes = conteudoPasta(tmp.path());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        script.expect(c.mensagem);
        EXPECT_EQ(roda(QStringList{u"--empresa"_s, c.pasta, u"--filial"_s, c.filial} + c.args), LoteRecusado);
        checkScript();
        EXPECT_EQ(conteudoPasta(tmp.path()), antes);
    }
}

TEST_F(Lote, CriarMakesTheStoreAndAcceptsABranchNotRegistered)
{
    const QString nova = tmp.filePath(u"Nova/Empresa"_s);
    script.expect(u"Filial 1 não cadastrada nesta empresa: nenhuma regra de instalação aplicada"_s);
    EXPECT_EQ(roda(QStringList{u"--empresa"_s, nova, u"--filial"_s, u"1"_s, u"--criar"_s} + kSaldo), LoteOk);
    EXPECT_TRUE(QFileInfo::exists(nova + u"/dados.sqlite"_s));

    script.expect(u"Filial 7 não cadastrada nesta empresa: nenhuma regra de instalação aplicada"_s);
    EXPECT_EQ(roda(QStringList{u"--empresa"_s, tmp.path(), u"--filial"_s, u"7"_s, u"--criar"_s} + kSaldo), LoteOk);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Sldpr WHERE Filial = 7"_s).toInt(), 1);
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
        {custo(u"112026"_s, u"0"_s, u"9"_s) + QStringList{u"--class-fim"_s, u"01"_s},
         u"Use --de/--ate ou --class-ini/--class-fim, não os dois"_s},
        {{u"saldo-fisico"_s, u"--mes"_s}, u"Falta o valor da opção --mes"_s},
        {kSaldo + QStringList{u"--criar"_s, u"--criar"_s}, u"Opção repetida: --criar"_s},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.primeiraLinha.toStdString());
        EXPECT_EQ(lote(c.args), LoteRecusado);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_TRUE(script.shown().last().contains(c.primeiraLinha + u"\nUso: pcp-lote"_s));
        script.clear();  // the message was not scripted: it was checked here
    }
}

TEST_F(Lote, HelpPrintsTheUsageAndSucceeds)
{
    for (const QString& ajuda : {u"--help"_s, u"-h"_s}) {
        for (const QStringList& args : {QStringList{ajuda}, QStringList{u"custo"_s, ajuda, u"--de"_s}}) {
            SCOPED_TRACE(args.join(u' ').toStdString());
            EXPECT_EQ(roda(args), LoteOk);
            EXPECT_TRUE(resultado.startsWith(u"Uso: pcp-lote --empresa PASTA --filial N [--criar] COMANDO"_s))
                << resultado.toStdString();
            EXPECT_TRUE(script.shown().isEmpty());
        }
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
    EXPECT_EQ(lote(custo(u"012005"_s, u"100"_s, u"200"_s)), LoteOk);
    EXPECT_EQ(custoMedio(100), 10);
    EXPECT_EQ(custoMedio(200), 25);
    EXPECT_EQ(custoMedio(300), 0);  // out of the range
    EXPECT_TRUE(andamento.endsWith(u"Custo médio atualizado: 2 saldos, 2 itens\n"_s)) << andamento.toStdString();
}

// Without a product range the command walks the classifications as the
// average-cost screen does, with the same stop rule: an end of "01000…"
// still takes every product of level "01".
TEST_F(Lote, CustoMedioWithoutARangeWalksTheClassificationsAsTheScreen)
{
    const struct {
        qint64 cod;
        QString classe;
        double custo;
    } produtos[] = {{100, u"010010001001000001000001"_s, 20},
                    {200, u"019990001001000001000002"_s, 100},
                    {300, u"020010001001000001000003"_s, 90}};
    for (const auto& p : produtos) {
        linha(u"Estproma"_s, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, p.cod}, {u"Nivel1"_s, p.classe.mid(0, 2)},
                              {u"Nivel2"_s, p.classe.mid(2, 3)}, {u"Nivel3"_s, p.classe.mid(5, 4)},
                              {u"Nivel4"_s, p.classe.mid(9, 3)}, {u"Nivel5"_s, p.classe.mid(12, 6)},
                              {u"Nivel6"_s, p.classe.mid(18, 6)}});
        saldo(u"200501"_s, 0, 0, 0, p.cod);
        grava(Mov{.nota = int(p.cod), .data = u"2005-01-02"_s, .qtd = 2, .custo = p.custo, .cod = p.cod});
    }
    EXPECT_EQ(lote({u"custo-medio"_s, u"--mes"_s, u"01/2005"_s, u"--class-fim"_s, u"010000000000000000000000"_s}),
              LoteOk);
    EXPECT_EQ(custoMedio(100), 10);
    EXPECT_EQ(custoMedio(200), 50);
    EXPECT_EQ(custoMedio(300), 0);  // level "02" lies past the end
    EXPECT_TRUE(andamento.endsWith(u"Custo médio atualizado: 2 produtos, 2 saldos, 2 itens\n"_s))
        << andamento.toStdString();
    // the walk's lines are labelled as the screen labels them
    EXPECT_TRUE(andamento.startsWith(u"Andamento: 01/001/0001/001/000001/100\n"_s)) << andamento.toStdString();

    EXPECT_EQ(lote({u"custo-medio"_s, u"--mes"_s, u"012005"_s}), LoteOk);  // every product
    EXPECT_EQ(custoMedio(300), 45);
}

TEST_F(Lote, TheBranchRulesAndTheProcessingDateApply)
{
    produto(100);
    saldo(u"200501"_s, 0);
    grava(Mov{.nota = 1, .data = u"2005-01-02"_s, .qtd = 2, .custo = 20});
    const QStringList args = custo(u"012005"_s, u"100"_s, u"100"_s);

    sql(u"UPDATE Filial SET FATMODNF = 121"_s);  // this installation's months up to 12/2004 are closed
    script.expect(u"Periodo Sem Acesso"_s);
    EXPECT_EQ(lote(custo(u"122004"_s, u"100"_s, u"100"_s)), LoteRecusado);
    EXPECT_EQ(lote(args), LoteOk);
    EXPECT_EQ(sql(u"SELECT VLR_MEDIO FROM Notai"_s).toDouble(), 10);
    sql(u"UPDATE Notai SET VLR_MEDIO = NULL"_s);

    // The processing date is read through the open store: the run fails
    // (status 1) without writing.
    linha(u"Estoqcfg"_s, {{u"Filial"_s, 1}, {u"Data"_s, u"2005-02-01"_s}});
    script.expect(u"Lançamento no estoque menor que a data de processamento"_s);
    EXPECT_EQ(lote(args), LoteFalhou);
    EXPECT_TRUE(sql(u"SELECT VLR_MEDIO FROM Notai"_s).isNull());
}

// Installation 74 does not revalue its months up to 12/2003, although only
// those up to 11/2002 are closed to the screen: the engine skips the month
// without a word, and the command says so.
TEST_F(Lote, AMonthSkippedByAnInstallationRuleIsSaid)
{
    produto(100);
    saldo(u"200212"_s, 0);
    grava(Mov{.nota = 1, .data = u"2002-12-02"_s, .qtd = 2, .custo = 20});
    sql(u"UPDATE Filial SET FATMODNF = 74"_s);
    script.expect(u"Custo médio não atualizado: a instalação 74 não processa o mês 12/2002"_s);
    EXPECT_EQ(lote(custo(u"122002"_s, u"100"_s, u"100"_s)), LoteFalhou);
    EXPECT_TRUE(sql(u"SELECT VLR_MEDIO FROM Notai"_s).isNull());
}

TEST_F(Lote, SaldoFisicoPrintsTheBalanceAndCopiesItIntoTheProductWhenAsked)
{
    produto(100);
    grava({{.nota = 1, .data = u"2005-01-02"_s, .qtd = 1234.5, .tam = u"G"_s, .dep = 2},
           {.nota = 2, .data = u"2005-01-03"_s, .hist = kSaida, .qtd = 3, .tam = u"G"_s, .dep = 2}});
    const QStringList base = kSaldo + QStringList{u"--tamanho"_s, u"G"_s, u"--deposito"_s, u"2"_s};
    EXPECT_EQ(lote(base), LoteOk);
    EXPECT_EQ(resultado, u"Mês: 200501\nProduto: 100\nTamanho: G\nDepósito: 2\nFisico: 1.231,5000\n"
                         "Fisico2: 0,0000\n"_s);
    EXPECT_EQ(saldoDe(u"200501"_s, 100, u"G"_s, 2)->fisico, 1231.5);
    EXPECT_TRUE(andamento.startsWith(u"Andamento: 02/01/2005 "_s)) << andamento.toStdString();
    EXPECT_EQ(sql(u"SELECT QTD_FIS FROM Estproma"_s).toDouble(), 0);
    EXPECT_EQ(lote(base + QStringList{u"--atualiza-qtdfis"_s}), LoteOk);
    EXPECT_EQ(sql(u"SELECT QTD_FIS FROM Estproma"_s).toDouble(), 1231.5);

    grava(Mov{.nota = 3, .data = u"2005-01-04"_s, .qtd = 5});
    EXPECT_EQ(lote(kSaldo), LoteOk);
    EXPECT_TRUE(resultado.contains(u"Tamanho: (sem tamanho)\nDepósito: 1\nFisico: 5,0000\n"_s))
        << resultado.toStdString();
}

// An error of the engine reaches the user in Portuguese with the engine's
// own text after it, and the run fails.
TEST_F(Lote, EngineErrorsAreSaidWithTheEnginesText)
{
    const QString pasta = tmp.filePath(u"estragada"_s);
    QDir().mkpath(pasta);
    QFile f(pasta + u"/dados.sqlite"_s);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const auto antes = conteudoPasta(pasta);
    EXPECT_EQ(roda(QStringList{u"--empresa"_s, pasta, u"--filial"_s, u"1"_s} + kSaldo), LoteFalhou);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().contains(u"Erro ao abrir o banco de dados: "_s)) << script.shown().first().toStdString();
    EXPECT_TRUE(script.shown().first().contains(u"not a database"_s)) << script.shown().first().toStdString();
    script.clear();
    EXPECT_EQ(conteudoPasta(pasta), antes);
}

// A folder the user may not write into stops the run when the store is
// opened; a store file he may not write into, at the first write.
TEST_F(Lote, AReadOnlyStoreIsAnErrorOfTheStore)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only files and folders: the permissions cannot be tested";
    const QString pasta = tmp.filePath(u"somenteLeitura"_s), arquivo = pasta + u"/dados.sqlite"_s;
    QDir().mkpath(pasta);
    Store::openCompany(pasta).reset();  // every table, then closed
    const auto escrita = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const struct {
        QFileDevice::Permissions permissoesPasta;
        QString mensagem;
    } casos[] = {
        {QFile::ReadOwner | QFile::ExeOwner, u"Erro ao abrir o banco de dados: attempt to write a readonly database"_s},
        {escrita, u"Erro ao gravar no banco de dados: attempt to write a readonly database"_s},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        QFile(arquivo).setPermissions(QFile::ReadOwner);
        QFile(pasta).setPermissions(c.permissoesPasta);
        const auto antes = conteudoPasta(pasta);
        const int status = roda(QStringList{u"--empresa"_s, pasta, u"--filial"_s, u"1"_s, u"--criar"_s} + kSaldo);
        const auto depois = conteudoPasta(pasta);
        QFile(pasta).setPermissions(escrita);
        QFile(arquivo).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(status, LoteFalhou);
        ASSERT_FALSE(script.shown().isEmpty());
        EXPECT_TRUE(script.shown().last().contains(c.mensagem)) << script.shown().last().toStdString();
        EXPECT_EQ(depois.at("dados.sqlite"), antes.at("dados.sqlite"));
        script.clear();
    }
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
    QStringList args = baixaMp(QString::number(kSaida), u"9"_s);
    args[8] = QString::number(kSaida);  // the write-off's history
    EXPECT_EQ(lote(args), LoteOk);
    EXPECT_EQ(linhasJuntas(store->db(), u"SELECT Cod_Reduz, QUANTIDADE FROM Notai WHERE Tipo_Nota = 3 ORDER BY Num_Item"_s,
                           u":"_s),
              u"7:120 8:80"_s);
    EXPECT_TRUE(andamento.contains(u"Andamento: 1 de 1 notas"_s)) << andamento.toStdString();
}

// The program itself: texts on stderr, results on stdout, the exit status for
// the shell.
TEST_F(Lote, TheProgramExitsWithTheStatusItDocuments)
{
    const QString errada = tmp.filePath(u"Matirz"_s);
    const struct {
        QStringList args;
        int status;
        QString saida, erros;
    } casos[] = {
        {{u"--help"_s}, 0, u"Uso: pcp-lote"_s, {}},
        {{u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s, u"custo-medio"_s, u"--mes"_s, u"002005"_s, u"--de"_s,
          u"0"_s, u"--ate"_s, u"9"_s},
         2, {}, u"Mês inválido: 002005 (use MMAAAA)"_s},
        {QStringList{u"--empresa"_s, errada, u"--filial"_s, u"1"_s} + kSaldo, 2, {}, errada + u"/dados.sqlite"_s},
        {{u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s, u"custo-medio"_s, u"--mes"_s, u"012005"_s, u"--de"_s,
          u"0"_s, u"--ate"_s, u"9"_s},
         0, {}, u"Custo médio atualizado: 0 saldos, 0 itens"_s},
        {QStringList{u"--empresa"_s, tmp.path(), u"--filial"_s, u"1"_s} + kSaldo, 0, u"Fisico: 0,0000"_s, {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QProcess p;
        p.start(QStringLiteral(PCP_LOTE), c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), c.status);
        const QString saida = QString::fromUtf8(p.readAllStandardOutput());
        const QString erros = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(saida.contains(c.saida)) << saida.toStdString();
        EXPECT_TRUE(erros.contains(c.erros)) << erros.toStdString();
        if (c.status == 0 && c.erros.isEmpty()) {
            EXPECT_FALSE(erros.contains(u"Erro"_s)) << erros.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(errada));
}

}  // namespace
}  // namespace pcp::test
