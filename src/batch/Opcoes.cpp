#include "Opcoes.h"

#include "DbError.h"
#include "Formats.h"
#include "Store.h"
#include "TableDef.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The options a command takes; those without a value are flags.
struct Comando {
    QStringList comValor;
    QStringList obrigatorias;
    QStringList marcas;
    bool porFilial = true;  // runs on a branch: takes --filial (required) and --criar
};

const QStringList kGlobais = {u"--empresa"_s, u"--filial"_s};
const QStringList kMarcasGlobais = {u"--criar"_s};
const QStringList kDaFilial = {u"--filial"_s, u"--criar"_s};

const QHash<QString, Comando>& comandos()
{
    static const QHash<QString, Comando> c = {
        {u"saldo-fisico"_s,
         {{u"--mes"_s, u"--produto"_s, u"--tamanho"_s, u"--deposito"_s},
          {u"--mes"_s, u"--produto"_s},
          {u"--atualiza-qtdfis"_s}}},
        {u"custo-medio"_s,
         {{u"--mes"_s, u"--de"_s, u"--ate"_s, u"--class-ini"_s, u"--class-fim"_s}, {u"--mes"_s}, {}}},
        {u"baixa-mp"_s,
         {{u"--de"_s, u"--ate"_s, u"--historico-venda"_s, u"--historico-baixa"_s, u"--fornecedor"_s},
          {u"--de"_s, u"--ate"_s, u"--historico-venda"_s, u"--historico-baixa"_s, u"--fornecedor"_s},
          {}}},
        {u"copia-para-servidor"_s,
         {{u"--servidor"_s, u"--destino"_s, u"--esquema"_s}, {u"--servidor"_s, u"--destino"_s}, {}, false}},
        {u"copia-do-servidor"_s, {{u"--destino"_s}, {u"--destino"_s}, {}, false}},
    };
    return c;
}

const FieldDef& campoDoCatalogo(const QString& tabelaCampo)
{
    const QString tabela = tabelaCampo.section(u'.', 0, 0);
    const QString campo = tabelaCampo.section(u'.', 1);
    const FieldDef* f = Catalog::global().get(tabela).findField(campo);
    if (!f)
        throw DbError(u"Campo desconhecido: "_s + tabelaCampo);
    return *f;
}

[[noreturn]] void valorInvalido(const QString& opcao, const QString& motivo)
{
    throw Recusa{u"Valor inválido para %1: %2"_s.arg(opcao, motivo)};
}

}  // namespace

const QString& usoLote()
{
    static const QString uso = uR"(Uso: pcp-lote --empresa PASTA --filial N [--criar] COMANDO [opções]
  saldo-fisico --mes AAAAMM --produto N [--tamanho T] [--deposito N] [--atualiza-qtdfis]
  custo-medio --mes MMAAAA [--class-ini C --class-fim C | --de N --ate N]
  baixa-mp --de dd/mm/aaaa --ate dd/mm/aaaa --historico-venda N --historico-baixa N --fornecedor N
ou: pcp-lote --empresa PASTA COMANDO [opções]
  copia-para-servidor --servidor CONEXAO --destino PASTA2 [--esquema NOME]
  copia-do-servidor --destino PASTA2
Opções gerais:
  --empresa PASTA  pasta da empresa, que contém dados.sqlite (ou servidor.conf)
  --filial N       filial cadastrada na empresa
  --criar          cria a pasta e o banco de dados quando faltam e aceita uma filial não cadastrada
  -h, --help       mostra este texto
custo-medio percorre os produtos pela classificação, como a tela "Atualização do Custo Medio"
(--class-ini: os 24 dígitos; padrão 000…0 a 999…9), ou valoriza a faixa de códigos --de a --ate.
copia-para-servidor copia as tabelas da empresa para o esquema NOME (padrão public) do servidor
PostgreSQL da CONEXAO e grava PASTA2/servidor.conf; copia-do-servidor traz a empresa do servidor
para PASTA2/dados.sqlite. PASTA2 não pode conter outra empresa; as tabelas são conferidas
(linhas e soma) e, em caso de falha, o destino fica vazio.
Saída: 0 concluído; 1 a execução falhou (veja as mensagens); 2 entrada recusada, nada foi gravado)"_s;
    return uso;
}

