#include "DemoInstalacao.h"

#include "AccessTables.h"
#include "DemoCatalogo.h"
#include "DemoEstoque.h"
#include "Empresas.h"
#include "Formats.h"
#include "Mes.h"
#include "Store.h"
#include "Tabelas.h"
#include "Transaction.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
struct DemoEmpresa {
    int codigo;
    const char16_t* nome;
    const char16_t* diretorio;
    int grupo;
    const char16_t* senha;
    int loja;
};

const DemoEmpresa kEmpresas[] = {
    {1, u"TINTAS ARDENO MATRIZ", u"\\Dados\\Matriz", 1, u"", 0},
    {2, u"TINTAS ARDENO SUL", u"\\Dados\\Sul", 1, u"Sul2024", 2},
    {3, u"VERNIZES BOA VISTA", u"\\Dados\\BoaVista", 2, u"", 3},
};

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

void run(Database& db, const QString& sql, const QVariantList& params = {})
{
    db.prepare(sql).bindList(params).run();
}

void fillCompany(const std::shared_ptr<Store>& store, const DemoEmpresa& e, QDate hoje)
{
    Database& db = store->db();
    Transaction tx(db);
    const QString cidade = e.codigo == 3 ? u"BOA VISTA"_s : u"SAO PAULO"_s;
    run(db, u"INSERT INTO Filial (Filial, NOME, FIL_CIDADE, FIL_ESTADO, CGC, FATMODNF, USATAMANHO, TermServ, "
            u"PERCENT_L2, PERCENT_L3) VALUES (1, ?, ?, 'SP', '11222333000181', 0, 'S', 0, 10, 15)"_s,
        {e.codigo == 3 ? u"MATRIZ - BOA VISTA"_s : u"MATRIZ - SAO PAULO"_s, cidade});
    run(db, u"INSERT INTO Filial (Filial, NOME, FIL_CIDADE, FIL_ESTADO, CGC, FATMODNF, USATAMANHO, TermServ) "
            u"VALUES (2, 'FILIAL - CAMPINAS', 'CAMPINAS', 'SP', '11222333000262', 0, 'S', 0)"_s);
    for (const QString& cfg : {u"Estoqcfg"_s, u"Escricfg"_s, u"CRECFG"_s, u"FATURCFG"_s, u"CONTCFG"_s})
        run(db, u"INSERT INTO \"%1\" (Filial, Data) VALUES (1, '2024-01-01'), (2, '2024-01-01')"_s.arg(cfg));
    // access codes: 157 guards the branch choice, 101 the raw-material write-off (asks for the user)
    run(db, u"INSERT INTO Acesso (Codigo, Conteudo, Descricao, Inf_Usuario) VALUES "
            u"(157, 'filial', 'Escolha da filial', 'N'), (101, 'baixa', 'Baixa de materia prima', 'S')"_s);
    run(db, u"INSERT INTO Usuarios (Codigo, Senha, Nivel) VALUES ('U01', 'u01', 'SUP'), ('U02', 'u02', 'OPE')"_s);
    run(db, u"INSERT INTO ParametrosEmpresa (Filial, CodParametro, NomeParametro, DescParametro, ValorStr) "
            u"VALUES (1, 1, 'NomeQuimicoResponsavel', 'Quimico responsavel', 'ANA PAULA SOUZA - CRQ 04123456')"_s);
    run(db, u"INSERT INTO ParametrosEmpresa (Filial, CodParametro, NomeParametro, DescParametro, ValorBoolean) "
            u"VALUES (1, 2, 'UsaLoteMateriaPrima', 'Controla lotes de materia prima', 1)"_s);
    run(db, u"INSERT INTO Pcpcfg (Filial, UltimaFormula) VALUES (1, 120), (2, 35)"_s);
    preencheCatalogoDemo(*store);
    preencheEstoqueDemo(*store, hoje);
    tx.commit();
}

void fillLogin(Store& store)
{
    Database& db = store.db();
    Transaction tx(db);
    for (const TableDef& t : loginTables())
        if (t.name().compare(u"GruposUsuarios"_s, Qt::CaseInsensitive) == 0)
            run(db, u"INSERT INTO GruposUsuarios (CodigoGrupo, DescGrupo, Ativo) VALUES (1, 'PRODUCAO', 'S')"_s);
    tx.commit();
}

void fillEmpresas(Store& empresas)
{
    Transaction tx(empresas.db());
    for (const DemoEmpresa& e : kEmpresas)
        run(empresas.db(), u"INSERT INTO Empresa (Codigo, Nome, Diretorio, Grupo, PWD, LOJA) VALUES (?, ?, ?, ?, ?, ?)"_s,
            {e.codigo, QString::fromUtf16(e.nome), QString::fromUtf16(e.diretorio), e.grupo,
             QString::fromUtf16(e.senha), e.loja});
    tx.commit();
}

// The company table is written beside its final name and renamed when whole.
void gravaListaLocal(const QString& empresaDb)
{
    const QString tmp = empresaDb + u".novo"_s;
    QFile::remove(tmp);
    {
        auto empresas = Store::openLocal(tmp, {empresaTable()});
        fillEmpresas(*empresas);
        empresas->db().checkpoint();
    }
    QFile::remove(tmp + u"-wal"_s);
    QFile::remove(tmp + u"-shm"_s);
    QFile::remove(tmp + u"-locks"_s);
    if (!QFile::rename(tmp, empresaDb))
        throw DbError(u"Nao foi possivel gravar "_s + empresaDb);
}

