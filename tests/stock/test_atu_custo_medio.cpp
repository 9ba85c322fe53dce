// The average-cost update screen driven through the scenario runner: the
// classification walk and its stop rule, the installations' period locks,
// the processing-date guard, the confirmation, the audit row, and a product
// another workstation holds.
#include "AccessTables.h"
#include "ClassificacaoFixture.h"
#include "CompanyScreens.h"
#include "RecordLocks.h"
#include "ResultadoExecucao.h"
#include "StockScreens.h"
#include "TDMFilial.h"
#include "TfoAtuCustoMedio.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <set>

namespace pcp::test {
namespace {

const QString kConfirma = u"Confirma atualizacao do custo medio"_s;
const QString kBloqueado = u"Existe outro usuário alterando este registro"_s;
const QString kEstoque = u"Lançamento no estoque menor que a data de processamento"_s;
const QString kFilial = u"Lancamento menor que a data de processamento"_s;

// Another workstation's program editing a record: a lock table of its own
// on the store, so its lock conflicts with every lock this process takes,
// exactly as another workstation's would.
class TravaDeOutraEstacao {
public:
    TravaDeOutraEstacao(Store& store, const QString& tabela, const QVariantList& chave)
        : outra_(store.locks().separate()), trava_(outra_->tryLock(tabela, chave))
    {
        EXPECT_TRUE(trava_.held());
    }
    void libera() { trava_.release(); }  // as a program that posts or ends

private:
    std::shared_ptr<RecordLockTable> outra_;
    RecordLock trava_;
};

class AtuCustoMedio : public ClassificacaoFixture {
protected:
    void SetUp() override
    {
        ClassificacaoFixture::SetUp();
        Catalog filiais;
        declareBranchTables(filiais);
        for (const TableDef& t : filiais.tables())
            store->ensure(t);
        linha(u"Filial"_s, {{u"Filial"_s, 1}, {u"NOME"_s, u"MATRIZ"_s}});
        linha(u"Filial"_s, {{u"Filial"_s, 2}, {u"NOME"_s, u"FILIAL"_s}});
        linha(u"Estoqcfg"_s, {{u"Filial"_s, 1}});
        linha(u"Estoqcfg"_s, {{u"Filial"_s, 2}, {u"Data"_s, u"2099-01-01"_s}});
        dm = std::make_unique<TDMFilial>(store);
        dm->openBranchTables();
        ASSERT_TRUE(dm->positionOn(1));
        setDMFilial(dm.get());
        sessao().UsuarioAtual = u"U01"_s;
        registerStockScreens(screens);
    }
    void TearDown() override
    {
        screens.destroyAll();
        setDMFilial(nullptr);
        ClassificacaoFixture::TearDown();
    }

    // Every audit row of this month and the one before (a run may cross the
    // turn of a month): "Filial|Janela|Acao|Usuario|Tabela|Log".
    QStringList auditoria()
    {
        QStringList linhas;
        const QDate hoje = QDate::currentDate();
        for (const QDate& mes : {hoje.addMonths(-1), hoje}) {
            const QString nome = nomeLogSistema(mes);
            if (!db().tableExists(nome))
                continue;
            Statement st = db().prepare(
                u"SELECT Filial || '|' || Janela || '|' || Acao || '|' || Usuario || '|' || "
                "coalesce(Tabela, '') || '|' || Log FROM %1 ORDER BY AutoInc"_s.arg(quoted(nome)));
            while (st.next())
                linhas << st.textValue(0);
        }
        return linhas;
    }
    void run(const QString& roteiro)
    {
        ui.useDatabase(db());
        ui.run(roteiro);
    }
    bool telaAberta() { return ui.isOpen(u"TfoAtuCustoMedio"_s); }
    void processamento(const QVariant& filial, const QVariant& estoque)
    {
        db().prepare(u"UPDATE Filial SET DATAPROCES = ? WHERE Filial = 1"_s).bindList({filial}).run();
        db().prepare(u"UPDATE Estoqcfg SET Data = ? WHERE Filial = 1"_s).bindList({estoque}).run();
    }

