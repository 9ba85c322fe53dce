#include "Lote.h"

#include "BaixaMateriaPrima.h"
#include "DbError.h"
#include "L_Estoque.h"
#include "Messages.h"
#include "Sessao.h"
#include "Store.h"
#include "TDMFilial.h"
#include "Tabelas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kUso = uR"(Uso: pcp-lote --empresa PASTA --filial N COMANDO [opções]
  saldo-fisico --mes AAAAMM --produto N [--tamanho T] [--deposito N] [--atualiza-qtdfis]
  custo-medio --mes MMAAAA --de N --ate N
  baixa-mp --de dd/mm/aaaa --ate dd/mm/aaaa --historico-venda N --historico-baixa N --fornecedor N)"_s;

// The options a command takes; those without a value are flags.
struct Comando {
    QStringList comValor;
    QStringList obrigatorias;
    QStringList marcas;
};

const QHash<QString, Comando>& comandos()
{
    static const QHash<QString, Comando> c = {
        {u"saldo-fisico"_s,
         {{u"--mes"_s, u"--produto"_s, u"--tamanho"_s, u"--deposito"_s},
          {u"--mes"_s, u"--produto"_s},
          {u"--atualiza-qtdfis"_s}}},
        {u"custo-medio"_s,
         {{u"--mes"_s, u"--de"_s, u"--ate"_s}, {u"--mes"_s, u"--de"_s, u"--ate"_s}, {}}},
        {u"baixa-mp"_s,
         {{u"--de"_s, u"--ate"_s, u"--historico-venda"_s, u"--historico-baixa"_s, u"--fornecedor"_s},
          {u"--de"_s, u"--ate"_s, u"--historico-venda"_s, u"--historico-baixa"_s, u"--fornecedor"_s},
          {}}},
    };
    return c;
}

struct Linha {
    QString comando;
    QHash<QString, QString> opcoes;
    QStringList marcas;
};

// Refused input: the reason is shown and the command ends with LoteRecusado.
struct Recusa {
    QString texto;
    bool uso = false;  // a command line that does not parse also gets the usage
};

Linha analisa(const QStringList& args)
{
    Linha l;
    const QStringList globais = {u"--empresa"_s, u"--filial"_s};
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
        if (c && c->marcas.contains(a)) {
            l.marcas << a;
            continue;
        }
        if (!globais.contains(a) && !(c && c->comValor.contains(a)))
            throw Recusa{u"Opção desconhecida: "_s + a, true};
        if (i + 1 >= args.size())
            throw Recusa{u"Falta o valor da opção "_s + a, true};
        if (l.opcoes.contains(a))
            throw Recusa{u"Opção repetida: "_s + a, true};
        l.opcoes.insert(a, args[++i]);
    }
    if (l.comando.isEmpty())
        throw Recusa{u"Falta o comando"_s, true};
    for (const QString& o : QStringList{u"--empresa"_s, u"--filial"_s} + comandos().value(l.comando).obrigatorias)
        if (!l.opcoes.contains(o))
            throw Recusa{u"Falta a opção "_s + o, true};
    return l;
}

qint64 inteiro(const Linha& l, const QString& opcao, qint64 minimo)
{
    bool ok = false;
    const qint64 v = l.opcoes.value(opcao).trimmed().toLongLong(&ok);
    if (!ok || v < minimo)
        throw Recusa{u"Valor inválido para %1: %2"_s.arg(opcao, l.opcoes.value(opcao))};
    return v;
}

// Progress lines, at most two a second, and the last one always.
class Andamento {
public:
    explicit Andamento(std::FILE* f) : f_(f) { relogio_.start(); }
    void operator()(const QString& texto, bool ultimo = false)
    {
        if (!f_ || (!ultimo && relogio_.isValid() && relogio_.elapsed() < 500 && escreveu_))
            return;
        std::fprintf(f_, "%s\n", qUtf8Printable(texto));
        std::fflush(f_);
        escreveu_ = true;
        relogio_.restart();
    }

private:
    std::FILE* f_;
    QElapsedTimer relogio_;
    bool escreveu_ = false;
};

// Each command checks its options before the company store is opened, so
// refused input creates and writes nothing, and returns the run itself.
using Execucao = std::function<int(Store&, TDMFilial&, Andamento&)>;

Execucao saldoFisico(const Linha& l)
{
    const QString mes = l.opcoes.value(u"--mes"_s);
    if (!mesValido(mes))
        throw Recusa{u"Mês inválido: %1 (use AAAAMM)"_s.arg(mes)};
    const qint64 produto = inteiro(l, u"--produto"_s, 0);
    const qint64 deposito = l.opcoes.contains(u"--deposito"_s) ? inteiro(l, u"--deposito"_s, 0) : 1;
    const QString tamanho = l.opcoes.value(u"--tamanho"_s);
    const bool qtdFis = l.marcas.contains(u"--atualiza-qtdfis"_s);
    return [=](Store& store, TDMFilial&, Andamento& andamento) {
        if (!AtualizaSaldoFisico(store, mes, produto, tamanho, deposito, qtdFis,
                                 [&](const QString& t) { andamento(t); }))
            return int(LoteFalhou);
        andamento(u"Saldo físico atualizado: produto %1, mês %2"_s.arg(produto).arg(mes), true);
        return int(LoteOk);
    };
}

