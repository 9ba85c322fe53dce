#include "Lote.h"

#include "BaixaMateriaPrima.h"
#include "CustoMedioPorClassificacao.h"
#include "DbError.h"
#include "Formats.h"
#include "L_Critica.h"
#include "L_Estoque.h"
#include "LoteCopia.h"
#include "Messages.h"
#include "Opcoes.h"
#include "RegrasInstalacao.h"
#include "ServidorConf.h"
#include "Store.h"
#include "TDMFilial.h"
#include "Tabelas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <functional>
#include <memory>
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

    ContextoEstoque estoque() const { return {filial, fatModNf}; }
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
    std::function<int(TDMFilial&, const Contexto&, Saidas&)> executa;
};

void imprimeSaldo(std::FILE* f, const Mes& mes, qint64 produto, const QString& tamanho, qint64 deposito,
                  const ResultadoSaldoFisico& r)
{
    if (!f)
        return;
    const QString quantidade = u"###,##0.0000"_s;
    const QString texto = u"Mês: %1\nProduto: %2\nTamanho: %3\nDepósito: %4\nFisico: %5\nFisico2: %6\n"_s
                              .arg(mes.anoMes())
                              .arg(produto)
                              .arg(tamanho.isEmpty() ? u"(sem tamanho)"_s : tamanho)
                              .arg(deposito)
                              .arg(formatMask(quantidade, r.fisico), formatMask(quantidade, r.fisico2));
    std::fputs(qUtf8Printable(texto), f);
    std::fflush(f);
}

Execucao saldoFisico(const LinhaLote& l)
{
    const Mes mes = mesDaOpcao(l, u"--mes"_s, false);
    const qint64 produto = inteiroDosCampos(l, u"--produto"_s, {u"Sldpr.Cod_Reduz"_s}, 0);
    const qint64 deposito =
        l.tem(u"--deposito"_s) ? inteiroDosCampos(l, u"--deposito"_s, {u"Sldpr.Cod_Deposi"_s}, 0) : 1;
    const QString tamanho = textoDoCampo(l, u"--tamanho"_s, u"Sldpr.Tamanho"_s);
    const bool qtdFis = l.tem(u"--atualiza-qtdfis"_s);
    return {{}, [=](TDMFilial& filial, const Contexto& c, Saidas& s) {
                const ResultadoSaldoFisico r =
                    AtualizaSaldoFisico(filial.store(), c.estoque(), mes, produto, tamanho, deposito, qtdFis,
                                        [&](const QString& t) { s.andamento(u"Andamento: "_s + t); });
                s.andamento(u"Saldo físico atualizado: produto %1, mês %2, %3 itens"_s.arg(produto)
                                .arg(mes.anoMes())
                                .arg(r.itens),
                            true);
                imprimeSaldo(s.resultado, mes, produto, tamanho, deposito, r);
                return int(LoteOk);
            }};
}

// The products custo-medio values: a range of classifications walked as the
// average-cost screen walks it, or a range of product codes.
struct SelecaoCusto {
    bool porClassificacao = true;
    QString classIni = u"000000000000000000000000"_s;
    QString classFim = u"999999999999999999999999"_s;
    qint64 de = 0, ate = 0;
};

SelecaoCusto selecaoCusto(const LinhaLote& l)
{
    SelecaoCusto sel;
    const bool porCodigo = l.tem(u"--de"_s) || l.tem(u"--ate"_s);
    if (porCodigo && (l.tem(u"--class-ini"_s) || l.tem(u"--class-fim"_s)))
        throw Recusa{u"Use --de/--ate ou --class-ini/--class-fim, não os dois"_s, true};
    if (porCodigo) {
        for (const QString& o : {u"--de"_s, u"--ate"_s})
            if (!l.tem(o))
                throw Recusa{u"Falta a opção "_s + o, true};
        const QStringList campos = {u"Sldpr.Cod_Reduz"_s, u"Estproma.Cod_Reduz"_s};
        sel.porClassificacao = false;
        sel.de = inteiroDosCampos(l, u"--de"_s, campos, 0);
        sel.ate = inteiroDosCampos(l, u"--ate"_s, campos, 0);
        if (sel.ate < sel.de)
            throw Recusa{u"O produto final é menor que o inicial"_s};
        return sel;
    }
    if (l.tem(u"--class-ini"_s))
        sel.classIni = l.valor(u"--class-ini"_s);
    if (l.tem(u"--class-fim"_s))
        sel.classFim = l.valor(u"--class-fim"_s);
    if (sel.classIni.size() != 24 || SoDigitos(sel.classIni) != sel.classIni)
        throw Recusa{u"Informe os 24 dígitos da Class.Inicial"_s};
    if (sel.classFim.size() > 24)
        throw Recusa{u"Valor inválido para --class-fim: mais de 24 caracteres"_s};
    return sel;
}