    std::unique_ptr<TDMFilial> dm;
    ScreenHarness ui;
    ScreenRegistry& screens = ui.screens;
};

// ---- the walk ------------------------------------------------------------------------

TEST_F(AtuCustoMedio, ValuesTheProductsOfTheClassificationRangeAndClosesTheScreen)
{
    struct Caso {
        const char* nome;
        QString ini, fim;
        std::set<qint64> valorizados;
    };
    const Caso casos[] = {
        {"the default range: every product of the branch", {}, {}, {100, 200, 300}},
        // The slashes of the progress text sort below the digits: every
        // product of level "01" passes, whatever its lower levels; the first
        // one of level "02" stops the run.
        {"an end at level 01 takes all of level 01", {}, u"010000000000000000000000"_s, {100, 200}},
        {"the start positions the walk", u"010020000000000000000000"_s, {}, {200, 300}},
        {"an end below the first product values nothing", {}, u"000000000000000000000000"_s, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        run(uR"S(
            abre TfoAtuCustoMedio
            confere-titulo "Atualização do Custo Medio"
            confere meClassIni "000000000000000000000000"
            confere meClassFim "999999999999999999999999"
            confere Label4 "Andamento"
            confere Label5 "Produto: "
            preenche meMesAno "012005"
            confere meMesAno "01/2005"
            %1
            %2
            mensagem "Confirma atualizacao do custo medio" icone pergunta botoes SimNao responde Sim
            clica btnOK
        )S"_s.arg(c.ini.isEmpty() ? QString() : u"preenche meClassIni \"%1\""_s.arg(c.ini),
                  c.fim.isEmpty() ? QString() : u"preenche meClassFim \"%1\""_s.arg(c.fim)));
        EXPECT_EQ(valorizados(), c.valorizados);
        EXPECT_FALSE(telaAberta()) << "the screen closes at the end of the run";
        // Branch 2's product and its balance are left alone.
        EXPECT_EQ(custoMedio(150, 2), 1);
        EXPECT_EQ(sql(u"SELECT Medio FROM Sldpr WHERE Filial = 2 AND Ano_Mes = '200501'"_s).toDouble(), 0);
        desvaloriza();
    }
}

TEST_F(AtuCustoMedio, TheRunsCountGoesToTheMenusStatusBar)
{
    QString barra;
    ResultadoExecucaoScope menu([&](const QString& texto) { barra = texto; });
    struct Caso {
        QString fim;
        QString contagem;
    };
    for (const Caso& c : {Caso{u"999999999999999999999999"_s, u"3 produtos"_s},
                          Caso{u"010000000000000000000000"_s, u"2 produtos"_s},
                          Caso{u"000000000000000000000000"_s, u"nada a processar"_s}}) {
        SCOPED_TRACE(c.contagem.toStdString());
        barra.clear();
        run(uR"S(
            abre TfoAtuCustoMedio
            preenche meMesAno "012005"
            preenche meClassFim "%1"
            mensagem "Confirma atualizacao do custo medio" responde Sim
            clica btnOK
        )S"_s.arg(c.fim));
        EXPECT_EQ(barra, u"Atualização do Custo Medio: "_s + c.contagem);
        EXPECT_FALSE(telaAberta());
        desvaloriza();
    }
}

TEST_F(AtuCustoMedio, WritesTheAuditRowBeforeTheWalk)
{
    run(uR"S(
        abre TfoAtuCustoMedio
        preenche meMesAno "012005"
        preenche meClassFim "010000000000000000000000"
        mensagem "Confirma atualizacao do custo medio" responde Sim
        clica btnOK
    )S"_s);
    EXPECT_EQ(auditoria(), QStringList{u"1|foAtuCustoMedio|E|U01||Atualização de custo medio Periodo: 012005 "
                                       "Class Inicial 000000000000000000000000 a 010000000000000000000000"_s});
    EXPECT_EQ(sql(u"SELECT count(*) FROM LogSys_Tipos WHERE (Tipo = 'J' AND Campo = 'foAtuCustoMedio') "
                  "OR (Tipo = 'A' AND Campo = 'Editar')"_s)
                  .toInt(),
              2);
}

// ---- refusals before anything is written -----------------------------------------------

TEST_F(AtuCustoMedio, InstallationPeriodLocksRefuseEarlyMonths)
{
    struct Caso {
        int fat;
        QString mes;       // typed "MMYYYY"
        QString mensagem;  // empty: the month passes to the confirmation
    };
    const QString comS = u"Periodo Sem Acesso"_s, semS = u"Periodo sem acesso"_s;
    const Caso casos[] = {
        {131, u"122007"_s, comS},  {131, u"012008"_s, {}},
        {160, u"012008"_s, comS},  {160, u"022008"_s, {}},  // on 01/01/2008 itself
        {176, u"032007"_s, comS},  {176, u"042007"_s, {}},
        {121, u"122004"_s, comS},  {121, u"012005"_s, {}},
        {126, u"062004"_s, comS},  {126, u"072004"_s, {}},  // before 01/07/2004 only
        {112, u"122003"_s, comS},  {112, u"012004"_s, {}},
        {177, u"122003"_s, comS},  {177, u"012004"_s, {}},
        {51, u"022004"_s, comS},   {51, u"032004"_s, {}},
        {73, u"112000"_s, semS},   {73, u"122000"_s, {}},
        {83, u"112000"_s, semS},   {221, u"112000"_s, semS},  {304, u"112000"_s, semS},
        {304, u"122000"_s, {}},
        {62, u"042001"_s, semS},   {62, u"052001"_s, {}},
        {74, u"112002"_s, semS},   {74, u"122002"_s, {}},
        {0, u"011990"_s, {}},      {999, u"011990"_s, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE("FatModNf " + std::to_string(c.fat) + " month " + c.mes.toStdString());
        sessao().FatModNf = c.fat;
        run(uR"S(
            abre TfoAtuCustoMedio
            preenche meMesAno "%1"
            mensagem "%2" %3
            clica btnOK
            confere-titulo "Atualização do Custo Medio"
            fecha
        )S"_s.arg(c.mes, c.mensagem.isEmpty() ? kConfirma : c.mensagem,
                  c.mensagem.isEmpty() ? u"icone pergunta responde Nao"_s : u"icone nenhum botoes OK"_s));
    }
    EXPECT_TRUE(auditoria().isEmpty());
    EXPECT_TRUE(valorizados().empty());
}

