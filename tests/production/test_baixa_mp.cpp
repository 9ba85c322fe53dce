// The raw-material write-off by formula: what one sales document's write-off
// holds, which documents are exploded, replacing a former run, the messages
// of the run, the checks of the inputs, a run killed half-way, and the screen.
#include "RecusaNoBanco.h"
#include "BaixaFixture.h"
#include "CompanyScreens.h"
#include "FieldEdit.h"
#include "ProductionScreens.h"
#include "ResultadoExecucao.h"
#include "TfoBaixaEstoqueMatPrima.h"
#include "Transaction.h"

#include <QProgressBar>
#include <QPushButton>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace pcp::test {
namespace {

const QString kData = u"2005-03-10"_s;

class BaixaMateriaPrima : public BaixaFixture {
protected:
    void SetUp() override
    {
        BaixaFixture::SetUp();
        produto(501, u"RESINA ALQUIDICA"_s);
        produto(502, u"DIOXIDO DE TITANIO"_s);
        produto(503, u"AGUARRAS"_s);
        produto(504, u"SECANTE"_s);
        produto(505, u"CARGA"_s);
        produto(506, u"ANTIESPUMANTE"_s);
    }
};

TEST_F(BaixaMateriaPrima, WritesTheHeaderAndItemsExactlyAsListed)
{
    formula(u"ST 1"_s, {{501, 60}, {502, 40}});
    formula(u"ST 2"_s, {{503, 33.3333}, {504, 33.3333}, {505, 33.3334}});
    venda(10, kData, {{u"ST 1"_s, 200}, {u"ST 2"_s, 3}}, 7);

    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.documentos, 1);
    EXPECT_EQ(r.itens, 5);
    EXPECT_EQ(r.falhas, 0);
    EXPECT_FALSE(r.interrompido);
    // 200 × 60 % and 40 %; then 3 units at shares that are not rounded away
    EXPECT_EQ(itensBaixa(10, kData),
              (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 120},
                                {2, 502, u"DIOXIDO DE TITANIO"_s, 80},
                                {3, 503, u"AGUARRAS"_s, 3 * 33.3333 / 100},
                                {4, 504, u"SECANTE"_s, 3 * 33.3333 / 100},
                                {5, 505, u"CARGA"_s, 3 * 33.3334 / 100}}));

    const QString hoje = QDate::currentDate().toString(u"yyyy-MM-dd"_s);
    EXPECT_EQ(sql(u"SELECT Filial || '|' || Num_Nota || '|' || Cod_Clifor || '|' || DT_ENTRADA || '|' || "
                  "Est_Hist || '|' || SISTEMA || '|' || DT_LANCAM || '|' || DT_EMISSAO || '|' || OBSERVACAO "
                  "FROM Notas WHERE Tipo_Nota = 3"_s).toString(),
              u"1|10|900|2005-03-10|55|E|"_s + hoje + u"|2005-03-10|BAIXA MATERIA PRIMA"_s);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Notai WHERE Tipo_Nota = 3 AND Filial = 1 AND Cod_Clifor = 900 "
                  "AND DT_ENTRADA = '2005-03-10' AND Parametro = 51 AND Cod_Deposi = 1 "
                  "AND DT_LANCAM = ? AND ANO_MES = '200503'"_s, {hoje}).toInt(), 5);

    // nothing but the listed fields is filled
    const auto preenchidos = [&](const TableDef& t) {
        QStringList campos;
        for (const FieldDef& f : t.fields())
            if (sql(u"SELECT count(*) FROM %1 WHERE Tipo_Nota = 3 AND %2 IS NOT NULL"_s.arg(t.name(), quoted(f.name)))
                    .toInt() > 0)
                campos << f.name;
        return campos.join(u' ');
    };
    EXPECT_EQ(preenchidos(notasTable()),
              u"Filial Num_Nota Tipo_Nota Cod_Clifor DT_ENTRADA Est_Hist SISTEMA DT_LANCAM DT_EMISSAO OBSERVACAO"_s);
    EXPECT_EQ(preenchidos(notaiTable()),
              u"Filial Num_Nota Tipo_Nota Cod_Clifor DT_ENTRADA Num_Item Parametro Cod_Reduz Cod_Deposi "
              "ANO_MES DESCR_PROD QUANTIDADE DT_LANCAM"_s);
    // the sales document is only read
    EXPECT_EQ(sql(u"SELECT count(*) FROM Notai WHERE Tipo_Nota = 1"_s).toInt(), 2);
}

