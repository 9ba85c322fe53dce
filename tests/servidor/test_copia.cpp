// Moving a company to a PostgreSQL server and back with pcp-lote
// (copia-para-servidor, copia-do-servidor), run as a process: every row
// arrives as it was, the copy on the server works with the batch command,
// the source is never changed, and a copy that fails or is refused leaves
// nothing in the target.
#include "ConteudoPasta.h"
#include "AccessTables.h"
#include "DocumentoEstoque.h"
#include "L_AutSen.h"
#include "Linhas.h"
#include "ServidorTeste.h"
#include "Store.h"
#include "Tabelas.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pcp::test {
namespace {

using namespace Qt::Literals::StringLiterals;

struct Saida {
    int status = -1;
    QString out, err;
};

Saida lote(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(PCP_LOTE), args);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Every row of every table of a store, in the order of the rows, each value
// with its kind: what must be alike on both ends of a copy.
QMap<QString, QStringList> despejo(Database& db)
{
    QMap<QString, QStringList> out;
    for (const QString& tabela : db.tableNames()) {
        const std::optional<TableDef> membro = Catalog::global().familyMember(tabela);
        const TableDef* def = membro ? &*membro : Catalog::global().find(tabela);
        if (!def)
            continue;
        QStringList campos;
        for (const FieldDef& f : def->fields())
            campos << quoted(f.name);
        Statement st = db.prepare(u"SELECT %1 FROM %2 ORDER BY _rowid_"_s.arg(campos.join(u", "_s), quoted(tabela)));
        QStringList& linhas = out[tabela.toLower()];
        while (st.next()) {
            QStringList valores;
            for (int c = 0; c < st.columnCount(); ++c) {
                const QVariant v = st.value(c);
                if (v.typeId() == QMetaType::QByteArray)
                    valores << u"blob:"_s + QString::fromLatin1(v.toByteArray().toHex());
                else
                    valores << QString::fromLatin1(v.typeName()) + u':' + v.toString();
            }
            linhas << valores.join(u'|');
        }
    }
    return out;
}

class Copia : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::optional<QString> c = conninfoDeTeste();
        if (!c)
            FAIL() << "estes testes precisam de um servidor: defina PCP_TESTE_SERVIDOR (ou rode-os pelo CTest, "
                      "que inicia o servidor de teste)";
        conninfo = *c;
        declaraTabelas();
        origem = tmp.filePath(u"origem"_s);
        QDir().mkpath(origem);
        criaEmpresa();
    }

    static QString esquemaNovo()
    {
        return u"t_"_s + QString::number(QRandomGenerator::system()->generate64() & 0xffffffffffffULL, 16);
    }
    // The tables of a schema of the test server.
    QStringList tabelasDoEsquema(const QString& esquema)
    {
        Database db(ServidorConf{conninfo, esquema}, {});
        return db.tableNames();
    }
    Saida paraServidor(const QString& pasta, const QString& destino, const QString& esquema)
    {
        return lote({u"--empresa"_s, pasta, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s,
                     destino, u"--esquema"_s, esquema});
    }
    static Saida doServidor(const QString& pasta, const QString& destino)
    {
        return lote({u"--empresa"_s, pasta, u"copia-do-servidor"_s, u"--destino"_s, destino});
    }

    // A small company: the branch with its logo, parameters of every kind,
    // a product with a purchase document, a balance, and the monthly logs.
    void criaEmpresa()
    {
        auto store = Store::openCompany(origem);
        Database& db = store->db();
        const QByteArray logo("\x00\x01\xfe\xff PNG", 8);
        insereLinha(db, u"Filial"_s, {{u"Filial"_s, 1}, {u"NOME"_s, u"MATRIZ ÇÃO"_s}, {u"FATMODNF"_s, 0},
                                     {u"Logomarca"_s, logo}, {u"Per_Pis"_s, 0.65}});
        insereLinha(db, u"ParametrosEmpresa"_s,
                    {{u"Filial"_s, 1}, {u"CodParametro"_s, 1}, {u"NomeParametro"_s, u"Acentuação"_s},
                     {u"ValorNumerico"_s, 0.1 + 0.2}, {u"ValorWide"_s, u"linha 1\nlinha 2 \"aspas\" 'apóstrofo'"_s},
                     {u"ValorBoolean"_s, true}});
        insereLinha(db, u"ParametrosEmpresa"_s,
                    {{u"Filial"_s, 1}, {u"CodParametro"_s, 2}, {u"ValorNumerico"_s, -1.0e-300}});
        for (auto [codigo, classe] : {std::pair{1, 1}, {51, 51}})
            insereLinha(db, u"HistEst"_s, {{u"Est_Hist"_s, codigo}, {u"Param_Hist"_s, classe}});
        insereLinha(db, u"Estproma"_s,
                    {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, 100}, {u"ULTIMOCUST"_s, 12.345678901234567}});
        GravadorDocumentos gravador(db, {u"Est_Hist"_s},
                                    {u"Cod_Reduz"_s, u"TAMANHO"_s, u"Cod_Deposi"_s, u"QUANTIDADE"_s});
        DocumentoEstoque d;
        d.chave = {1, 1, 3, 9, u"2005-01-02"_s};
        d.cabecalho = {1};
        d.itens.push_back({{100, {}, 1, 1234.5}, {}});
        gravador.grava(d);
        const QDateTime quando(QDate(2024, 5, 10), QTime(10, 20, 30));
        GravaLogSistema(*store, quando, 1, u"Cadastro"_s, u"I"_s, u"primeiro"_s, u"Estproma"_s, u"ADM"_s);
        GravaLogSistema(*store, quando, 1, u"Cadastro"_s, u"A"_s, u"segundo"_s, u"Estproma"_s, u"ADM"_s);
        store->ensure(logAcessoTable().renamed(u"Log2405"_s));
        insereLinha(db, u"Log2405"_s, {{u"DataHora"_s, quando}, {u"Usuario"_s, u"ADM"_s}});
    }

    QString conninfo, origem;
    QTemporaryDir tmp;
};

