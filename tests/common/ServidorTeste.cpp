#include "ServidorTeste.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace pcp::test {

namespace {

[[noreturn]] void falha(const QString& texto)
{
    throw std::runtime_error(texto.toStdString());
}

}  // namespace

std::optional<QString> conninfoDeTeste()
{
    const QString arquivo = qEnvironmentVariable("PCP_TESTE_SERVIDOR_ARQ");
    if (!arquivo.isEmpty()) {
        QFile f(arquivo);
        if (!f.open(QIODevice::ReadOnly))
            falha(u"PCP_TESTE_SERVIDOR_ARQ: não foi possível ler "_s + arquivo + u" ("_s + f.errorString()
                  + u"); o servidor de teste não iniciou (veja o teste servidor_inicia)"_s);
        const QString conninfo = QString::fromUtf8(f.readAll()).trimmed();
        if (conninfo.isEmpty())
            falha(u"PCP_TESTE_SERVIDOR_ARQ: "_s + arquivo
                  + u" está vazio; o servidor de teste não iniciou (veja o teste servidor_inicia)"_s);
        return conninfo;
    }
    const QString direto = qEnvironmentVariable("PCP_TESTE_SERVIDOR").trimmed();
    if (!direto.isEmpty())
        return direto;
    return std::nullopt;
}

void preparaPastaDeTeste(const QString& folder)
{
    const std::optional<QString> conninfo = conninfoDeTeste();
    if (!conninfo)
        return;
    const quint64 sorteio = QRandomGenerator::system()->generate64() & 0xffffffffffffULL;
    const QString esquema = u"t_"_s + QString::number(sorteio, 16).rightJustified(12, u'0');
    QFile f(QDir(folder).filePath(u"servidor.conf"_s));
    const QByteArray texto = "# servidor de teste\n" + conninfo->toUtf8() + "\nesquema=" + esquema.toUtf8() + '\n';
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(texto) != texto.size() || !f.flush())
        falha(u"não foi possível gravar "_s + f.fileName() + u": "_s + f.errorString());
}

}  // namespace pcp::test