Execucao custoMedio(const LinhaLote& l)
{
    const Mes mes = mesDaOpcao(l, u"--mes"_s, true);
    const SelecaoCusto sel = selecaoCusto(l);
    auto permite = [mes](const Contexto& c) {
        const QString bloqueio = periodoBloqueadoCustoMedio(c.fatModNf, mes);
        if (!bloqueio.isEmpty())
            mostraMensagem(bloqueio);
        return bloqueio.isEmpty();
    };
    return {permite, [=](TDMFilial& filial, const Contexto& c, Saidas& s) {
                if (!DataProcessamentoOk(u"ESTOQUE"_s, mes.primeiroDia(), filial))
                    return int(LoteFalhou);
                // the engine's lines carry no label: they get the one the screen's
                // progress line shows; the product label comes labelled
                const AndamentoEstoque andamento = [&](const QString& t) { s.andamento(u"Andamento: "_s + t); };
                const AndamentoEstoque produto = [&](const QString& t) { s.andamento(t); };
                const int mostradas = s.mensagens.total();
                const auto naoExecutado = [&] {
                    if (s.mensagens.total() == mostradas)  // the engine skipped the month without a word
                        mostraAviso(u"Custo médio não atualizado: a instalação %1 não processa o mês %2"_s
                                        .arg(c.fatModNf)
                                        .arg(mes.mesAno().insert(2, u'/')));
                    return int(LoteFalhou);
                };
                if (sel.porClassificacao) {
                    // Without a window nobody can be asked about a product
                    // another workstation holds: it is skipped and counted.
                    const ResultadoClassificacao r = AtualizaCustoMedioPorClassificacao(
                        filial.storePtr(), c.estoque(), mes, sel.classIni, sel.classFim, {}, andamento,
                        produto);
                    if (!r.executado)
                        return naoExecutado();
                    s.andamento(u"Custo médio atualizado: %1 produtos, %2 saldos, %3 itens"_s.arg(r.produtos)
                                    .arg(r.saldos)
                                    .arg(r.itens),
                                true);
                    if (r.pulados > 0) {
                        mostraAviso(u"%1 produtos em uso em outra estação não foram atualizados"_s.arg(r.pulados));
                        return int(LoteFalhou);
                    }
                    return int(LoteOk);
                }
                const ResultadoCustoMedio r =
                    AtualizaCustoMedio(filial.store(), c.estoque(), mes, sel.de, sel.ate, produto);
                if (!r.executado)
                    return naoExecutado();
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
    return {{}, [p = *p](TDMFilial& filial, const Contexto& c, Saidas& s) {
                const ResultadoBaixa r =
                    BaixaEstoqueMateriaPrima(filial.store(), c.estoque(), p, [&](int feitos, int total) {
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

// Checks the company folder without changing it; true when its store exists.
// A missing store is refused unless it is to be created, and a folder on a
// network file system is refused, even one that is still to be created.
bool confereEmpresa(const QString& pasta, bool criar)
{
    if (companyOnServer(pasta))
        return true;  // the tables are on the server its servidor.conf names
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

// Reads the branch row without changing anything, so a refusal leaves the
// folder as it was.
Contexto leFilial(const QString& pasta, bool existe, int filial, bool criar)
{
    Contexto c;
    c.filial = filial;
    if (existe) {
        // neither the tables are brought up to date nor the lock file made
        const auto conexao = openConnection(companyStorePath(pasta));
        Database& db = *conexao;
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
        if (comandoDeCopia(l.comando)) {
            Andamento andamento(andamentoArq);
            return executaCopia(l, [&](const QString& t, bool ultimo) { andamento(t, ultimo); }, resultado);
        }
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
        Andamento andamento(andamentoArq);
        Saidas saidas{andamento, resultado, conta};
        return execucao.executa(dm, contexto, saidas);
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
    ContaMensagens conta;
    const int status = executa(args, andamento, resultado, conta);
    if (status != LoteOk && conta.total() == 0)
        mostraErro(u"O comando não foi concluído (saída %1)"_s.arg(status));
    return status;
}

}  // namespace pcp