const QStringList kSaldo = {u"--filial"_s, u"1"_s, u"saldo-fisico"_s, u"--mes"_s, u"200501"_s, u"--produto"_s,
                            u"100"_s};

// To the server and back: every table holds the same rows with the same
// values, the monthly logs included; the batch command runs on the server
// copy with the same result; the logs go on numbering after the copied
// rows; the source is not changed.
TEST_F(Copia, ToTheServerAndBackKeepsEveryRow)
{
    const auto antes = conteudoPasta(origem);
    QMap<QString, QStringList> original;
    {
        Database db(companyStorePath(origem));
        original = despejo(db);
    }
    ASSERT_TRUE(original.contains(u"logsys_05_2024"_s) && original.contains(u"log2405"_s));
    ASSERT_EQ(original.value(u"logsys_05_2024"_s).size(), 2);

    const QString noServidor = tmp.filePath(u"servidor/empresa"_s), deVolta = tmp.filePath(u"volta"_s);
    const QString esquema = esquemaNovo();
    const Saida ida = paraServidor(origem, noServidor, esquema);
    ASSERT_EQ(ida.status, 0) << ida.err.toStdString();
    EXPECT_EQ(conteudoPasta(origem), antes);
    EXPECT_EQ(leServidorConf(noServidor)->esquema, esquema);
    EXPECT_TRUE(ida.err.contains(u"Cópia concluída e conferida: "_s)) << ida.err.toStdString();
    {
        Database db(ServidorConf{conninfo, esquema}, {});
        EXPECT_EQ(despejo(db), original);
    }

    const Saida volta = doServidor(noServidor, deVolta);
    ASSERT_EQ(volta.status, 0) << volta.err.toStdString();
    EXPECT_EQ(volta.out.toStdString(), ida.out.toStdString());  // the same rows and sums, table by table
    {
        Database db(companyStorePath(deVolta));
        EXPECT_EQ(despejo(db), original);
        // the server folds names to lower case; the family gives the log its spelling back
        EXPECT_TRUE(db.tableNames().contains(u"LogSys_05_2024"_s)) << db.tableNames().join(u' ').toStdString();
    }

    // the batch command on either copy, as on the original
    const Saida servidor = lote(QStringList{u"--empresa"_s, noServidor} + kSaldo);
    ASSERT_EQ(servidor.status, 0) << servidor.err.toStdString();
    EXPECT_EQ(servidor.out, u"Mês: 200501\nProduto: 100\nTamanho: (sem tamanho)\nDepósito: 1\n"
                            u"Fisico: 1.234,5000\nFisico2: 0,0000\n"_s);
    EXPECT_EQ(lote(QStringList{u"--empresa"_s, deVolta} + kSaldo).out, servidor.out);

    // the next log row of each copy is numbered after the copied ones
    for (const QString& pasta : {noServidor, deVolta}) {
        SCOPED_TRACE(pasta.toStdString());
        auto store = Store::openCompany(pasta);
        GravaLogSistema(*store, QDateTime(QDate(2024, 5, 11), QTime(8, 0)), 1, u"Cadastro"_s, u"E"_s, u"terceiro"_s,
                        u"Estproma"_s, u"ADM"_s);
        EXPECT_EQ(colunaJunta(store->db(), u"SELECT AutoInc FROM LogSys_05_2024 ORDER BY AutoInc"_s), u"1 2 3"_s);
    }
    EXPECT_EQ(conteudoPasta(origem), antes);
}