TEST_F(AtuCustoMedio, AMonthBeforeTheProcessingDateIsRefusedBeforeTheQuestion)
{
    struct Caso {
        const char* nome;
        QVariant filial, estoque;  // DATAPROCES of the branch, Data of Estoqcfg
        QString mes;
        QStringList mensagens;  // empty: passes to the confirmation
    };
    const Caso casos[] = {
        {"stock closed at the month", {}, u"2005-02-01"_s, u"022005"_s, {}},
        {"stock closed the month before", {}, u"2005-02-01"_s, u"012005"_s, {kEstoque}},
        // The first day of the month is what counts.
        {"stock closed in the middle of the month", {}, u"2005-01-15"_s, u"012005"_s, {kEstoque}},
        {"branch and stock closed", u"2005-02-01"_s, u"2005-02-01"_s, u"012005"_s, {kFilial, kEstoque}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        processamento(c.filial, c.estoque);
        QString mensagens;
        for (const QString& m : c.mensagens)
            mensagens += u"mensagem \"%1\"\n"_s.arg(m);
        if (c.mensagens.isEmpty())
            mensagens = u"mensagem \"%1\" responde Nao"_s.arg(kConfirma);
        run(uR"S(
            abre TfoAtuCustoMedio
            preenche meMesAno "%1"
            %2
            clica btnOK
            fecha
        )S"_s.arg(c.mes, mensagens));
    }
    EXPECT_TRUE(auditoria().isEmpty());
    EXPECT_TRUE(valorizados().empty());
}

TEST_F(AtuCustoMedio, NoAtTheConfirmationWritesNothing)
{
    run(uR"S(
        abre TfoAtuCustoMedio
        preenche meMesAno "012005"
        mensagem "Confirma atualizacao do custo medio" responde Nao
        clica btnOK
        confere Label4 "Andamento"
        confere-estado btnOK habilitado
    )S"_s);
    EXPECT_TRUE(telaAberta());
    EXPECT_TRUE(auditoria().isEmpty());
    EXPECT_TRUE(valorizados().empty());
    EXPECT_EQ(sql(u"SELECT count(*) FROM Notai WHERE VLR_MEDIO <> 0"_s).toInt(), 0);
    EXPECT_EQ(sql(u"SELECT count(*) FROM Estproma WHERE CustoMedio <> 1"_s).toInt(), 0);
}

TEST_F(AtuCustoMedio, ARefusedParameterGetsItsMessageAndTheFocusAndNothingRuns)
{
    const struct {
        QString mes, classIni, mensagem, campo;
    } casos[] = {
        {u"132024"_s, {}, u"Mês / Ano inválido: 13/2024"_s, u"meMesAno"_s},
        {u"002024"_s, {}, u"Mês / Ano inválido: 00/2024"_s, u"meMesAno"_s},
        {u"010000"_s, {}, u"Mês / Ano inválido: 01/0000"_s, u"meMesAno"_s},
        {u"05"_s, {}, u"Mês / Ano inválido: 05/____"_s, u"meMesAno"_s},
        {u""_s, {}, u"Informe o Mês / Ano"_s, u"meMesAno"_s},
        {u"012005"_s, u"0100"_s, u"Informe os 24 dígitos da Class.Inicial"_s, u"meClassIni"_s},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        run(uR"S(
            abre TfoAtuCustoMedio
            preenche meMesAno "%1"
            %2
            mensagem "%3" icone erro
            clica btnOK
            confere-estado %4 focado
            fecha
        )S"_s.arg(c.mes,
                  c.classIni.isEmpty() ? QString() : u"preenche meClassIni \"%1\""_s.arg(c.classIni),
                  c.mensagem, c.campo));
    }
    EXPECT_TRUE(auditoria().isEmpty());
    EXPECT_TRUE(valorizados().empty());
}