TEST_F(BaixaMateriaPrima, NumbersTheItemsAcrossTheDocument)
{
    formula(u"ST 1"_s, {{501, 50}, {502, 30}, {503, 20}});
    formula(u"ST 2"_s, {{504, 10}, {505, 45}, {506, 45}});
    formula(u"ST 3"_s, {});  // no components
    struct Caso {
        const char* nome;
        QList<Vendido> itens;
        QList<ItemBaixa> baixa;
    };
    const Caso casos[] = {
        {"items that name no formula", {{{}, 10}, {u"   "_s, 4}}, {}},
        {"a formula without components", {{u"ST 3"_s, 10}}, {}},
        {"two formula items of three components",
         {{u"ST 1"_s, 100}, {{}, 7}, {u"ST 2"_s, 20}},
         {{1, 501, u"RESINA ALQUIDICA"_s, 50},
          {2, 502, u"DIOXIDO DE TITANIO"_s, 30},
          {3, 503, u"AGUARRAS"_s, 20},
          {4, 504, u"SECANTE"_s, 2},
          {5, 505, u"CARGA"_s, 9},
          {6, 506, u"ANTIESPUMANTE"_s, 9}}},
    };
    int nota = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ++nota;
        venda(nota, kData, c.itens);
        const ResultadoBaixa r = baixa();
        EXPECT_EQ(r.documentos, nota);  // every document of the period again
        EXPECT_EQ(sql(u"SELECT count(*) FROM Notas WHERE Tipo_Nota = 3 AND Num_Nota = ?"_s, {nota}).toInt(), 1)
            << "the header is written even without items";
        EXPECT_EQ(itensBaixa(nota, kData), c.baixa);
    }
}

TEST_F(BaixaMateriaPrima, TwoSalesDocumentsOnOneKeyLeaveTheLaterOne)
{
    formula(u"ST 1"_s, {{501, 100}});
    formula(u"ST 2"_s, {{502, 50}, {503, 50}});
    // same number and date, different clients: one write-off key; the client
    // code orders them, so client 8's comes later
    venda(10, kData, {{u"ST 2"_s, 40}}, 8);
    venda(10, kData, {{u"ST 1"_s, 100}}, 3);

    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.documentos, 2);
    EXPECT_EQ(cabecalhosBaixa(), 1);
    EXPECT_EQ(itensBaixa(10, kData), (QList<ItemBaixa>{{1, 502, u"DIOXIDO DE TITANIO"_s, 20},
                                                       {2, 503, u"AGUARRAS"_s, 20}}));
}

TEST_F(BaixaMateriaPrima, RunningAgainReplacesEachWriteOffWithWhatHangsOffIt)
{
    formula(u"ST 1"_s, {{501, 50}, {502, 30}, {503, 20}});
    venda(10, kData, {{u"ST 1"_s, 100}});
    venda(11, kData, {{u"ST 1"_s, 10}});
    ASSERT_EQ(baixa().itens, 6);

    // extensions of the old write-off, an item its header no longer holds, a
    // write-off of another supplier code and one outside the period
    QVariantMap item = chave(10, kData, kFornecedor, 3);
    linha(u"NOTAS3"_s, item);
    item.insert(u"Num_Item"_s, 2);
    QVariantMap extensao = item;
    extensao.insert(u"NaoAtualizaSaldos"_s, u"S"_s);
    linha(u"NOTAI3"_s, extensao);
    QVariantMap satelite = item;
    satelite.insert(u"Cod_reduz"_s, 502);
    linha(u"Nfe_notai_imp"_s, satelite);
    QVariantMap orfao = chave(11, kData, kFornecedor, 3);
    orfao.insert(u"Num_Item"_s, 9);
    linha(u"Notai"_s, orfao);
    const auto outra = [&](int nota, const QString& data, qint64 fornecedor) {
        linha(u"Notas"_s, chave(nota, data, fornecedor, 3));
        QVariantMap i = chave(nota, data, fornecedor, 3);
        i.insert(u"Num_Item"_s, 1);
        linha(u"Notai"_s, i);
    };
    outra(10, kData, 901);
    outra(12, u"2004-12-31"_s, kFornecedor);

    // the formula loses a component, the sale changes
    db().exec(u"DELETE FROM Formulai WHERE OrdComp = 3; UPDATE Formulai SET Percentual = 50; "
              "UPDATE Notai SET QUANTIDADE = 200 WHERE Tipo_Nota = 1 AND Num_Nota = 10"_s);
    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.documentos, 2);
    EXPECT_EQ(r.itens, 4);
    EXPECT_EQ(itensBaixa(10, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 100},
                                                       {2, 502, u"DIOXIDO DE TITANIO"_s, 100}}));
    EXPECT_EQ(itensBaixa(11, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 5},
                                                       {2, 502, u"DIOXIDO DE TITANIO"_s, 5}}));
    EXPECT_EQ(sql(u"SELECT count(*) FROM NOTAS3"_s).toInt(), 0);
    EXPECT_EQ(sql(u"SELECT count(*) FROM NOTAI3"_s).toInt(), 0) << "a stale NaoAtualizaSaldos would hide the new item";
    EXPECT_EQ(sql(u"SELECT count(*) FROM Nfe_notai_imp"_s).toInt(), 0);
    EXPECT_EQ(cabecalhosBaixa(), 4);
    EXPECT_EQ(itensBaixa(10, kData, 901).size(), 1);
    EXPECT_EQ(itensBaixa(12, u"2004-12-31"_s).size(), 1);
}

