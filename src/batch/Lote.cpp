#include "Lote.h"

#include "BaixaMateriaPrima.h"
#include "DbError.h"
#include "Formats.h"
#include "L_Estoque.h"
#include "Messages.h"
#include "Opcoes.h"
#include "Sessao.h"
#include "Store.h"
#include "TDMFilial.h"
#include "Tabelas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// Counts the messages shown while it is installed, passing each one on, so
// that a run which ends without success always says something.
class ContaMensagens : public MessageService {
public:
    ContaMensagens() : destino_(messages()), escopo_(*this) {}
    MsgAnswer show(const Message& m) override
    {
        ++total_;
        return destino_.show(m);
    }
    std::optional<QString> input(const InputRequest& r) override
    {
        ++total_;
        return destino_.input(r);
    }
    int total() const { return total_; }

private:
    MessageService& destino_;
    MessageServiceScope escopo_;
    int total_ = 0;
};

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

// The branch the run works on, read from the store before it is opened for
// writing: its row decides the installation's rules.
struct Contexto {
    int filial = 0;
    int fatModNf = 0;
    QString nomeFilial;
    bool cadastrada = false;
};

struct Saidas {
    Andamento& andamento;
    std::FILE* resultado;
    const ContaMensagens& mensagens;
};

// A command whose options have been checked: what it still refuses once the
// branch is known (the reason shown; nothing opened for writing yet), and the
// run itself.
struct Execucao {
    std::function<bool(const Contexto&)> permite;
    std::function<int(Store&, TDMFilial&, const Contexto&, Saidas&)> executa;
};

// The engines still read the branch and its installation code from the
// session; this is the one place that puts them there.
void aplicaContexto(const Contexto& c, const QString& pasta)
{
    Sessao& s = sessao();
    s.FilialAtual = c.filial;
    s.DiretorioEmpresa = pasta;
    s.ModuloAtual = u"PCP"_s;
    s.NomeFilial = c.nomeFilial;
    s.FatModNf = c.fatModNf;
}

void imprimeSaldo(std::FILE* f, Database& db, const Contexto& c, const QString& anoMes, qint64 produto,
                  const QString& tamanho, qint64 deposito)
{
    if (!f)
        return;
    // A blank size may be stored as NULL or as '': both are the product without size.
    Statement st = db.prepare(
        u"SELECT Fisico, Fisico2 FROM Sldpr WHERE Filial = ? AND Ano_Mes = ? AND Cod_Reduz = ? "
        "AND COALESCE(Tamanho, '') = COALESCE(?, '') AND Cod_Deposi = ?"_s);
    st.bindList({c.filial, anoMes, produto, tamanho, deposito});
    double fisico = 0, fisico2 = 0;
    if (st.next()) {
        fisico = st.doubleValue(0);
        fisico2 = st.doubleValue(1);
        st.reset();
    }
    const QString quantidade = u"###,##0.0000"_s;
    const QString texto = u"Mês: %1\nProduto: %2\nTamanho: %3\nDepósito: %4\nFisico: %5\nFisico2: %6\n"_s
                              .arg(anoMes)
                              .arg(produto)
                              .arg(tamanho.isEmpty() ? u"(sem tamanho)"_s : tamanho)
                              .arg(deposito)
                              .arg(formatMask(quantidade, fisico), formatMask(quantidade, fisico2));
    std::fputs(qUtf8Printable(texto), f);
    std::fflush(f);
}

Execucao saldoFisico(const LinhaLote& l)
{
    const QString mes = formatMonth(mesDaOpcao(l, u"--mes"_s, false));
    const qint64 produto = inteiroDosCampos(l, u"--produto"_s, {u"Sldpr.Cod_Reduz"_s}, 0);
    const qint64 deposito =
        l.tem(u"--deposito"_s) ? inteiroDosCampos(l, u"--deposito"_s, {u"Sldpr.Cod_Deposi"_s}, 0) : 1;
    const QString tamanho = textoDoCampo(l, u"--tamanho"_s, u"Sldpr.Tamanho"_s);
    const bool qtdFis = l.tem(u"--atualiza-qtdfis"_s);
    return {{}, [=](Store& store, TDMFilial&, const Contexto& c, Saidas& s) {
                if (!AtualizaSaldoFisico(store, mes, produto, tamanho, deposito, qtdFis,
                                         [&](const QString& t) { s.andamento(t); }))
                    return int(LoteFalhou);
                s.andamento(u"Saldo físico atualizado: produto %1, mês %2"_s.arg(produto).arg(mes), true);
                imprimeSaldo(s.resultado, store.db(), c, mes, produto, tamanho, deposito);
                return int(LoteOk);
            }};
}

