// The test support's choice of server: a server run whose server did not
// start must fail, never pass quietly on SQLite.
#include "ServidorTeste.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using pcp::test::conninfoDeTeste;
using pcp::test::preparaPastaDeTeste;

namespace {

// Sets the two variables for one case and puts back what CTest gave the test.
class AmbienteDoServidor {
public:
    AmbienteDoServidor(const QByteArray& arquivo, const QByteArray& direto)
        : arquivo_(qgetenv(kArquivo)), direto_(qgetenv(kDireto)),
          tinhaArquivo_(qEnvironmentVariableIsSet(kArquivo)), tinhaDireto_(qEnvironmentVariableIsSet(kDireto))
    {
        poe(kArquivo, arquivo);
        poe(kDireto, direto);
    }
    ~AmbienteDoServidor()
    {
        tinhaArquivo_ ? qputenv(kArquivo, arquivo_) : qunsetenv(kArquivo);
        tinhaDireto_ ? qputenv(kDireto, direto_) : qunsetenv(kDireto);
    }
    AmbienteDoServidor(const AmbienteDoServidor&) = delete;
    AmbienteDoServidor& operator=(const AmbienteDoServidor&) = delete;

private:
    static constexpr const char* kArquivo = "PCP_TESTE_SERVIDOR_ARQ";
    static constexpr const char* kDireto = "PCP_TESTE_SERVIDOR";
    static void poe(const char* nome, const QByteArray& valor)
    {
        valor.isNull() ? qunsetenv(nome) : qputenv(nome, valor);
    }
    QByteArray arquivo_, direto_;
    bool tinhaArquivo_, tinhaDireto_;
};

void grava(const QString& caminho, const QByteArray& texto)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto);
}

QString le(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

TEST(ServidorTeste, ConninfoVemDoArquivoOuDaVariavel)
{
    QTemporaryDir tmp;
    const QByteArray cheio = tmp.filePath(u"conninfo"_s).toUtf8();
    const QByteArray vazio = tmp.filePath(u"vazio"_s).toUtf8();
    const QByteArray ausente = tmp.filePath(u"ausente"_s).toUtf8();
    grava(QString::fromUtf8(cheio), "  host=/tmp/pcppg.ab12 port=5432 dbname=postgres user=postgres\n");
    grava(QString::fromUtf8(vazio), " \n\n");

    struct Caso {
        const char* nome;
        QByteArray arquivo;  // null: unset
        QByteArray direto;  // null: unset
        std::optional<QString> esperado;
        bool lanca;
    };
    const QString doArquivo = u"host=/tmp/pcppg.ab12 port=5432 dbname=postgres user=postgres"_s;
    const Caso casos[] = {
        {"nenhuma variável: SQLite", {}, {}, std::nullopt, false},
        {"variáveis vazias: SQLite", QByteArray(""), QByteArray(""), std::nullopt, false},
        {"texto direto", {}, " host=/s dbname=pcp ", u"host=/s dbname=pcp"_s, false},
        {"arquivo, aparado", cheio, {}, doArquivo, false},
        {"o arquivo vence o texto direto", cheio, "host=/outro", doArquivo, false},
        {"arquivo ausente", ausente, {}, std::nullopt, true},
        {"arquivo ausente, mesmo com texto direto", ausente, "host=/outro", std::nullopt, true},
        {"arquivo só com espaços", vazio, {}, std::nullopt, true},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        AmbienteDoServidor ambiente(c.arquivo, c.direto);
        if (c.lanca) {
            try {
                conninfoDeTeste();
                ADD_FAILURE() << "devia recusar " << c.arquivo.toStdString();
            } catch (const std::runtime_error& e) {
                EXPECT_NE(std::string(e.what()).find(c.arquivo.toStdString()), std::string::npos) << e.what();
            }
        } else {
            EXPECT_EQ(conninfoDeTeste(), c.esperado);
        }
    }
}

TEST(ServidorTeste, PastaDeTesteRecebeConninfoEEsquemaProprio)
{
    QTemporaryDir a, b;
    AmbienteDoServidor ambiente({}, "host=/tmp/s dbname=postgres");
    preparaPastaDeTeste(a.path());
    preparaPastaDeTeste(b.path());

    const QRegularExpression forma(u"^# [^\n]*\nhost=/tmp/s dbname=postgres\nesquema=(t_[0-9a-f]{12})\n$"_s);
    const auto ma = forma.match(le(a.filePath(u"servidor.conf"_s)));
    const auto mb = forma.match(le(b.filePath(u"servidor.conf"_s)));
    ASSERT_TRUE(ma.hasMatch()) << le(a.filePath(u"servidor.conf"_s)).toStdString();
    ASSERT_TRUE(mb.hasMatch());
    EXPECT_NE(ma.captured(1), mb.captured(1)) << "duas pastas no mesmo esquema";
}

TEST(ServidorTeste, PastaDeTesteSemServidorOuSemEscrita)
{
    QTemporaryDir tmp;
    {
        AmbienteDoServidor ambiente({}, {});
        preparaPastaDeTeste(tmp.path());
        EXPECT_FALSE(QFile::exists(tmp.filePath(u"servidor.conf"_s)));
    }
    AmbienteDoServidor ambiente({}, "host=/tmp/s");
    EXPECT_THROW(preparaPastaDeTeste(tmp.filePath(u"nao-existe"_s)), std::runtime_error);
}