TEST_F(BaixaMateriaPrima, MissingFormulaIsReportedAfterTheCommitAndItsItemSkipped)
{
    formula(u"ST 1"_s, {{501, 60}, {502, 40}});
    formula(u"ST 77"_s, {{503, 100}}, false);  // components, but no formula
    venda(7, kData, {{u"ST 1"_s, 10}, {u"ST 999"_s, 5}, {u"ST 77"_s, 5}, {u"ST 1"_s, 20}});
    venda(8, kData, {{u"ST 999"_s, 1}});

    const auto jaGravada = [&] {
        EXPECT_FALSE(db().inTransaction()) << "a message box must not hold the write lock";
        EXPECT_EQ(itensBaixa(7, kData).size(), 4) << "shown once the document is committed";
    };
    for (const QString& texto : {u"Formula: ST 999  na nota 7 não cadastrada"_s,
                                 u"Formula: ST 77  na nota 7 não cadastrada"_s,
                                 u"Formula: ST 999  na nota 8 não cadastrada"_s}) {
        auto& e = script.expect(texto);
        e.icon = MsgIcon::None;
        e.buttons = MsgButtons::Ok;
        e.before = jaGravada;
    }

    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.documentos, 2);
    EXPECT_EQ(r.falhas, 0);
    EXPECT_EQ(itensBaixa(7, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 6},
                                                      {2, 502, u"DIOXIDO DE TITANIO"_s, 4},
                                                      {3, 501, u"RESINA ALQUIDICA"_s, 12},
                                                      {4, 502, u"DIOXIDO DE TITANIO"_s, 8}}));
    EXPECT_EQ(itensBaixa(8, kData), QList<ItemBaixa>{});
    EXPECT_EQ(cabecalhosBaixa(), 2);
}

TEST_F(BaixaMateriaPrima, ExplodesOnlyTheBranchsSalesDocumentsOfThePeriodAndHistory)
{
    formula(u"ST 1"_s, {{501, 100}});
    formula(u"ST 1"_s, {{502, 100}}, true, 2);  // the same code in branch 2
    produto(501, u"OUTRO NOME NA FILIAL 2"_s, 2);
    struct Caso {
        int nota;
        QString data;
        int hist, tipo, filial;
        bool baixada;
    } casos[] = {
        {1, u"2005-01-01"_s, kHistVenda, 1, 1, true},   // first day
        {2, u"2005-12-31"_s, kHistVenda, 1, 1, true},   // last day
        {3, u"2004-12-31"_s, kHistVenda, 1, 1, false},  // before
        {4, u"2006-01-01"_s, kHistVenda, 1, 1, false},  // after
        {5, u"2005-06-01"_s, 6, 1, 1, false},           // another history: passed over
        {6, u"2005-06-01"_s, kHistVenda, 2, 1, false},  // not a sales document
        {7, u"2005-06-01"_s, kHistVenda, 1, 2, false},  // another branch
    };
    for (const Caso& c : casos)
        venda(c.nota, c.data, {{u"ST 1"_s, 10}}, 7, c.hist, c.tipo, c.filial);

    QList<std::pair<int, int>> andamento;
    const ResultadoBaixa r = baixa(parametros(), [&](int feitos, int total) { andamento << std::pair{feitos, total}; });

    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nota);
        EXPECT_EQ(sql(u"SELECT count(*) FROM Notas WHERE Tipo_Nota = 3 AND Num_Nota = ?"_s, {c.nota}).toInt(),
                  c.baixada ? 1 : 0);
    }
    EXPECT_EQ(r.documentos, 2);
    EXPECT_EQ(itensBaixa(1, u"2005-01-01"_s), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 10}}));
    // the progress counts every sales document of the period and branch
    ASSERT_GE(andamento.size(), 2);
    EXPECT_EQ(andamento.front(), (std::pair{0, 3}));
    EXPECT_EQ(andamento.back(), (std::pair{3, 3}));
}

TEST_F(BaixaMateriaPrima, RefusedHeaderKeepsItsOldWriteOffAndTheRunGoesOn)
{
    formula(u"ST 1"_s, {{501, 100}});
    for (int nota : {1, 2, 3})
        venda(nota, kData, {{u"ST 1"_s, 10}});
    ASSERT_EQ(baixa().documentos, 3);
    // the store refuses the header of document 2 as a duplicate key
    recusaNoBanco(db(), u"recusa"_s, u"BEFORE INSERT ON Notas"_s, u"NEW.Tipo_Nota = 3 AND NEW.Num_Nota = 2"_s,
                  u"Key violation."_s);
    db().exec(u"UPDATE Formulai SET Percentual = 50"_s);
    auto& e = script.expect(u"Registro ja existe - Key violation.\nTabela : Notas"_s);
    e.icon = MsgIcon::Information;
    e.before = [&] { EXPECT_FALSE(db().inTransaction()); };

    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.documentos, 2);
    EXPECT_EQ(r.falhas, 1);
    EXPECT_FALSE(r.interrompido);
    EXPECT_EQ(itensBaixa(1, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 5}}));
    EXPECT_EQ(itensBaixa(2, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 10}}))
        << "the old write-off stays whole";
    EXPECT_EQ(itensBaixa(3, kData), (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 5}}));
    EXPECT_EQ(cabecalhosBaixa(), 3);
}

