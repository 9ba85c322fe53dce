#include "LoteCopia.h"

#include "Lote.h"
#include "Messages.h"
#include "Store.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kParaServidor = u"copia-para-servidor"_s;
const QString kDoServidor = u"copia-do-servidor"_s;

// A folder that is to receive a company: it must not hold one already.
void confereDestinoLivre(const QString& pasta)
{
    for (const QString& arquivo : {QString::fromUtf16(kCompanyStoreFile), QString::fromUtf16(kServidorConf)})
        if (QFileInfo::exists(QDir(pasta).filePath(arquivo)))
            throw Recusa{u"A pasta de destino %1 já contém uma empresa (%2); escolha uma pasta nova"_s.arg(
                QFileInfo(pasta).absoluteFilePath(), arquivo)};
    const QString existente = pastaExistente(pasta);
    if (!QFileInfo(existente).isDir())
        throw Recusa{u"Não foi possível criar a pasta de destino: %1 (%2 não é uma pasta)"_s.arg(pasta, existente)};
}

template <typename F>
auto recusaSeFalhar(F&& f)
{
    try {
        return f();
    } catch (const DbError& e) {
        throw Recusa{e.message()};
    }
}

// The target of a copy: its store, the folder that receives it, and what
// was made there, to be taken back after a failure.
struct Destino {
    explicit Destino(QString p) : pasta(std::move(p)) {}

    QString pasta;
    std::unique_ptr<Database> db;
    QString pastaCriada;  // the top folder the copy made; empty when the folder existed
    QString arquivo;      // the SQLite file the copy made; empty for a server

    void criaPasta()
    {
        if (!QFileInfo(pasta).isDir()) {
            const QString existente = pastaExistente(pasta);
            pastaCriada = QDir::cleanPath(QFileInfo(pasta).absoluteFilePath());
            while (QFileInfo(pastaCriada).path() != existente && QFileInfo(pastaCriada).path() != pastaCriada)
                pastaCriada = QFileInfo(pastaCriada).path();
        }
        if (!QDir().mkpath(pasta))
            throw DbError(u"não foi possível criar a pasta "_s + pasta);
    }
    QList<TableDef> tabelas;  // committed to a server before a later step failed

    // Takes back what the copy made; false (and said) when it could not. The
    // rows went with the target's transaction; committed tables are dropped.
    bool desfaz()
    {
        try {
            if (db && arquivo.isEmpty() && !tabelas.isEmpty()) {
                Transaction tx(*db);
                for (const TableDef& t : tabelas)
                    db->exec(u"DROP TABLE IF EXISTS "_s + quoted(t.name()));
                tx.commit();
            }
        } catch (const DbError& e) {
            mostraErro(u"Não foi possível apagar as tabelas copiadas para o servidor: "_s + e.message());
            return false;
        }
        db.reset();
        bool ok = true;
        if (!arquivo.isEmpty())
            for (const QString& sufixo : {QString(), u"-wal"_s, u"-shm"_s, u"-journal"_s})
                ok = (!QFile::exists(arquivo + sufixo) || QFile::remove(arquivo + sufixo)) && ok;
        if (!pastaCriada.isEmpty())
            ok = QDir(pastaCriada).removeRecursively() && ok;
        if (!ok)
            mostraErro(u"Não foi possível apagar o que a cópia criou em "_s + pasta);
        return ok;
    }
};

void imprimeResumo(std::FILE* f, const QList<ResumoTabela>& resumos)
{
    if (!f)
        return;
    for (const ResumoTabela& r : resumos)
        std::fprintf(f, "%s\t%lld\t%s\n", qUtf8Printable(r.tabela), static_cast<long long>(r.linhas),
                     r.soma.constData());
    std::fflush(f);
}

