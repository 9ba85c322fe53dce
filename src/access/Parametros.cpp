#include "Parametros.h"

#include "Messages.h"
#include "TDMFilial.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

struct Cache {
    bool carregado = false;
    QList<ParametroEmpresa> linhas;
};

Cache& cache()
{
    static Cache c;
    return c;
}

void carrega(Database& db, const QString& filial)
{
    try {
        Statement st = db.prepare(
            u"SELECT CodParametro, NomeParametro, DescParametro, ValorStr, ValorNumerico, ValorWide, "
            "ValorOleObject, ValorBoolean FROM ParametrosEmpresa WHERE Filial = ? "
            "ORDER BY CodParametro, _rowid_"_s);
        st.bindText(1, filial.trimmed());
        QList<ParametroEmpresa> linhas;
        while (st.next())
            linhas.append({st.intValue(0), st.textValue(1), st.textValue(2), st.textValue(3), st.value(4),
                           st.value(5), st.blobValue(6), st.intValue(7) != 0});
        cache().linhas = linhas;
        cache().carregado = true;
    } catch (const std::exception& e) {
        mostraErro(u"Erro na abertura da sessão de parametros : "_s + QString::fromUtf8(e.what()));
    }
}

const ParametroEmpresa* procura(Database* db, const QString& filial, const QString& nome)
{
    if (!cache().carregado) {
        if (!db) {
            mostraErro(u"Erro na abertura da sessão de parametros : Nenhuma empresa aberta"_s);
            return nullptr;
        }
        carrega(*db, filial);
    }
    for (const ParametroEmpresa& p : cache().linhas)
        if (p.nomeParametro == nome)
            return &p;
    return nullptr;
}

Database* companyDb() { return DMFilial() ? &DMFilial()->store().db() : nullptr; }

}  // namespace

bool LeParametroLogico(Database& db, const QString& filial, const QString& nome)
{
    const ParametroEmpresa* p = procura(&db, filial, nome);
    return p && p->valorBoolean;
}

QString LeParametroTexto(Database& db, const QString& filial, const QString& nome)
{
    const ParametroEmpresa* p = procura(&db, filial, nome);
    return p ? p->valorStr : QString();
}

bool LeParametroLogico(const QString& filial, const QString& nome)
{
    const ParametroEmpresa* p = procura(companyDb(), filial, nome);
    return p && p->valorBoolean;
}

QString LeParametroTexto(const QString& filial, const QString& nome)
{
    const ParametroEmpresa* p = procura(companyDb(), filial, nome);
    return p ? p->valorStr : QString();
}

void LimpaCacheParametros() { cache() = {}; }

const QList<ParametroEmpresa>& cacheParametros() { return cache().linhas; }

}  // namespace pcp