// A store error half-way through a document's write-off (a full disk) stops
// the run: with one document per transaction, the documents committed before
// keep their new write-off, the one being written keeps its old one whole.
TEST_F(BaixaMateriaPrima, AStoreErrorHalfWayLeavesNoPartialDocument)
{
    formula(u"ST 1"_s, {{501, 50}, {502, 50}});
    for (int nota : {1, 2, 3})
        venda(nota, kData, {{u"ST 1"_s, 10}});
    ASSERT_EQ(baixa().documentos, 3);
    db().exec(u"UPDATE Formulai SET Percentual = 25"_s);
    recusaNoBanco(db(), u"falha"_s, u"BEFORE INSERT ON Notai"_s,
                  u"NEW.Tipo_Nota = 3 AND NEW.Num_Nota = 2 AND NEW.Num_Item = 2"_s, u"disco cheio"_s);
    // the message carries the engine's text first, then the statement
    struct Captura : MessageService {
        MsgAnswer show(const Message& m) override
        {
            mensagens << m;
            return MsgAnswer::Ok;
        }
        std::optional<QString> input(const InputRequest&) override { return std::nullopt; }
        QList<Message> mensagens;
    } captura;
    MessageServiceScope escopo(captura);
    contexto.passoMs = 0;

    const ResultadoBaixa r = baixa();

    ASSERT_EQ(captura.mensagens.size(), 1);
    EXPECT_TRUE(captura.mensagens[0].text.startsWith(u"disco cheio"_s)) << captura.mensagens[0].text.toStdString();
    EXPECT_EQ(captura.mensagens[0].icon, MsgIcon::Error);
    EXPECT_TRUE(r.interrompido);
    EXPECT_EQ(r.documentos, 1);
    EXPECT_EQ(r.passos, 1);
    const QList<ItemBaixa> antiga{{1, 501, u"RESINA ALQUIDICA"_s, 5}, {2, 502, u"DIOXIDO DE TITANIO"_s, 5}};
    EXPECT_EQ(itensBaixa(1, kData),
              (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 2.5}, {2, 502, u"DIOXIDO DE TITANIO"_s, 2.5}}));
    EXPECT_EQ(itensBaixa(2, kData), antiga);
    EXPECT_EQ(itensBaixa(3, kData), antiga);
    EXPECT_EQ(cabecalhosBaixa(), 3);
    EXPECT_FALSE(db().inTransaction());
}

// On the server a group given up for another workstation's transaction
// (a deadlock) is written again; one that keeps meeting it stops the run with
// the server's message in Portuguese, and nothing of that group stays.
TEST_F(BaixaMateriaPrima, AGroupGivenUpForAnotherWorkstationIsWrittenAgain)
{
    if (!db().onServer())
        GTEST_SKIP() << "só o servidor desiste de uma transação por impasse";
    formula(u"ST 1"_s, {{501, 50}, {502, 50}});
    for (int nota : {1, 2, 3})
        venda(nota, kData, {{u"ST 1"_s, 10}});
    conflitoNoBanco(db(), u"cruza"_s, u"BEFORE INSERT ON Notas"_s, 2);
    ResultadoBaixa r = baixa();
    EXPECT_FALSE(r.interrompido);
    EXPECT_EQ(r.documentos, 3);
    EXPECT_EQ(cabecalhosBaixa(), 3);

    tiraRecusa(db(), u"cruza"_s, u"Notas"_s);
    conflitoNoBanco(db(), u"sempre"_s, u"BEFORE INSERT ON Notai"_s, 1000);
    db().exec(u"UPDATE Formulai SET Percentual = 25"_s);
    script.expect(u"O servidor não conseguiu gravar por conflito com outra estação. Tente novamente."_s);
    r = baixa();
    EXPECT_TRUE(r.interrompido);
    EXPECT_EQ(r.documentos, 0);
    EXPECT_EQ(itensBaixa(1, kData),
              (QList<ItemBaixa>{{1, 501, u"RESINA ALQUIDICA"_s, 5}, {2, 502, u"DIOXIDO DE TITANIO"_s, 5}}));
    EXPECT_FALSE(db().inTransaction());
}

