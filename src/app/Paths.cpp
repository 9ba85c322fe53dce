#include "Paths.h"

#include "Store.h"
#include "TableRoutines.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

QString takeOption(QStringList& args, const QString& name)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size())
        return {};
    const QString value = args.at(i + 1);
    args.remove(i, 2);
    return value;
}

namespace {
QString pick(const QString& option, const char* env, const QString& fallback)
{
    if (!option.isEmpty())
        return QDir(option).absolutePath();
    const QString fromEnv = qEnvironmentVariable(env);
    return fromEnv.isEmpty() ? fallback : QDir(fromEnv).absolutePath();
}
}  // namespace

QString Paths::defaultInstallFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(u"pcp"_s);
}

Paths Paths::fromArguments(QStringList& args)
{
    Paths p;
    const QString inst = takeOption(args, u"--instalacao"_s);
    const QString prog = takeOption(args, u"--programa"_s);
    const QString dados = takeOption(args, u"--dados"_s);
    p.instalacao = pick(inst, "PCP_INSTALL", defaultInstallFolder());
    p.programa = pick(prog, "PCP_PROGRAMA", p.instalacao);
    p.dados = pick(dados, "PCP_DADOS", p.instalacao);
    return p;
}

QString Paths::empresaDb() const { return QDir(instalacao).filePath(u"Empresa.db"_s); }
QString Paths::newLoginIni() const { return QDir(instalacao).filePath(u"newlogin.ini"_s); }
QString Paths::loginIni() const { return QDir(programa).filePath(u"Login.ini"_s); }

QString Paths::baseLogin() const
{
    QString base = localFolder(readIniValue(newLoginIni(), u"BaseLogin"_s, u"Base"_s));
    if (!companyOnServer(base) && companyOnServer(instalacao))
        base = instalacao;
    if (!base.endsWith(u'/'))
        base += u'/';
    return base;
}

QString Paths::companyFolder(const QString& diretorio) const { return localFolder(diretorio); }

QString Paths::localFolder(const QString& windowsPath) const
{
    QString rel = windowsPath.trimmed();
    rel.replace(u'\\', u'/');
    // a drive letter names the data root itself
    if (rel.size() >= 2 && rel[1] == u':' && rel[0].isLetter())
        rel = rel.mid(2);
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    return QDir::cleanPath(QDir(dados).filePath(rel));
}

}  // namespace pcp