// A text longer than its field, which SQLite kept and the server refuses,
// stops the copy in the middle: the message names the table, the schema is
// left without tables, the folder the copy made is gone, and the source is
// as it was.
TEST_F(Copia, AValueTheServerRefusesLeavesTheTargetEmpty)
{
    {
        Database db(companyStorePath(origem));
        db.exec(u"UPDATE Estproma SET Nivel1 = 'NIVEL LONGO DEMAIS'"_s);
    }
    const auto antes = conteudoPasta(origem);
    const QString esquema = esquemaNovo(), destino = tmp.filePath(u"nova/empresa"_s);
    const Saida s = paraServidor(origem, destino, esquema);
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.err.contains(u"Cópia não concluída; nada foi gravado no destino. Tabela Estproma: "_s))
        << s.err.toStdString();
    EXPECT_TRUE(s.err.contains(u"Texto maior que o tamanho do campo"_s)) << s.err.toStdString();
    EXPECT_EQ(tabelasDoEsquema(esquema), QStringList{});
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(u"nova"_s)));
    EXPECT_EQ(conteudoPasta(origem), antes);
}

// Coming back, a log the server holds with one number twice (the server
// keeps it unique only with the other key fields; SQLite's numbering is the
// row's identity) fails the copy: no file and no folder are left.
TEST_F(Copia, AFailureComingBackLeavesNoFile)
{
    const QString noServidor = tmp.filePath(u"servidor"_s), esquema = esquemaNovo();
    ASSERT_EQ(paraServidor(origem, noServidor, esquema).status, 0);
    {
        // rows SQLite cannot take back: an auto-numbered field repeated, as a
        // table made before that field had its unique index could hold
        Database db(ServidorConf{conninfo, esquema}, {});
        for (const QString& indice : db.indexNames())
            if (indice.endsWith(u"_auto"_s))
                db.exec(u"DROP INDEX "_s + indice);
        db.exec(u"UPDATE LogSys_05_2024 SET AutoInc = 1"_s);
    }
    const Saida s = doServidor(noServidor, tmp.filePath(u"volta/empresa"_s));
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.err.contains(u"Tabela LogSys_05_2024: "_s)) << s.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(u"volta"_s)));

    // into a folder that exists, only the store file goes
    QDir().mkpath(tmp.filePath(u"existe"_s));
    EXPECT_EQ(doServidor(noServidor, tmp.filePath(u"existe"_s)).status, 1);
    EXPECT_EQ(QDir(tmp.filePath(u"existe"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

// What is refused before anything is written: a target folder that holds a
// company, a schema that holds its tables, a source on the wrong side, and
// options that do not belong to the command. Nothing changes anywhere.
TEST_F(Copia, RefusesATargetThatHoldsACompany)
{
    const QString usado = esquemaNovo(), noServidor = tmp.filePath(u"servidor"_s);
    ASSERT_EQ(paraServidor(origem, noServidor, usado).status, 0);
    const QString comLoja = tmp.filePath(u"comloja"_s), comConf = tmp.filePath(u"comconf"_s);
    QDir().mkpath(comLoja);
    QDir().mkpath(comConf);
    QFile(comLoja + u"/dados.sqlite"_s).open(QIODevice::WriteOnly);
    gravaServidorConf(comConf, ServidorConf{conninfo, usado});
    const QString novo = esquemaNovo(), livre = tmp.filePath(u"livre"_s), vazia = tmp.filePath(u"vazia"_s);
    QDir().mkpath(vazia);
    gravaServidorConf(vazia, ServidorConf{conninfo, esquemaNovo()});

    const struct {
        QStringList args;
        QString mensagem;
    } casos[] = {
        {{u"--empresa"_s, origem, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s, comLoja,
          u"--esquema"_s, novo},
         u"A pasta de destino %1 já contém uma empresa (dados.sqlite); escolha uma pasta nova"_s.arg(comLoja)},
        {{u"--empresa"_s, origem, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s, comConf,
          u"--esquema"_s, novo},
         u"A pasta de destino %1 já contém uma empresa (servidor.conf); escolha uma pasta nova"_s.arg(comConf)},
        {{u"--empresa"_s, origem, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s, livre,
          u"--esquema"_s, usado},
         u"O destino já contém a tabela "_s},
        {{u"--empresa"_s, noServidor, u"copia-do-servidor"_s, u"--destino"_s, origem},
         u"A pasta de destino %1 já contém uma empresa (dados.sqlite); escolha uma pasta nova"_s.arg(origem)},
        {{u"--empresa"_s, noServidor, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s, livre},
         u"A empresa em %1 já está em um servidor (servidor.conf); para trazê-la use copia-do-servidor"_s.arg(
             noServidor)},
        {{u"--empresa"_s, origem, u"copia-do-servidor"_s, u"--destino"_s, livre},
         u"A empresa em %1 não está em um servidor (falta servidor.conf); "
         u"para levá-la use copia-para-servidor"_s.arg(origem)},
        {{u"--empresa"_s, origem, u"copia-para-servidor"_s, u"--servidor"_s, conninfo, u"--destino"_s, livre,
          u"--esquema"_s, u"1-empresa"_s},
         u"servidor.conf: nome de esquema inválido: \"1-empresa\""_s},
        // the new file is made before the source is looked at, and removed
        {{u"--empresa"_s, vazia, u"copia-do-servidor"_s, u"--destino"_s, livre},
         u"A origem não contém as tabelas de uma empresa"_s},
        {{u"--empresa"_s, origem, u"--filial"_s, u"1"_s, u"copia-do-servidor"_s, u"--destino"_s, livre},
         u"A opção --filial não se aplica ao comando copia-do-servidor"_s},
    };
    const auto antes = conteudoPasta(tmp.path());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        const Saida s = lote(c.args);
        EXPECT_EQ(s.status, 2);
        EXPECT_TRUE(s.err.contains(c.mensagem)) << s.err.toStdString();
        EXPECT_EQ(conteudoPasta(tmp.path()), antes);
    }
    EXPECT_EQ(tabelasDoEsquema(novo), QStringList{});
}

}  // namespace
}  // namespace pcp::test