// The run commits whole documents in short steps: with the shortest steps
// every document is one, and between two steps another connection writes at
// once (had the run held the write lock throughout, that write would wait for
// it and fail after the busy wait).
TEST_F(BaixaMateriaPrima, AnotherConnectionWritesBetweenTwoSteps)
{
    formula(u"ST 1"_s, {{501, 50}, {502, 50}});
    for (int nota : {1, 2, 3})
        venda(nota, kData, {{u"ST 1"_s, 10}});
    contexto.passoMs = 0;
    auto outraLoja = Store::open(store->path());  // a second connection, as another workstation has
    Database& outra = outraLoja->db();
    QList<int> vistos;
    const ResultadoBaixa r = baixa(parametros(), [&](int feitos, int) {
        EXPECT_FALSE(db().inTransaction());
        Transaction tx(outra);
        outra.prepare(u"UPDATE Estproma SET NOME1 = ? WHERE Cod_Reduz = 506"_s).bindList({feitos}).run();
        tx.commit();
        vistos << feitos;
    });
    EXPECT_EQ(vistos, (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(r.passos, 3);
    EXPECT_EQ(r.documentos, 3);
    EXPECT_EQ(cabecalhosBaixa(), 3);
    EXPECT_EQ(sql(u"SELECT NOME1 FROM Estproma WHERE Cod_Reduz = 506"_s).toString(), u"3"_s);
}

TEST_F(BaixaMateriaPrima, EveryFormulaStaysRightWhenTheRunMeetsHundredsOfThem)
{
    // Each document names a formula met before and then one met for the
    // first time: the first must survive the growth of what remembers them.
    constexpr int kFormulas = 400;
    {
        Transaction tx(db());
        for (int f = 0; f <= kFormulas; ++f)
            formula(u"ST %1"_s.arg(f), {{501 + f % 6, 25}, {501 + (f + 1) % 6, 75}});
        for (int n = 1; n <= kFormulas; ++n)
            venda(n, kData, {{u"ST 0"_s, 4}, {u"ST %1"_s.arg(n), 8}});
        tx.commit();
    }
    const ResultadoBaixa r = baixa();
    EXPECT_EQ(r.itens, 4 * kFormulas);
    const QString nomes[] = {u"RESINA ALQUIDICA"_s, u"DIOXIDO DE TITANIO"_s, u"AGUARRAS"_s,
                             u"SECANTE"_s,          u"CARGA"_s,              u"ANTIESPUMANTE"_s};
    for (int n = 1; n <= kFormulas; ++n) {
        ASSERT_EQ(itensBaixa(n, kData),
                  (QList<ItemBaixa>{{1, 501, nomes[0], 1},
                                    {2, 502, nomes[1], 3},
                                    {3, 501 + n % 6, nomes[n % 6], 2},
                                    {4, 501 + (n + 1) % 6, nomes[(n + 1) % 6], 6}}))
            << "document " << n;
    }
}

TEST_F(BaixaMateriaPrima, DocumentBeyondTheLastItemNumberIsRefusedWhole)
{
    QList<std::pair<qint64, double>> muitos;
    for (int i = 0; i < 16384; ++i)
        muitos << std::pair{qint64(501), 0.001};
    {
        Transaction tx(db());
        formula(u"ST 9"_s, muitos);
        tx.commit();
    }
    formula(u"ST 1"_s, {{501, 100}});
    venda(1, kData, {{u"ST 9"_s, 1}, {u"ST 9"_s, 1}});  // 32768 items
    venda(2, kData, {{u"ST 1"_s, 1}});
    script.expect(u"A baixa da nota 1 passa de 32767 itens; a nota não foi baixada"_s).icon = MsgIcon::Error;

    const ResultadoBaixa r = baixa();

    EXPECT_EQ(r.falhas, 1);
    EXPECT_EQ(r.documentos, 1);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Notai WHERE Tipo_Nota = 3 AND Num_Nota = 1"_s).toInt(), 0);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Notas WHERE Tipo_Nota = 3 AND Num_Nota = 1"_s).toInt(), 0);
    EXPECT_EQ(itensBaixa(2, kData).size(), 1);
}

// ---- the inputs -------------------------------------------------------------

class BaixaEntrada : public BaixaFixture {};

TEST_F(BaixaEntrada, BadInputIsRefusedWithItsFieldAndWritesNothing)
{
    struct Caso {
        QString dataIni = u"01/01/2005"_s, dataFim = u"31/12/2005"_s, venda = u"5"_s, baixa = u"55"_s,
                fornecedor = u"900"_s;
        QString mensagem;
        MsgIcon icone = MsgIcon::Error;
        int campo = -1;
    };
    const auto caso = [](auto ajuste, const QString& mensagem, int campo, MsgIcon icone = MsgIcon::Error) {
        Caso c;
        ajuste(c);
        c.mensagem = mensagem;
        c.campo = campo;
        c.icone = icone;
        return c;
    };
    const Caso casos[] = {
        caso([](Caso& c) { c.venda = u"0"_s; }, u"Historico de venda invalido"_s, 2, MsgIcon::None),
        caso([](Caso& c) { c.venda = u""_s; }, u"Historico de venda invalido"_s, 2, MsgIcon::None),
        caso([](Caso& c) { c.baixa = u" 0 "_s; }, u"Historico da baixa invalido"_s, 3, MsgIcon::None),
        caso([](Caso& c) { c.fornecedor = u"0"_s; }, u"Codigo do fornecedor invalido"_s, 4, MsgIcon::None),
        caso([](Caso& c) { c.venda = u"5a"_s; },
             u"'5a' não é um número inteiro válido (campo Historico de Venda)"_s, 2),
        caso([](Caso& c) { c.baixa = u"40000"_s; },
             u"'40000' não é um número entre -32768 e 32767 (campo Historico da Baixa)"_s, 3),
        caso([](Caso& c) { c.fornecedor = u"12,5"_s; },
             u"'12,5' não é um número inteiro válido (campo Fornecedor)"_s, 4),
        caso([](Caso& c) { c.fornecedor = u"3000000000"_s; },
             u"'3000000000' não é um número inteiro de 32 bits (campo Fornecedor)"_s, 4),
        caso([](Caso& c) { c.dataIni = u""_s; }, u"Informe a data inicial"_s, 0),
        caso([](Caso& c) { c.dataIni = u"31/02/2005"_s; },
             u"'31/02/2005' não é uma data válida (campo Data inicial)"_s, 0),
        caso([](Caso& c) { c.dataFim = u"ab/12/2005"_s; },
             u"'ab/12/2005' não é uma data válida (campo Data Final)"_s, 1),
        caso([](Caso& c) { c.dataFim = u"31/13/2005"_s; },
             u"'31/13/2005' não é uma data válida (campo Data Final)"_s, 1),
        caso([](Caso& c) { c.dataFim = u"31/12/2004"_s; },
             u"A data final não pode ser anterior à data inicial"_s, 1),
        // the codes are checked before the dates
        caso([](Caso& c) { c.dataIni = u"xx"_s; c.fornecedor = u"0"_s; }, u"Codigo do fornecedor invalido"_s,
             4, MsgIcon::None),
    };
    formula(u"ST 1"_s, {{501, 100}});
    venda(1, kData, {{u"ST 1"_s, 10}});
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        script.expect(c.mensagem).icon = c.icone;
        int campo = -1;
        EXPECT_FALSE(criticaEntradaBaixa(c.dataIni, c.dataFim, c.venda, c.baixa, c.fornecedor, &campo));
        EXPECT_EQ(campo, c.campo);
        checkScript();
    }
    EXPECT_EQ(cabecalhosBaixa(), 0);

    const auto p = criticaEntradaBaixa(u"1/3/2005"_s, u"01/03/2005"_s, u" 5 "_s, u"-3"_s, u"2147483647"_s);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->DataIni, QDate(2005, 3, 1));
    EXPECT_EQ(p->DataFim, QDate(2005, 3, 1));
    EXPECT_EQ(p->HistoricoVenda, 5);
    EXPECT_EQ(p->HistoricoBaixa, -3);
    EXPECT_EQ(p->Fornecedor, 2147483647);
}