Execucao custoMedio(const Linha& l)
{
    const QString mes = l.opcoes.value(u"--mes"_s);
    const QString anoMes = mes.mid(2) + mes.left(2);
    if (mes.size() != 6 || !mesValido(anoMes))
        throw Recusa{u"Mês inválido: %1 (use MMAAAA)"_s.arg(mes)};
    const qint64 de = inteiro(l, u"--de"_s, 0), ate = inteiro(l, u"--ate"_s, 0);
    if (ate < de)
        throw Recusa{u"O produto final é menor que o inicial"_s};
    const QDate primeiroDia(anoMes.left(4).toInt(), anoMes.mid(4).toInt(), 1);
    return [=](Store& store, TDMFilial& filial, Andamento& andamento) {
        if (const QString bloqueio = periodoBloqueadoCustoMedio(sessao().FatModNf, primeiroDia);
            !bloqueio.isEmpty()) {
            mostraMensagem(bloqueio);
            return int(LoteRecusado);
        }
        if (!DataProcessamentoOk(u"ESTOQUE"_s, primeiroDia, filial))
            return int(LoteRecusado);
        const ResultadoCustoMedio r =
            AtualizaCustoMedio(store, mes, de, ate, [&](const QString& t) { andamento(t); });
        if (!r.executado)
            return int(LoteFalhou);
        andamento(u"Custo médio atualizado: %1 saldos, %2 itens"_s.arg(r.saldos).arg(r.itens), true);
        return int(LoteOk);
    };
}

Execucao baixaMp(const Linha& l)
{
    const std::optional<ParametrosBaixa> p = criticaEntradaBaixa(
        l.opcoes.value(u"--de"_s), l.opcoes.value(u"--ate"_s), l.opcoes.value(u"--historico-venda"_s),
        l.opcoes.value(u"--historico-baixa"_s), l.opcoes.value(u"--fornecedor"_s));
    if (!p)
        return {};  // the reason has been shown
    return [p = *p](Store& store, TDMFilial&, Andamento& andamento) {
        const ResultadoBaixa r = BaixaEstoqueMateriaPrima(store, p, [&](int feitos, int total) {
            andamento(u"Andamento: %1 de %2 notas"_s.arg(feitos).arg(total), feitos == total);
        });
        andamento(u"Baixa de matéria prima: %1 documentos, %2 itens, %3 falhas"_s.arg(r.documentos)
                      .arg(r.itens)
                      .arg(r.falhas),
                  true);
        return int(r.interrompido || r.falhas ? LoteFalhou : LoteOk);
    };
}

}  // namespace

int executaLote(const QStringList& args, std::FILE* saida)
{
    const Sessao anterior = sessao();
    struct Restaura {
        const Sessao& s;
        ~Restaura() { sessao() = s; }
    } restaura{anterior};
    try {
        const Linha l = analisa(args);
        const QString pasta = l.opcoes.value(u"--empresa"_s);
        const int filial = int(inteiro(l, u"--filial"_s, 1));
        const Execucao execucao = l.comando == u"saldo-fisico"_s ? saldoFisico(l)
                                  : l.comando == u"custo-medio"_s ? custoMedio(l)
                                                                  : baixaMp(l);
        if (!execucao)
            return LoteRecusado;
        if (!QDir().mkpath(pasta))
            throw Recusa{u"Não foi possível criar a pasta da empresa: "_s + pasta};
        declaraTabelas();
        auto store = Store::openCompany(pasta);
        TDMFilial dm(store);
        dm.openBranchTables();
        Sessao& s = sessao();
        s.FilialAtual = filial;
        s.DiretorioEmpresa = pasta;
        s.ModuloAtual = u"PCP"_s;
        if (dm.positionOn(filial)) {
            s.NomeFilial = dm.TFilial.asString(u"NOME"_s);
            s.FatModNf = int(dm.TFilial.asInteger(u"FATMODNF"_s));
        } else {
            s.FatModNf = 0;
            mostraAviso(u"Filial %1 não cadastrada nesta empresa: nenhuma regra de instalação aplicada"_s
                            .arg(filial));
        }
        Andamento andamento(saida);
        return execucao(*store, dm, andamento);
    } catch (const Recusa& r) {
        mostraErro(r.uso ? r.texto + u"\n"_s + kUso : r.texto);
        return LoteRecusado;
    } catch (const DbError& e) {
        mostraErro(e.message());
        return LoteFalhou;
    }
}

}  // namespace pcp
