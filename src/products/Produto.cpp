#include "Produto.h"

#include "Formats.h"
#include "Messages.h"
#include "ProdutoConsultas.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// Start (from 0) and width of Nivel1 ... Nivel6 inside the classification key.
struct Fatia {
    int inicio;
    int largura;
};
constexpr Fatia kNiveis[] = {{0, 2}, {2, 3}, {5, 4}, {9, 3}, {12, 6}, {18, 6}};

QStringList corta(const QString& texto, int niveis)
{
    QStringList partes;
    for (int i = 0; i < niveis && kNiveis[i].inicio < texto.size(); ++i)
        partes << texto.mid(kNiveis[i].inicio, kNiveis[i].largura);
    return partes;
}

QString texto(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

}  // namespace

QStringList cortaClassificacao(const QString& texto) { return corta(texto, 6); }

QStringList cortaNivelAlfa(const QString& texto)
{
    QStringList partes = corta(texto, 5);
    if (texto.size() > 18)
        partes << texto.mid(18, 30);
    return partes;
}

DerivadosProduto calculaDerivados(Database& db, const CampoProduto& campo)
{
    DerivadosProduto d;
    for (int nivel = 1; nivel <= 5; ++nivel)
        d.Classi += texto(campo(u"Nivel%1"_s.arg(nivel)));
    d.SaldoFisico = Decimal4::fromDouble(campo(u"QTD_FIS"_s).toDouble() - campo(u"QTD_EMP1"_s).toDouble());
    const QString nivel3 = texto(campo(u"Nivel3"_s));
    if (!nivel3.isEmpty())
        d.NomeNivel3 = descricaoNivel(db, 3, campo(u"Filial"_s).toLongLong(), nivel3).left(30);
    return d;
}

DerivadosProduto calculaDerivados(const TableCursor& produto)
{
    return calculaDerivados(produto.store().db(), [&produto](const QString& f) { return produto.value(f); });
}

QString nivel6DoCodigo(qint64 codigo) { return formatText(u"%6.6d"_s, {codigo}).left(6); }

bool produtoTemGrade(Database& db, qint64 filial, qint64 codigo)
{
    return !db.cached(u"SELECT 1 FROM Tamanho WHERE Filial = ? AND Cod_Reduz = ? LIMIT 1"_s)
                .bindList({filial, codigo})
                .scalar()
                .isNull();
}

void iniciaProduto(TableCursor& produto, int filial, qint64 codigo, QDate hoje)
{
    produto.setValue(u"Filial"_s, filial);
    produto.setValue(u"Cod_Reduz"_s, codigo);
    produto.setValue(u"GRADE"_s, u"0"_s);
    produto.setValue(u"CONVERSAO"_s, 1.0);
    produto.setValue(u"SITUACAO"_s, u"1"_s);
    produto.setValue(u"SIT_TRIBUT"_s, u"0"_s);
    produto.setValue(u"Nivel5"_s, u"000001"_s);
    produto.setValue(u"Nivel6"_s, nivel6DoCodigo(codigo));
    produto.setValue(u"TRANSF_ICM"_s, 100.0);
    produto.setValue(u"ProdutoControlado"_s, false);
    produto.setValue(u"TipoComplementoNfe"_s, 0);
    produto.setValue(u"DataCadastro"_s, hoje);
}

QString campoObrigatorioAusente(const TableCursor& produto)
{
    struct Obrigatorio {
        const char16_t* campo;
        const char16_t* mensagem;
    };
    static constexpr Obrigatorio obrigatorios[] = {
        {u"UNID_PAD", u"Campo unidade padrão do produto deve ser preenchido!"},
        {u"CONVERSAO", u"Campo Conversão deve ser preenchido! Caso não exista conversão preencha com 1"},
        {u"SIT_TRIBUT", u"Campo origem do produto deve ser preenchido!"},
        {u"TipoItemSped", u"Campo tipo do produto deve ser preenchido!"},
        {u"NOME1", u"Campo nome do produto deve ser preenchido!"},
    };
    for (const Obrigatorio& o : obrigatorios) {
        if (produto.value(QString::fromUtf16(o.campo)).toString().trimmed().isEmpty())
            return QString::fromUtf16(o.mensagem);
    }
    return {};
}

bool confereCamposObrigatorios(const TableCursor& produto)
{
    const QString falta = campoObrigatorioAusente(produto);
    if (falta.isEmpty())
        return true;
    mostraMensagem(falta);
    return false;
}

void aplicaInvariantes(TableCursor& produto)
{
    const qint64 filial = produto.asInteger(u"Filial"_s);
    const qint64 codigo = produto.asInteger(u"Cod_Reduz"_s);
    produto.setValue(u"Nivel6"_s, nivel6DoCodigo(codigo));
    produto.setValue(u"GRADE"_s, produtoTemGrade(produto.store().db(), filial, codigo) ? u"1"_s : u"0"_s);
}

bool registraAlteracaoDescricao(Database& db, qint64 filial, qint64 codigo, const QString& anterior,
                                const QString& atual, QDate hoje)
{
    if (anterior == atual)
        return false;
    Transaction t(db);
    const QVariantList chave{filial, codigo, hoje};
    const int mudou = db.prepare(u"UPDATE Sped_AlteraProduto SET Descricao = ? "
                                 "WHERE Filial = ? AND Cod_Reduz = ? AND DataAlteracao = ?"_s)
                          .bindList(QVariantList{anterior} + chave)
                          .run();
    if (mudou == 0) {
        db.prepare(u"INSERT INTO Sped_AlteraProduto (Filial, Cod_Reduz, DataAlteracao, Descricao) "
                   "VALUES (?, ?, ?, ?)"_s)
            .bindList(chave + QVariantList{anterior})
            .run();
    }
    t.commit();
    return true;
}

void LogDescricaoProduto::lembra(const TableCursor& produto) { anterior_ = produto.asString(u"NOME1"_s); }

bool LogDescricaoProduto::aposGravar(const TableCursor& produto, QDate hoje)
{
    const std::optional<QString> anterior = std::exchange(anterior_, std::nullopt);
    if (!anterior)
        return false;
    return registraAlteracaoDescricao(produto.store().db(), produto.asInteger(u"Filial"_s),
                                      produto.asInteger(u"Cod_Reduz"_s), *anterior,
                                      produto.asString(u"NOME1"_s), hoje);
}

int gravaCustoNaLista6(Database& db)
{
    return db.prepare(u"Update Estproma\nSet Lista6 = UltimoCust\nWhere Lista6 is null"_s).run();
}

}  // namespace pcp