TEST_F(BaixaEntrada, RunGivenBadParametersWritesNothing)
{
    formula(u"ST 1"_s, {{501, 100}});
    venda(1, kData, {{u"ST 1"_s, 10}});
    struct Caso {
        ParametrosBaixa p;
        QString mensagem;
    };
    const QDate ini(2005, 1, 1), fim(2005, 12, 31);
    const Caso casos[] = {
        {{ini, fim, 0, kHistBaixa, kFornecedor}, u"Historico de venda invalido"_s},
        {{ini, fim, kHistVenda, 0, kFornecedor}, u"Historico da baixa invalido"_s},
        {{ini, fim, kHistVenda, kHistBaixa, 0}, u"Codigo do fornecedor invalido"_s},
        {{ini, fim, kHistVenda, 40000, kFornecedor},
         u"'40000' não é um número entre -32768 e 32767 (campo Historico da Baixa)"_s},
        {{QDate(), fim, kHistVenda, kHistBaixa, kFornecedor}, u"Informe a data inicial"_s},
        {{fim, ini, kHistVenda, kHistBaixa, kFornecedor}, u"A data final não pode ser anterior à data inicial"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        script.expect(c.mensagem);
        bool chamado = false;
        const ResultadoBaixa r = baixa(c.p, [&](int, int) { chamado = true; });
        EXPECT_TRUE(r.interrompido);
        EXPECT_FALSE(chamado);
        checkScript();
    }
    EXPECT_EQ(cabecalhosBaixa(), 0);
}

// ---- a run killed half-way -------------------------------------------------

class BaixaInterrompida : public BaixaFixture {
protected:
    static constexpr int kNotas = 6000, kFormulas = 20, kComponentes = 10;

    // Sales document n sells 2 items of formulas n % 20 and (n + 7) % 20.
    void gera()
    {
        Transaction tx(db());
        for (int c = 1; c <= kFormulas * kComponentes + 1; ++c)
            produto(1000 + c, u"MP %1"_s.arg(c));
        for (int f = 0; f < kFormulas; ++f) {
            QList<std::pair<qint64, double>> comps;
            for (int c = 0; c < kComponentes; ++c)
                comps << std::pair{qint64(1001 + f * kComponentes + c), 10.0};
            formula(u"ST %1"_s.arg(f), comps);
        }
        for (int n = 1; n <= kNotas; ++n)
            venda(n, data(n), {{u"ST %1"_s.arg(n % kFormulas), double(n % 50 + 1)},
                               {u"ST %1"_s.arg((n + 7) % kFormulas), 10}});
        tx.commit();
    }
    static QString data(int n) { return QDate(2005, 1, 1).addDays(n % 365).toString(u"yyyy-MM-dd"_s); }

    // The write-off document n gets from the formulas as they stand (`extra`:
    // with the component added after the first run).
    static QList<ItemBaixa> esperada(int n, bool extra)
    {
        QList<ItemBaixa> itens;
        const std::pair<int, double> vendidos[] = {{n % kFormulas, double(n % 50 + 1)},
                                                   {(n + 7) % kFormulas, 10}};
        for (auto [f, qtd] : vendidos) {
            for (int c = 0; c < kComponentes; ++c) {
                const qint64 cod = 1001 + f * kComponentes + c;
                itens << ItemBaixa{itens.size() + 1, cod, u"MP %1"_s.arg(cod - 1000), qtd * 10.0 / 100};
            }
            if (extra) {
                const qint64 cod = 1001 + kFormulas * kComponentes;
                itens << ItemBaixa{itens.size() + 1, cod, u"MP %1"_s.arg(cod - 1000), qtd * 5.0 / 100};
            }
        }
        return itens;
    }
};

TEST_F(BaixaInterrompida, KilledRunLeavesEachDocumentWholeOrAsItWas)
{
    gera();
    ASSERT_EQ(baixa().documentos, kNotas);
    {
        Transaction tx(db());
        for (int f = 0; f < kFormulas; ++f)
            linha(u"Formulai"_s, {{u"Filial"_s, 1}, {u"Formula"_s, u"ST %1"_s.arg(f)},
                                  {u"OrdComp"_s, kComponentes + 1},
                                  {u"Componente"_s, 1001 + kFormulas * kComponentes}, {u"Percentual"_s, 5.0}});
        tx.commit();
    }
    store.reset();  // the child opens the store on its own

    int canal[2];
    ASSERT_EQ(pipe(canal), 0);
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        // the child never returns into the test runner
        try {
            close(canal[0]);
            StderrMessages mensagens;
            MessageServiceScope escopo(mensagens);
            auto proprio = Store::openCompany(tmp.path(), catalogo());
            BaixaEstoqueMateriaPrima(*proprio, contexto, parametros(), [&](int feitos, int) {
                if (write(canal[1], &feitos, sizeof feitos) != sizeof feitos)
                    _exit(3);
            });
        } catch (...) {
            _exit(2);
        }
        _exit(0);
    }
    close(canal[1]);
    // Once the child has committed its first documents it is killed while
    // it writes the next ones.
    int feitos = 0;
    while (feitos == 0 && read(canal[0], &feitos, sizeof feitos) == sizeof feitos) {
    }
    usleep(40000);
    kill(filho, SIGKILL);
    int estado = 0;
    waitpid(filho, &estado, 0);
    close(canal[0]);
    ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "the run ended before it was killed";
    ASSERT_GT(feitos, 0);

    abre();
    EXPECT_EQ(db().integrityCheck(), u"ok"_s);
    int novas = 0, antigas = 0;
    for (int n = 1; n <= kNotas; ++n) {
        const QList<ItemBaixa> itens = itensBaixa(n, data(n));
        if (itens == esperada(n, true))
            ++novas;
        else if (itens == esperada(n, false))
            ++antigas;
        else
            ADD_FAILURE() << "document " << n << " holds a partial write-off of " << itens.size() << " items";
        EXPECT_EQ(sql(u"SELECT count(*) FROM Notas WHERE Tipo_Nota = 3 AND Num_Nota = ?"_s, {n}).toInt(), 1)
            << "document " << n;
    }
    EXPECT_GE(novas, feitos) << "what the child committed stays";
    EXPECT_GT(antigas, 0) << "the child was killed before the end";
    EXPECT_EQ(novas + antigas, kNotas);
}

