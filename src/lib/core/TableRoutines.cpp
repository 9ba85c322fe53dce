#include "TableRoutines.h"

#include "Messages.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QString& programFolderSetting()
{
    static QString folder = qEnvironmentVariable("PCP_PROGRAMA");
    return folder;
}
}  // namespace

void setProgramFolder(const QString& folder) { programFolderSetting() = folder; }

QString programFolder()
{
    const QString& f = programFolderSetting();
    return f.isEmpty() ? QDir::currentPath() : f;
}

QString scratchFolder()
{
    const QString folder = QDir(programFolder()).filePath(u"TmpDb"_s);
    QDir().mkpath(folder);
    return folder;
}

bool EditaRegistro(TableCursor& table)
{
    for (;;) {
        try {
            table.edit();
            return true;
        } catch (const DbError& e) {
            switch (e.kind()) {
            case DbErrorKind::RecordLocked:
                // the other workstation may post or cancel meanwhile: OK tries again
                if (messages().show({MsgIcon::Warning, u"Registro bloqueado"_s,
                                     u"Existe outro usuário alterando este registro"_s, MsgButtons::OkCancel}) !=
                    MsgAnswer::Ok)
                    return false;
                break;
            case DbErrorKind::RecordGone:
                mostraErro(u"Registro excluído por outro usuário"_s);
                return false;
            default:  // a retry would meet the same failure
                mostraErro(e.message());
                return false;
            }
        }
    }
}

bool GravaRegistro(TableCursor& table)
{
    try {
        table.post();
        return true;
    } catch (const DbError& e) {
        if (e.isKeyViolation())
            mostraInformacao(u"Registro ja existe - "_s + e.message() + u"\nTabela : "_s + table.tableName());
        else
            mostraErro(e.message());
        return false;
    }
}

bool MudaIndice(TableCursor& table, const QString& indexName)
{
    if (table.active() && table.indexName().compare(indexName, Qt::CaseInsensitive) == 0)
        return true;
    int failures = 0;
    for (;;) {
        try {
            table.close();
            table.setIndexName(indexName);
            table.open();
            return true;
        } catch (const DbError&) {
            if (++failures <= 2)
                continue;
            failures = 0;
            const bool retry = messages().show({MsgIcon::Error, {},
                                                u"Impossivel mudar chave:"_s + indexName + u" do arquivo:"_s +
                                                    table.tableName() + u",tentar novamente"_s,
                                                MsgButtons::YesNo}) == MsgAnswer::Yes;
            if (!retry) {
                mostraMensagem(u"Sair do programa e entrar novamente"_s);
                return false;
            }
        }
    }
}

void CriaTabelaTemp(const QString& tableName, TableCursor& table)
{
    QString base = tableName;
    if (base.endsWith(u".db"_s, Qt::CaseInsensitive))
        base.chop(3);
    const QString file = QDir(scratchFolder()).filePath(base + u".db"_s);
    const TableDef def = table.def().renamed(base);
    table.close();
    std::shared_ptr<Store> store;
    try {
        store = Store::openLocal(file);
        Database& db = store->db();
        for (const QString& t : db.tableNames())
            db.exec(u"DROP TABLE "_s + quoted(t));
        store->ensure(def);
    } catch (const DbError&) {
        // not a usable store any more: start the file again
        store.reset();
        for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s, u"-journal"_s})
            QFile::remove(file + suffix);
        store = Store::openLocal(file);
        store->ensure(def);
    }
    table.setStore(store);
    table.setTable(def);
}

QString readIniValue(const QString& path, const QString& section, const QString& key)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);  // files written by Windows tools
    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inSection && eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed().toString();
    }
    return {};
}

}  // namespace pcp
