#include "PgLote.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace pcp::driver {

namespace {
const QString kNome = u"(\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_]*)"_s;

QStringList nomes(const QString& lista)
{
    QStringList out;
    for (const QString& n : lista.split(u','))
        out << n.trimmed();
    return out;
}

void elemento(QByteArray& corpo, const QByteArray& valor, bool nulo)
{
    if (!corpo.isEmpty())
        corpo += ',';
    if (nulo) {
        corpo += "NULL";
        return;
    }
    corpo += '"';
    for (char c : valor) {
        if (c == '"' || c == '\\')
            corpo += '\\';
        corpo += c;
    }
    corpo += '"';
}
}  // namespace

std::optional<PgLote::Forma> PgLote::reconhece(const QString& sql)
{
    static const QRegularExpression update(
        u"^\\s*UPDATE\\s+"_s + kNome + u"\\s+SET\\s+(.+?)\\s+WHERE\\s+_rowid_\\s*=\\s*\\?\\s*$"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression atribuicao(u"^"_s + kNome + u"\\s*=\\s*\\?$"_s);
    static const QRegularExpression insert(
        u"^\\s*INSERT\\s+INTO\\s+"_s + kNome + u"\\s*\\(([^()]*)\\)\\s*VALUES\\s*\\(([\\s?,]*)\\)\\s*$"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = update.match(sql); m.hasMatch()) {
        Forma f{false, m.captured(1), {}};
        for (const QString& parte : nomes(m.captured(2))) {
            const auto a = atribuicao.match(parte);
            if (!a.hasMatch())
                return std::nullopt;
            f.colunas << a.captured(1);
        }
        return f;
    }
    if (const auto m = insert.match(sql); m.hasMatch()) {
        Forma f{true, m.captured(1), nomes(m.captured(2))};
        if (QString(m.captured(3)).count(u'?') != f.colunas.size())
            return std::nullopt;
        return f;
    }
    return std::nullopt;
}

PgLote::PgLote(Forma forma, QStringList tipos) : forma_(std::move(forma)), colunas_(size_t(tipos.size()))
{
    QStringList arrays, apelidos;
    for (int i = 0; i < tipos.size(); ++i) {
        arrays << u"$%1::%2[]"_s.arg(i + 1).arg(tipos[i]);
        apelidos << u"c%1"_s.arg(i + 1);
    }
    const QString unnest = u"unnest(%1) AS pcp_v(%2)"_s.arg(arrays.join(u", "_s), apelidos.join(u", "_s));
    if (forma_.insercao) {
        texto_ = u"INSERT INTO %1 (%2) SELECT * FROM %3"_s.arg(forma_.tabela, forma_.colunas.join(u", "_s), unnest);
    } else {
        QStringList sets;
        for (int i = 0; i < forma_.colunas.size(); ++i)
            sets << u"%1 = pcp_v.c%2"_s.arg(forma_.colunas[i]).arg(i + 1);
        texto_ = u"UPDATE %1 AS pcp_t SET %2 FROM %3 WHERE pcp_t._rowid_ = pcp_v.c%4"_s.arg(
            forma_.tabela, sets.join(u", "_s), unnest).arg(tipos.size());
    }
}

void PgLote::adiciona(const std::vector<QByteArray>& valores, const std::vector<bool>& nulos)
{
    for (size_t i = 0; i < colunas_.size(); ++i)
        elemento(colunas_[i], valores[i], nulos[i]);
    if (!forma_.insercao)
        linhas_.insert(valores.back().toLongLong());
    ++tamanho_;
}

std::vector<QByteArray> PgLote::retira()
{
    std::vector<QByteArray> arrays;
    arrays.reserve(colunas_.size());
    for (QByteArray& corpo : colunas_) {
        arrays.push_back('{' + corpo + '}');
        corpo.clear();
    }
    linhas_.clear();
    tamanho_ = 0;
    return arrays;
}

}  // namespace pcp::driver