// ---- the screen -------------------------------------------------------------

class BaixaTela : public BaixaFixture {
protected:
    void SetUp() override
    {
        BaixaFixture::SetUp();
        dm = std::make_unique<TDMFilial>(store);
        setDMFilial(dm.get());
        registerProductionScreens(screens);
        produto(501, u"RESINA ALQUIDICA"_s);
        produto(502, u"DIOXIDO DE TITANIO"_s);
        formula(u"ST 1"_s, {{501, 60}, {502, 40}});
        venda(1, u"2005-02-01"_s, {{u"ST 1"_s, 200}});
        venda(2, u"2005-02-02"_s, {{u"ST 404"_s, 1}});
        venda(3, u"2005-03-01"_s, {{u"ST 1"_s, 10}});
    }
    void TearDown() override
    {
        screens.destroyAll();
        setDMFilial(nullptr);
        BaixaFixture::TearDown();
    }
    void run(const QString& roteiro)
    {
        ui.useDatabase(db());
        ui.run(roteiro);
    }

    std::unique_ptr<TDMFilial> dm;
    ScreenHarness ui;
    ScreenRegistry& screens = ui.screens;
};

TEST_F(BaixaTela, OkWritesOffThePeriodTypedAndStaysOpen)
{
    run(uR"S(
        abre TfoBaixaEstoqueMatPrima
        confere-titulo "Baixa Estoque Materia Prima"
        confere edHistVenda "0"
        confere edHistBaixa "0"
        confere edFornecedor "0"
        confere btOK "OK"
        confere btFechar "Fechar"
        preenche edDataIni "01/02/2005"
        preenche edDataFim "28/02/2005"
        preenche edHistVenda "5"
        preenche edHistBaixa "55"
        preenche edFornecedor "900"
        mensagem "Formula: ST 404  na nota 2 não cadastrada" icone nenhum
        clica btOK
        confere-sql "select count(*) from Notas where Tipo_Nota = 3" "2"
        confere-sql "select count(*) from Notai where Tipo_Nota = 3 and Num_Nota = 1 and (Num_Item = 1 and Cod_Reduz = 501 and QUANTIDADE = 120 or Num_Item = 2 and Cod_Reduz = 502 and QUANTIDADE = 80)" "2"
        confere-sql "select Est_Hist || '/' || Cod_Clifor from Notas where Tipo_Nota = 3 and Num_Nota = 1" "55/900"
        confere-estado btOK habilitado
        confere-estado btFechar habilitado
        confere lbResultado "2 documentos, 2 itens"
        janela foBaixaEstoqueMatPrima
        clica btFechar
    )S"_s);
    EXPECT_EQ(screens.find(u"TfoBaixaEstoqueMatPrima"_s), nullptr) << "Fechar closes the screen";
}