Execucao custoMedio(const LinhaLote& l)
{
    const QDate primeiroDia = mesDaOpcao(l, u"--mes"_s, true);
    const QString mes = formatScreenMonth(primeiroDia, false);
    const QStringList campos = {u"Sldpr.Cod_Reduz"_s, u"Estproma.Cod_Reduz"_s};
    const qint64 de = inteiroDosCampos(l, u"--de"_s, campos, 0);
    const qint64 ate = inteiroDosCampos(l, u"--ate"_s, campos, 0);
    if (ate < de)
        throw Recusa{u"O produto final é menor que o inicial"_s};
    auto permite = [primeiroDia](const Contexto& c) {
        const QString bloqueio = periodoBloqueadoCustoMedio(c.fatModNf, primeiroDia);
        if (!bloqueio.isEmpty())
            mostraMensagem(bloqueio);
        return bloqueio.isEmpty();
    };
    return {permite, [=](Store& store, TDMFilial& filial, const Contexto& c, Saidas& s) {
                if (!DataProcessamentoOk(u"ESTOQUE"_s, primeiroDia, filial))
                    return int(LoteFalhou);
                const int mostradas = s.mensagens.total();
                const ResultadoCustoMedio r =
                    AtualizaCustoMedio(store, mes, de, ate, [&](const QString& t) { s.andamento(t); });
                if (!r.executado) {
                    if (s.mensagens.total() == mostradas)  // the engine skipped the month without a word
                        mostraAviso(u"Custo médio não atualizado: a instalação %1 não processa o mês %2"_s
                                        .arg(c.fatModNf)
                                        .arg(formatScreenMonth(primeiroDia, true)));
                    return int(LoteFalhou);
                }
                s.andamento(u"Custo médio atualizado: %1 saldos, %2 itens"_s.arg(r.saldos).arg(r.itens), true);
                return int(LoteOk);
            }};
}

Execucao baixaMp(const LinhaLote& l)
{
    const std::optional<ParametrosBaixa> p =
        criticaEntradaBaixa(l.valor(u"--de"_s), l.valor(u"--ate"_s), l.valor(u"--historico-venda"_s),
                            l.valor(u"--historico-baixa"_s), l.valor(u"--fornecedor"_s));
    if (!p)
        return {};  // the reason has been shown
    return {{}, [p = *p](Store& store, TDMFilial&, const Contexto&, Saidas& s) {
                const ResultadoBaixa r = BaixaEstoqueMateriaPrima(store, p, [&](int feitos, int total) {
                    s.andamento(u"Andamento: %1 de %2 notas"_s.arg(feitos).arg(total), feitos == total);
                });
                s.andamento(u"Baixa de matéria prima: %1 documentos, %2 itens, %3 falhas"_s.arg(r.documentos)
                                .arg(r.itens)
                                .arg(r.falhas),
                            true);
                return int(r.interrompido || r.falhas ? LoteFalhou : LoteOk);
            }};
}

Execucao prepara(const LinhaLote& l)
{
    if (l.comando == u"saldo-fisico"_s)
        return saldoFisico(l);
    if (l.comando == u"custo-medio"_s)
        return custoMedio(l);
    return baixaMp(l);
}

// The nearest folder of `caminho` that exists (itself when it does).
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

// Checks the company folder without changing it; true when its store exists.
// A missing store is refused unless it is to be created, and a folder on a
// network file system is refused, even one that is still to be created.
bool confereEmpresa(const QString& pasta, bool criar)
{
    const QFileInfo arquivo(companyStorePath(pasta));
    if (arquivo.exists()) {
        exigeDiscoLocal(QFileInfo(arquivo.canonicalFilePath()).absolutePath());
        return true;
    }
    if (!criar)
        throw Recusa{u"Banco de dados da empresa não encontrado: %1 (use --criar para criar um novo)"_s.arg(
            arquivo.absoluteFilePath())};
    const QString existente = pastaExistente(pasta);
    if (!QFileInfo(existente).isDir())
        throw Recusa{u"Não foi possível criar a pasta da empresa: %1 (%2 não é uma pasta)"_s.arg(pasta, existente)};
    exigeDiscoLocal(existente);
    return false;
}

