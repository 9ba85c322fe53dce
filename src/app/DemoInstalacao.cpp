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
// The demo's last month (the one before its creation) for the scenario scripts.
QByteArray variaveisRoteiro(QDate hoje)
{
    const Mes mes = *Mes::daData(hoje.addMonths(-1));
    return u"PCP_DEMO_MES=%1\nPCP_DEMO_ANOMES=%2\nPCP_DEMO_INICIO=%3\nPCP_DEMO_FIM=%4\n"_s
        .arg(mes.mesAno(), mes.anoMes(), formatDate(mes.primeiroDia()), formatDate(mes.ultimoDia()))
        .toUtf8();
}
}  // namespace

bool criaDemo(const Paths& paths, QString* erro)
{
    if (QFile::exists(paths.empresaDb()))
        return true;
    const QDate hoje = QDate::currentDate();
    try {
        declaraTabelas();
        QDir().mkpath(paths.instalacao);
        QDir().mkpath(paths.programa);
        for (const DemoEmpresa& e : kEmpresas) {
            const QString folder = paths.companyFolder(QString::fromUtf16(e.diretorio));
            QDir().mkpath(folder);
            auto store = Store::openCompany(folder);
            fillCompany(store, e, hoje);
        }
        const QString loginFolder = paths.localFolder(u"\\Dados\\Login\\"_s);
        QDir().mkpath(loginFolder);
        {
            auto login = Store::open(loginStorePath(loginFolder), loginTables());
            fillLogin(*login);
        }
        writeText(paths.newLoginIni(), "[BaseLogin]\r\nBase=\\Dados\\Login\\\r\n");
        writeText(paths.loginIni(), "[BaseDadosUltLogin]\r\nBase=TINTAS ARDENO MATRIZ\r\n");
        writeText(QDir(paths.instalacao).filePath(u"demo.env"_s), variaveisRoteiro(hoje));
        // the company table last: its presence marks a finished demo
        const QString tmp = paths.empresaDb() + u".novo"_s;
        QFile::remove(tmp);
        {
            auto empresas = Store::open(tmp, {empresaTable()});
            Transaction tx(empresas->db());
            for (const DemoEmpresa& e : kEmpresas)
                run(empresas->db(),
                    u"INSERT INTO Empresa (Codigo, Nome, Diretorio, Grupo, PWD, LOJA) VALUES (?, ?, ?, ?, ?, ?)"_s,
                    {e.codigo, QString::fromUtf16(e.nome), QString::fromUtf16(e.diretorio), e.grupo,
                     QString::fromUtf16(e.senha), e.loja});
            tx.commit();
            empresas->db().checkpoint();
        }
        QFile::remove(tmp + u"-wal"_s);
        QFile::remove(tmp + u"-shm"_s);
        QFile::remove(tmp + u"-locks"_s);
        if (!QFile::rename(tmp, paths.empresaDb()))
            throw DbError(u"Nao foi possivel gravar "_s + paths.empresaDb());
        return true;
    } catch (const DbError& e) {
        if (erro)
            *erro = e.message();
        return false;
    }
}

}  // namespace pcp