// The install schema first, then one per company, in the order of kEmpresas.
QList<ServidorConf> esquemasDemo(const DemoServidor& servidor)
{
    static const QRegularExpression nome(u"^[a-z_][a-z0-9_]{0,40}$"_s);
    const QString prefixo = servidor.prefixo.trimmed().toLower();
    if (!nome.match(prefixo).hasMatch())
        throw DbError(u"Prefixo de esquema inválido: \"%1\" (use letras, algarismos e _, começando por letra)"_s.arg(
                          servidor.prefixo),
                      DbErrorKind::Refused);
    if (servidor.conninfo.trimmed().isEmpty())
        throw DbError(u"--servidor precisa de uma linha de conexão"_s, DbErrorKind::Refused);
    QList<ServidorConf> out{{servidor.conninfo.trimmed(), prefixo + u"_inst"_s}};
    for (const DemoEmpresa& e : kEmpresas)
        out << ServidorConf{servidor.conninfo.trimmed(), prefixo + u"_emp"_s + QString::number(e.codigo)};
    return out;
}

void exigeEsquemasVazios(const QList<ServidorConf>& esquemas)
{
    for (const ServidorConf& conf : esquemas) {
        Database db(conf, QString());
        if (!db.tableNames().isEmpty())
            throw DbError(u"O esquema \"%1\" do servidor já tem tabelas; a demonstração não é gravada sobre "
                          u"outros dados (escolha outro prefixo com --esquema-prefixo)"_s.arg(conf.esquema),
                          DbErrorKind::Refused);
    }
}

// A demo that failed half-way leaves its schemas empty again, so that the
// same prefix can be tried once more. They were empty when it began.
void desfazEsquemas(const QList<ServidorConf>& esquemas)
{
    for (const ServidorConf& conf : esquemas) {
        try {
            Database db(conf, QString());
            for (const QString& tabela : db.tableNames())
                db.exec(u"DROP TABLE "_s + quoted(tabela));
        } catch (const DbError&) {
            // the server is gone: the refusal of the next attempt names the schema
        }
    }
}

// The demo's last month (the one before its creation) for the scenario scripts.
QByteArray variaveisRoteiro(QDate hoje)
{
    const Mes mes = *Mes::daData(hoje.addMonths(-1));
    // the ISO dates compare with a date column alike on every engine
    return u"PCP_DEMO_MES=%1\nPCP_DEMO_ANOMES=%2\nPCP_DEMO_INICIO=%3\nPCP_DEMO_FIM=%4\n"
           u"PCP_DEMO_INICIO_ISO=%5\nPCP_DEMO_FIM_ISO=%6\n"_s
        .arg(mes.mesAno(), mes.anoMes(), formatDate(mes.primeiroDia()), formatDate(mes.ultimoDia()),
             mes.primeiroDia().toString(Qt::ISODate), mes.ultimoDia().toString(Qt::ISODate))
        .toUtf8();
}
}  // namespace

bool criaDemo(const Paths& paths, QString* erro, const std::optional<DemoServidor>& servidor)
{
    if (QFile::exists(paths.empresaDb()) || companyOnServer(paths.instalacao))
        return true;
    const QDate hoje = QDate::currentDate();
    QList<ServidorConf> esquemas;
    try {
        declaraTabelas();
        QDir().mkpath(paths.instalacao);
        QDir().mkpath(paths.programa);
        std::optional<ServidorConf> instalacao;
        if (servidor) {
            esquemas = esquemasDemo(*servidor);
            exigeEsquemasVazios(esquemas);
            instalacao = esquemas.first();
        }
        try {
            for (int i = 0; i < int(std::size(kEmpresas)); ++i) {
                const DemoEmpresa& e = kEmpresas[i];
                const QString folder = paths.companyFolder(QString::fromUtf16(e.diretorio));
                QDir().mkpath(folder);
                if (servidor)
                    gravaServidorConf(folder, esquemas.at(i + 1));
                auto store = Store::openCompany(folder);
                fillCompany(store, e, hoje);
            }
            // on a server the login tables live beside the company list
            const QString loginFolder = paths.localFolder(u"\\Dados\\Login\\"_s);
            QDir().mkpath(loginFolder);
            fillLogin(*(instalacao ? Store::openServer(*instalacao, paths.instalacao, loginTables())
                                   : Store::open(loginStorePath(loginFolder), loginTables())));
            writeText(paths.newLoginIni(), "[BaseLogin]\r\nBase=\\Dados\\Login\\\r\n");
            writeText(paths.loginIni(), "[BaseDadosUltLogin]\r\nBase=TINTAS ARDENO MATRIZ\r\n");
            writeText(QDir(paths.instalacao).filePath(u"demo.env"_s), variaveisRoteiro(hoje));
            // the company list last: its presence marks a finished demo
            if (instalacao) {
                fillEmpresas(*Store::openServer(*instalacao, paths.instalacao, {empresaTable()}));
                gravaServidorConf(paths.instalacao, *instalacao);
            } else {
                gravaListaLocal(paths.empresaDb());
            }
        } catch (const DbError&) {
            desfazEsquemas(esquemas);
            throw;
        }
        return true;
    } catch (const DbError& e) {
        if (erro)
            *erro = e.message();
        return false;
    }
}

}  // namespace pcp