// The copy both commands share, once the source and the target are open and
// nothing has been written.
int transfere(Database& origem, Destino& destino, const std::function<void()>& conclui,
              const AndamentoCopia& andamento, std::FILE* resultado)
{
    try {
        QStringList desconhecidas;
        const QList<TableDef> tabelas = tabelasDaEmpresa(origem, Catalog::global(), desconhecidas);
        if (tabelaJaExistente(origem, Catalog::global().tables()).isEmpty())
            throw Recusa{u"A origem não contém as tabelas de uma empresa"_s};
        if (const QString t = tabelaJaExistente(*destino.db, tabelas); !t.isEmpty())
            throw Recusa{
                u"O destino já contém a tabela %1 da empresa; escolha um esquema vazio (--esquema)"_s.arg(t)};
        for (const QString& t : desconhecidas)
            mostraAviso(u"A tabela %1 não é declarada pelo programa e não foi copiada"_s.arg(t));

        destino.criaPasta();
        const QList<ResumoTabela> resumos = copiaTabelas(origem, *destino.db, tabelas, andamento);
        try {
            conclui();
        } catch (const DbError&) {
            destino.tabelas = tabelas;
            throw;
        }
        qint64 linhas = 0;
        for (const ResumoTabela& r : resumos)
            linhas += r.linhas;
        andamento(u"Cópia concluída e conferida: %1 tabelas, %2 linhas"_s.arg(resumos.size()).arg(linhas), true);
        imprimeResumo(resultado, resumos);
        return LoteOk;
    } catch (const Recusa&) {
        destino.desfaz();
        throw;
    } catch (const DbError& e) {
        const bool desfeito = destino.desfaz();
        const QString texto = desfeito ? u"Cópia não concluída; nada foi gravado no destino. "_s
                                       : u"Cópia não concluída. "_s;
        mostraErro(texto + e.message());
        return LoteFalhou;
    }
}

int paraServidor(const LinhaLote& l, const AndamentoCopia& andamento, std::FILE* resultado)
{
    const QString pasta = l.valor(u"--empresa"_s);
    if (companyOnServer(pasta))
        throw Recusa{u"A empresa em %1 já está em um servidor (servidor.conf); para trazê-la use %2"_s.arg(
            pasta, kDoServidor)};
    const QString arquivo = recusaSeFalhar([&] { return checkCompanyStore(pasta, CompanyStore::MustExist); });
    QString texto = l.valor(u"--servidor"_s).trimmed();
    if (texto.contains(u'\n'))
        throw Recusa{u"Valor inválido para --servidor: uma linha só"_s};
    if (l.tem(u"--esquema"_s))
        texto += u"\nesquema="_s + l.valor(u"--esquema"_s);
    const ServidorConf conf = recusaSeFalhar([&] { return parseServidorConf(texto); });
    Destino destino(l.valor(u"--destino"_s));
    confereDestinoLivre(destino.pasta);

    // read-write only so that its last close removes the write-ahead files it made; it writes nothing
    Database origem(arquivo);
    destino.db = std::make_unique<Database>(conf, QDir(destino.pasta).absoluteFilePath(
                                                      QString::fromUtf16(kServidorConf)));
    return transfere(origem, destino, [&] { gravaServidorConf(destino.pasta, conf); }, andamento, resultado);
}

int doServidor(const LinhaLote& l, const AndamentoCopia& andamento, std::FILE* resultado)
{
    const QString pasta = l.valor(u"--empresa"_s);
    const std::optional<ServidorConf> conf = recusaSeFalhar([&] { return leServidorConf(pasta); });
    if (!conf)
        throw Recusa{u"A empresa em %1 não está em um servidor (falta servidor.conf); para levá-la use %2"_s.arg(
            pasta, kParaServidor)};
    Destino destino(l.valor(u"--destino"_s));
    confereDestinoLivre(destino.pasta);
    exigeDiscoLocal(pastaExistente(destino.pasta));

    Database origem(*conf, QDir(pasta).absoluteFilePath(QString::fromUtf16(kServidorConf)));
    try {
        destino.criaPasta();
        destino.arquivo = companyStorePath(destino.pasta);
        destino.db = std::make_unique<Database>(destino.arquivo);
    } catch (const DbError&) {
        destino.desfaz();
        throw;
    }
    return transfere(origem, destino, [] {}, andamento, resultado);
}

}  // namespace

bool comandoDeCopia(const QString& comando) { return comando == kParaServidor || comando == kDoServidor; }

int executaCopia(const LinhaLote& l, const AndamentoCopia& andamento, std::FILE* resultado)
{
    return l.comando == kParaServidor ? paraServidor(l, andamento, resultado) : doServidor(l, andamento, resultado);
}

}  // namespace pcp