// Reads the branch row with a connection that changes nothing: neither the
// tables are brought up to date nor the lock file made, so a refusal leaves
// the folder as it was.
Contexto leFilial(const QString& pasta, bool existe, int filial, bool criar)
{
    Contexto c;
    c.filial = filial;
    if (existe) {
        Database db(companyStorePath(pasta));
        if (db.tableExists(u"Filial"_s)) {
            Statement st = db.prepare(u"SELECT NOME, FATMODNF FROM Filial WHERE Filial = ?"_s);
            st.bindInt(1, filial);
            if (st.next()) {
                c.cadastrada = true;
                c.nomeFilial = st.textValue(0);
                c.fatModNf = int(st.intValue(1));
                st.reset();
            }
        }
    }
    if (!c.cadastrada) {
        if (!criar)
            throw Recusa{u"Filial %1 não cadastrada na empresa %2 (use --criar para processar sem as regras "
                         u"da instalação)"_s.arg(filial)
                             .arg(pasta)};
        mostraAviso(u"Filial %1 não cadastrada nesta empresa: nenhuma regra de instalação aplicada"_s.arg(filial));
    }
    return c;
}

int executa(const QStringList& args, std::FILE* andamentoArq, std::FILE* resultado, const ContaMensagens& conta)
{
    const char16_t* erroBanco = u"Erro ao abrir o banco de dados: ";
    try {
        if (pedeAjuda(args)) {
            if (resultado)
                std::fprintf(resultado, "%s\n", qUtf8Printable(usoLote()));
            return LoteOk;
        }
        declaraTabelas();
        const LinhaLote l = analisaLinha(args);
        const int filial = int(inteiroDosCampos(l, u"--filial"_s, {u"Filial.Filial"_s, u"Sldpr.Filial"_s}, 1));
        const Execucao execucao = prepara(l);
        if (!execucao.executa)
            return LoteRecusado;
        const QString pasta = l.valor(u"--empresa"_s);
        const bool criar = l.tem(u"--criar"_s);
        const bool existe = confereEmpresa(pasta, criar);
        const Contexto contexto = leFilial(pasta, existe, filial, criar);
        if (execucao.permite && !execucao.permite(contexto))
            return LoteRecusado;

        // Every refusal has been decided: from here on the store is written.
        erroBanco = u"Erro ao gravar no banco de dados: ";
        if (!existe && !QDir().mkpath(pasta))
            throw DbError(u"não foi possível criar a pasta "_s + pasta);
        auto store = Store::openCompany(pasta);
        TDMFilial dm(store);
        dm.openBranchTables();
        dm.positionOn(filial);
        aplicaContexto(contexto, pasta);
        Andamento andamento(andamentoArq);
        Saidas saidas{andamento, resultado, conta};
        return execucao.executa(*store, dm, contexto, saidas);
    } catch (const Recusa& r) {
        mostraErro(r.uso ? r.texto + u"\n"_s + usoLote() : r.texto);
        return LoteRecusado;
    } catch (const DbError& e) {
        mostraErro(QString::fromUtf16(erroBanco) + e.message());
        return LoteFalhou;
    } catch (const std::exception& e) {
        mostraErro(u"Erro inesperado: "_s + QString::fromLocal8Bit(e.what()));
        return LoteFalhou;
    }
}

}  // namespace

int executaLote(const QStringList& args, std::FILE* andamento, std::FILE* resultado)
{
    const Sessao anterior = sessao();
    struct Restaura {
        const Sessao& s;
        ~Restaura() { sessao() = s; }
    } restaura{anterior};
    ContaMensagens conta;
    const int status = executa(args, andamento, resultado, conta);
    if (status != LoteOk && conta.total() == 0)
        mostraErro(u"O comando não foi concluído (saída %1)"_s.arg(status));
    return status;
}

}  // namespace pcp
