#include "ServidorConf.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <libpq-fe.h>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

ServidorConf parseServidorConf(const QString& text)
{
    ServidorConf conf;
    QStringList parts;
    static const QRegularExpression esquema(u"^esquema\\s*=\\s*(.*)$"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression identifier(u"^[A-Za-z_][A-Za-z0-9_]{0,62}$"_s);
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (const auto m = esquema.match(line); m.hasMatch()) {
            conf.esquema = m.captured(1).trimmed().toLower();
            if (!identifier.match(conf.esquema).hasMatch())
                throw DbError(u"servidor.conf: nome de esquema inválido: \"%1\""_s.arg(m.captured(1).trimmed()),
                              DbErrorKind::Refused);
            continue;
        }
        parts << line;
    }
    conf.conninfo = parts.join(u' ');
    if (conf.conninfo.isEmpty())
        throw DbError(u"servidor.conf não informa o servidor (a linha de conexão está vazia)"_s,
                      DbErrorKind::Refused);
    return conf;
}

std::optional<ServidorConf> leServidorConf(const QString& folder)
{
    QFile file(QDir(folder).filePath(QString::fromUtf16(kServidorConf)));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(u"Não foi possível ler %1: %2"_s.arg(file.fileName(), file.errorString()),
                      DbErrorKind::Refused);
    return parseServidorConf(QString::fromUtf8(file.readAll()));
}

QString descricaoServidor(const ServidorConf& conf)
{
    QString host;
    QString dbname;
    QString service;
    char* erro = nullptr;
    if (PQconninfoOption* opcoes = PQconninfoParse(conf.conninfo.toUtf8().constData(), &erro)) {
        for (PQconninfoOption* o = opcoes; o->keyword; ++o) {
            const QString valor = QString::fromUtf8(o->val ? o->val : "");
            if (qstrcmp(o->keyword, "host") == 0)
                host = valor;
            else if (qstrcmp(o->keyword, "hostaddr") == 0 && host.isEmpty())
                host = valor;
            else if (qstrcmp(o->keyword, "dbname") == 0)
                dbname = valor;
            else if (qstrcmp(o->keyword, "service") == 0)
                service = valor;
        }
        PQconninfoFree(opcoes);
    }
    PQfreemem(erro);
    if (host.isEmpty())
        host = service.isEmpty() ? u"localhost"_s : u"service="_s + service;
    return host + (dbname.isEmpty() ? QString() : u"/"_s + dbname) + u" esquema "_s + conf.esquema;
}

void gravaServidorConf(const QString& folder, const ServidorConf& conf)
{
    QSaveFile file(QDir(folder).filePath(QString::fromUtf16(kServidorConf)));
    QByteArray text = "# Os dados desta pasta estão no servidor PostgreSQL abaixo.\n";
    text += conf.conninfo.toUtf8() + "\nesquema=" + conf.esquema.toUtf8() + "\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw DbError(u"Não foi possível gravar %1: %2"_s.arg(file.fileName(), file.errorString()),
                      DbErrorKind::Refused);
}

}  // namespace pcp