// ---- a product another workstation holds -----------------------------------------------

TEST_F(AtuCustoMedio, AProductHeldElsewhereAndGivenUpIsSkipped)
{
    TravaDeOutraEstacao outra(*store, u"Estproma"_s, {1, 200});
    ASSERT_FALSE(store->locks().tryLock(u"Estproma"_s, {1, 200}).held()) << "the other lock must conflict";
    run(uR"S(
        abre TfoAtuCustoMedio
        preenche meMesAno "012005"
        mensagem "Confirma atualizacao do custo medio" responde Sim
        mensagem "Existe outro usuário alterando este registro" titulo "Registro bloqueado" botoes OKCancelar responde Cancelar
        clica btnOK
    )S"_s);
    EXPECT_EQ(valorizados(), (std::set<qint64>{100, 300}));
    EXPECT_EQ(custoMedio(200), 1);
    EXPECT_FALSE(telaAberta());
}

TEST_F(AtuCustoMedio, OkTriesTheHeldProductAgainUntilItIsFree)
{
    auto outra = std::make_unique<TravaDeOutraEstacao>(*store, u"Estproma"_s, QVariantList{1, 200});
    QWidget* tela = screens.open(u"TfoAtuCustoMedio"_s);
    ASSERT_NE(tela, nullptr);
    auto* meMesAno = tela->findChild<QLineEdit*>(u"meMesAno"_s);
    auto* Label4 = tela->findChild<QLabel*>(u"Label4"_s);
    auto* Label5 = tela->findChild<QLabel*>(u"Label5"_s);
    meMesAno->setFocus();
    QTest::keyClicks(meMesAno, u"012005"_s);

    script.expect(kConfirma, MsgAnswer::Yes);
    auto& primeira = script.expect(kBloqueado, MsgAnswer::Ok);
    primeira.caption = u"Registro bloqueado"_s;
    primeira.before = [&] {
        // The walk shows the held product; the engine's label still names the one before.
        EXPECT_EQ(Label4->text(), u"Andamento: 01/999/0001/001/000001/200"_s);
        EXPECT_EQ(Label5->text(), u"Produto: 100"_s);
        EXPECT_EQ(valorizados(), std::set<qint64>{100});
    };
    script.expect(kBloqueado, MsgAnswer::Ok).before = [&] { outra.reset(); };
    tela->findChild<QPushButton*>(u"btnOK"_s)->click();
    checkScript();
    EXPECT_EQ(valorizados(), (std::set<qint64>{100, 200, 300}));
}

}  // namespace
}  // namespace pcp::test