bool pedeAjuda(const QStringList& args)
{
    return args.contains(u"-h"_s) || args.contains(u"--help"_s);
}

LinhaLote analisaLinha(const QStringList& args)
{
    LinhaLote l;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(u"--"_s)) {
            if (!l.comando.isEmpty())
                throw Recusa{u"Argumento inesperado: "_s + a, true};
            if (!comandos().contains(a))
                throw Recusa{u"Comando desconhecido: "_s + a, true};
            l.comando = a;
            continue;
        }
        const auto achado = comandos().constFind(l.comando);
        const Comando* c = achado == comandos().cend() ? nullptr : &*achado;
        if (kMarcasGlobais.contains(a) || (c && c->marcas.contains(a))) {
            if (l.marcas.contains(a))
                throw Recusa{u"Opção repetida: "_s + a, true};
            l.marcas << a;
            continue;
        }
        if (!kGlobais.contains(a) && !(c && c->comValor.contains(a)))
            throw Recusa{u"Opção desconhecida: "_s + a, true};
        if (i + 1 >= args.size())
            throw Recusa{u"Falta o valor da opção "_s + a, true};
        if (l.opcoes.contains(a))
            throw Recusa{u"Opção repetida: "_s + a, true};
        l.opcoes.insert(a, args[++i]);
    }
    if (l.comando.isEmpty())
        throw Recusa{u"Falta o comando"_s, true};
    const Comando c = comandos().value(l.comando);
    if (!c.porFilial)
        for (const QString& o : kDaFilial)
            if (l.tem(o))
                throw Recusa{u"A opção %1 não se aplica ao comando %2"_s.arg(o, l.comando), true};
    QStringList obrigatorias = QStringList{u"--empresa"_s} + c.obrigatorias;
    if (c.porFilial)
        obrigatorias.insert(1, u"--filial"_s);
    for (const QString& o : obrigatorias)
        if (!l.opcoes.contains(o))
            throw Recusa{u"Falta a opção "_s + o, true};
    return l;
}

qint64 inteiroDosCampos(const LinhaLote& l, const QString& opcao, const QStringList& campos,
                        qint64 minimo)
{
    const QString texto = l.valor(opcao);
    qint64 valor = 0;
    for (const QString& c : campos) {
        const FieldDef& campo = campoDoCatalogo(c);
        QVariant v;
        try {
            v = coerceForField(campo, texto);
        } catch (const DbError& e) {
            valorInvalido(opcao, e.message());
        }
        if (v.isNull())
            valorInvalido(opcao, u"informe um número"_s);
        valor = v.toLongLong();
    }
    if (valor < minimo)
        valorInvalido(opcao, u"%1 (o menor aceito é %2)"_s.arg(texto.trimmed()).arg(minimo));
    return valor;
}

QString textoDoCampo(const LinhaLote& l, const QString& opcao, const QString& campo)
{
    const FieldDef& f = campoDoCatalogo(campo);
    try {
        return coerceForField(f, l.valor(opcao)).toString();
    } catch (const DbError& e) {
        valorInvalido(opcao, e.message());
    }
}

Mes mesDaOpcao(const LinhaLote& l, const QString& opcao, bool mesPrimeiro)
{
    const QString texto = l.valor(opcao);
    const std::optional<Mes> mes = mesPrimeiro ? Mes::deMesAno(texto) : Mes::deAnoMes(texto);
    if (!mes)
        throw Recusa{u"Mês inválido: %1 (use %2)"_s.arg(texto, mesPrimeiro ? u"MMAAAA"_s : u"AAAAMM"_s)};
    return *mes;
}

QString pastaExistente(const QString& caminho)
{
    QString p = QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
    while (!QFileInfo::exists(p) && QFileInfo(p).path() != p)
        p = QFileInfo(p).path();
    return p;
}

void exigeDiscoLocal(const QString& pasta)
{
    try {
        requireLocalFileSystem(pasta);
    } catch (const DbError& e) {
        throw Recusa{e.message()};
    }
}

}  // namespace pcp