TEST_F(BaixaTela, APeriodWithoutSalesSaysSoOnTheScreenAndTheMenu)
{
    QString barra;
    ResultadoExecucaoScope menu([&](const QString& texto) { barra = texto; });
    run(uR"S(
        abre TfoBaixaEstoqueMatPrima
        preenche edDataIni "01/01/2004"
        preenche edDataFim "31/01/2004"
        preenche edHistVenda "5"
        preenche edHistBaixa "55"
        preenche edFornecedor "900"
        clica btOK
        confere lbResultado "nada a processar"
        confere-sql "select count(*) from Notas where Tipo_Nota = 3" "0"
    )S"_s);
    EXPECT_EQ(barra, u"Baixa Estoque Materia Prima: nada a processar"_s);
}

TEST_F(BaixaTela, EnterMovesThroughTheFieldsToOk)
{
    run(uR"S(
        abre TfoBaixaEstoqueMatPrima
        preenche edDataIni "01/02/2005"
        tecla Enter
        confere-estado edDataFim focado
        preenche edDataFim "01/03/2005"
        tecla Enter
        confere-estado edHistVenda focado
        preenche edHistVenda "5"
        tecla Enter
        confere-estado edHistBaixa focado
        preenche edHistBaixa "55"
        tecla Enter
        confere-estado edFornecedor focado
        preenche edFornecedor "900"
        tecla Enter
        confere-estado btOK focado
        mensagem "Formula: ST 404  na nota 2 não cadastrada"
        tecla Enter
        confere-sql "select count(*) from Notas where Tipo_Nota = 3" "3"
    )S"_s);
}

TEST_F(BaixaTela, BadInputPutsTheFocusOnItsFieldAndWritesNothing)
{
    struct Caso {
        QString campo, texto, mensagem;
    } casos[] = {
        {u"edHistVenda"_s, u"0"_s, u"Historico de venda invalido"_s},
        {u"edHistBaixa"_s, u"0"_s, u"Historico da baixa invalido"_s},
        {u"edFornecedor"_s, u"0"_s, u"Codigo do fornecedor invalido"_s},
        {u"edFornecedor"_s, u"9a"_s, u"'9a' não é um número inteiro válido (campo Fornecedor)"_s},
        {u"edDataIni"_s, u"30/02/2005"_s, u"'30/02/2005' não é uma data válida (campo Data inicial)"_s},
        {u"edDataIni"_s, u""_s, u"Informe a data inicial"_s},
        {u"edDataFim"_s, u"31/01/2005"_s, u"A data final não pode ser anterior à data inicial"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        run(uR"S(
            abre TfoBaixaEstoqueMatPrima
            preenche edDataIni "01/02/2005"
            preenche edDataFim "28/02/2005"
            preenche edHistVenda "5"
            preenche edHistBaixa "55"
            preenche edFornecedor "900"
            preenche %1 "%2"
            mensagem "%3"
            clica btOK
            confere-estado %1 focado
            confere-sql "select count(*) from Notas where Tipo_Nota = 3" "0"
            fecha
        )S"_s.arg(c.campo, c.texto, c.mensagem));
    }
}

TEST_F(BaixaTela, WhileRunningOkIsDisabledAndTheWindowStays)
{
    auto* tela = qobject_cast<TfoBaixaEstoqueMatPrima*>(screens.open(u"TfoBaixaEstoqueMatPrima"_s));
    ASSERT_TRUE(tela);
    tela->edDataIni->setText(u"01/01/2005"_s);
    tela->edDataFim->setText(u"31/12/2005"_s);
    tela->edHistVenda->setText(u"5"_s);
    tela->edHistBaixa->setText(u"55"_s);
    tela->edFornecedor->setText(u"900"_s);
    script.expect(u"Formula: ST 404  na nota 2 não cadastrada"_s).before = [&] {
        EXPECT_TRUE(tela->running());
        EXPECT_FALSE(tela->btOK->isEnabled());
        EXPECT_FALSE(tela->btFechar->isEnabled());
        EXPECT_FALSE(tela->close()) << "the window stays open during the run";
        EXPECT_FALSE(db().inTransaction());
    };
    tela->btOKClick();
    EXPECT_FALSE(tela->running());
    EXPECT_TRUE(tela->btOK->isEnabled());
    EXPECT_EQ(tela->pbAndamento->maximum(), 3);
    EXPECT_EQ(tela->pbAndamento->value(), 3);
    EXPECT_EQ(cabecalhosBaixa(), 3);
    EXPECT_TRUE(tela->isVisible());
}

}  // namespace
}  // namespace pcp::test
