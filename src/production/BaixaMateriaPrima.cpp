#include "BaixaMateriaPrima.h"

#include "DocumentoEstoque.h"
#include "Formats.h"
#include "Messages.h"
#include "Transaction.h"

#include <QElapsedTimer>
#include <QHash>
#include <limits>
#include <unordered_map>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The sales documents of the period, in Num_Nota order; documents of the same
// number follow in the order of the rest of their key (date, then client),
// so the one processed later is always the same.
const QString kNotasVenda =
    u"SELECT Num_Nota, Cod_Clifor, DT_ENTRADA, Est_Hist FROM Notas "
    "WHERE Filial = ? AND DT_ENTRADA >= ? AND DT_ENTRADA <= ? AND Tipo_Nota = 1 "
    "ORDER BY Num_Nota, DT_ENTRADA, Cod_Clifor"_s;

// The items of every sales document of the period, read at once (over a
// network a statement per document would cost a round trip each), each
// document's in item order.
const QString kItensVenda =
    u"SELECT Num_Nota, Cod_Clifor, DT_ENTRADA, FORMULA, QUANTIDADE FROM Notai "
    "WHERE Filial = ? AND Tipo_Nota = 1 AND DT_ENTRADA >= ? AND DT_ENTRADA <= ? "
    "ORDER BY Num_Nota, DT_ENTRADA, Cod_Clifor, Num_Item"_s;

// A sales document's key as the items are filed under it (a blank number or
// client matches blank).
QString chaveVenda(const QVariant& numNota, const QVariant& codClifor, const QString& dtEntrada)
{
    return numNota.toString() + u'\x1f' + codClifor.toString() + u'\x1f' + dtEntrada;
}

const QString kFormulaExiste = u"SELECT 1 FROM Formula WHERE Filial = ? AND Formula = ?"_s;

const QString kComponentes =
    u"SELECT i.Componente, i.Percentual, e.NOME1 FROM Formulai i "
    "LEFT JOIN Estproma e ON e.Filial = i.Filial AND e.Cod_Reduz = i.Componente "
    "WHERE i.Filial = ? AND i.Formula = ? ORDER BY i.OrdComp"_s;

// The write-off document's fields beyond the key, and its items' fields.
const QStringList kCamposCabecalho{u"Est_Hist"_s, u"SISTEMA"_s, u"DT_LANCAM"_s, u"DT_EMISSAO"_s, u"OBSERVACAO"_s};
const QStringList kCamposItem{u"Cod_Reduz"_s, u"DESCR_PROD"_s, u"QUANTIDADE"_s};
constexpr int kTipoBaixa = 3, kParametroBaixa = 51, kDepositoBaixa = 1;
// How many times a group the server gave up for another workstation's change
// is written again before the run stops with the server's message.
constexpr int kTentativasConflito = 3;

// Documents are written in groups: one transaction holds a stretch of about
// ContextoEstoque::passoMs of documents, each of them whole. The write to disk (synchronous
// FULL) and the pages the group changed are paid once per group instead of
// once per document, and between groups the write lock is given up, so other
// workstations can post, and the window is repainted. A savepoint per
// document would cost as much again as the writing itself; a document whose
// header is refused rolls its group back instead, and the group is done again
// without it.

struct Recusa {
    int campo;
    QString texto;
    bool daRotina;  // one of the routine's own texts (plain box), not a conversion
};

struct Faixa {
    qint64 minimo, maximo;
    QString descricao;
};
const Faixa kFaixaHistorico{-32768, 32767, u"um número entre -32768 e 32767"_s};
const Faixa kFaixaFornecedor{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                             u"um número inteiro de 32 bits"_s};

const QString kCampos[] = {u"Data inicial"_s, u"Data Final"_s, u"Historico de Venda"_s,
                           u"Historico da Baixa"_s, u"Fornecedor"_s};
const QString kCodigoInvalido[] = {{}, {}, u"Historico de venda invalido"_s,
                                   u"Historico da baixa invalido"_s,
                                   u"Codigo do fornecedor invalido"_s};

std::optional<Recusa> criticaCodigo(int campo, qint64 valor, const Faixa& faixa)
{
    if (valor == 0)
        return Recusa{campo, kCodigoInvalido[campo], true};
    if (valor < faixa.minimo || valor > faixa.maximo)
        return Recusa{campo,
                      u"'%1' não é %2 (campo %3)"_s.arg(QString::number(valor), faixa.descricao,
                                                         kCampos[campo]),
                      false};
    return std::nullopt;
}

// A code as typed; an empty box counts as 0.
std::optional<Recusa> leCodigo(int campo, const QString& texto, const Faixa& faixa, qint64& valor)
{
    valor = 0;
    if (!texto.trimmed().isEmpty()) {
        try {
            valor = toInteger(texto);
        } catch (const ConversionError&) {
            return Recusa{campo,
                          u"'%1' não é um número inteiro válido (campo %2)"_s.arg(texto.trimmed(),
                                                                                  kCampos[campo]),
                          false};
        }
    }
    return criticaCodigo(campo, valor, faixa);
}

std::optional<Recusa> leData(int campo, const QString& texto, QDate& data)
{
    if (texto.trimmed().isEmpty())
        return Recusa{campo, campo == 0 ? u"Informe a data inicial"_s : u"Informe a data final"_s, false};
    const std::optional<QDate> lida = parseDate(texto);
    if (!lida)
        return Recusa{campo,
                      u"'%1' não é uma data válida (campo %2)"_s.arg(texto.trimmed(), kCampos[campo]),
                      false};
    data = *lida;
    return std::nullopt;
}

std::optional<Recusa> criticaPeriodo(QDate ini, QDate fim)
{
    if (!ini.isValid())
        return Recusa{0, u"Informe a data inicial"_s, false};
    if (!fim.isValid())
        return Recusa{1, u"Informe a data final"_s, false};
    if (fim < ini)
        return Recusa{1, u"A data final não pode ser anterior à data inicial"_s, false};
    return std::nullopt;
}

// The checks of a set of parameters given by a caller (the batch command),
// with the same texts as on the screen.
std::optional<Recusa> criticaParametros(const ParametrosBaixa& p)
{
    if (auto r = criticaCodigo(2, p.HistoricoVenda, kFaixaHistorico))
        return r;
    if (auto r = criticaCodigo(3, p.HistoricoBaixa, kFaixaHistorico))
        return r;
    if (auto r = criticaCodigo(4, p.Fornecedor, kFaixaFornecedor))
        return r;
    return criticaPeriodo(p.DataIni, p.DataFim);
}

void mostra(const Recusa& r)
{
    if (r.daRotina)
        mostraMensagem(r.texto);
    else
        mostraErro(r.texto);
}

struct NotaVenda {
    QVariant numNota;
    QVariant codClifor;
    QString dtEntrada;  // "yyyy-mm-dd"
    qint64 estHist;
};

struct ItemVenda {
    QString formula;
    double quantidade;
};

struct Componente {
    qint64 codigo;
    bool semCodigo;
    double percentual;
    QString nome;  // Estproma.NOME1
};

struct FormulaLida {
    bool cadastrada = false;
    std::vector<Componente> componentes;  // in OrdComp order
};

// Everything one run prepares once: its statements and the formulas read so far.
class Baixa {
public:
    Baixa(Database& db, int filial, const ParametrosBaixa& p)
        : db_(db), p_(p), filial_(filial), hoje_(QDate::currentDate().toString(u"yyyy-MM-dd"_s)),
          formulaExiste_(db, kFormulaExiste), componentes_(db, kComponentes),
          gravador_(db, kCamposCabecalho, kCamposItem,
                    {{u"Parametro"_s, kParametroBaixa}, {u"Cod_Deposi"_s, kDepositoBaixa}, {u"DT_LANCAM"_s, hoje_}})
    {
    }

    // Whether each document waits for the store's answer before the next: only
    // then is a refused header known to be this document's.
    void esperaCadaDocumento(bool espera)
    {
        espera_ = espera;
        gravador_.esperaCadaDocumento(espera);
    }

    std::vector<NotaVenda> notasDoPeriodo()
    {
        std::vector<NotaVenda> notas;
        Statement st(db_, kNotasVenda);
        st.bindInt(1, filial_)
            .bindText(2, p_.DataIni.toString(u"yyyy-MM-dd"_s))
            .bindText(3, p_.DataFim.toString(u"yyyy-MM-dd"_s));
        while (st.next())
            notas.push_back({st.value(0), st.value(1), st.textValue(2), st.intValue(3)});
        Statement itens(db_, kItensVenda);
        itens.bindInt(1, filial_)
            .bindText(2, p_.DataIni.toString(u"yyyy-MM-dd"_s))
            .bindText(3, p_.DataFim.toString(u"yyyy-MM-dd"_s));
        while (itens.next()) {
            QString formula = itens.textValue(3);
            if (!formula.trimmed().isEmpty())
                itensVenda_[chaveVenda(itens.value(0), itens.value(1), itens.textValue(2))].push_back(
                    {std::move(formula), itens.doubleValue(4)});
        }
        return notas;
    }

    // Writes off one sales document inside the group's transaction; its
    // messages go to `avisos`. False, with nothing reported yet, when the store
    // refused the header: the caller must then roll back the whole group,
    // which also brings back the old write-off this call deleted.
    bool baixa(const NotaVenda& nota, QList<Message>& avisos, ResultadoBaixa& r, QString& recusa)
    {
        const std::vector<ItemVenda> itens = itensVenda_.value(chaveVenda(nota.numNota, nota.codClifor, nota.dtEntrada));
        // The formulas first: messages, and the number of items the document
        // will get, before anything is written.
        QList<Message> daNota;
        std::vector<const FormulaLida*> formulas;
        qint64 total = 0;
        for (const ItemVenda& vendido : itens) {
            const FormulaLida* f = &formula(vendido.formula);
            if (!f->cadastrada) {
                daNota << Message{MsgIcon::None, {},
                                  u"Formula: "_s + vendido.formula + u"  na nota "_s + nota.numNota.toString() +
                                      u" não cadastrada"_s};
                f = nullptr;
            } else {
                total += qint64(f->componentes.size());
            }
            formulas.push_back(f);
        }
        if (total > kMaiorNumItem) {
            avisos << Message{MsgIcon::Error, {},
                              u"A baixa da nota %1 passa de %2 itens; a nota não foi baixada"_s
                                  .arg(nota.numNota.toString())
                                  .arg(kMaiorNumItem)};
            ++r.falhas;
            return true;
        }

        DocumentoEstoque d;
        d.chave = {filial_, nota.numNota, kTipoBaixa, p_.Fornecedor, nota.dtEntrada};
        d.cabecalho = {p_.HistoricoBaixa, u"E"_s, hoje_, nota.dtEntrada, u"BAIXA MATERIA PRIMA"_s};
        d.itens.reserve(size_t(total));
        for (size_t i = 0; i < itens.size(); ++i) {
            if (!formulas[i])
                continue;
            for (const Componente& c : formulas[i]->componentes)
                d.itens.push_back({{c.semCodigo ? QVariant() : QVariant(c.codigo), c.nome,
                                    itens[i].quantidade * c.percentual / 100},
                                   {}});
        }
        try {
            gravador_.substitui(d);
        } catch (const DbError& e) {
            if (!e.isKeyViolation() || !espera_)
                throw;
            recusa = u"Registro ja existe - "_s + e.message() + u"\nTabela : Notas"_s;
            return false;
        }
        avisos << daNota;
        ++r.documentos;
        r.itens += total;
        return true;
    }

private:
    // The formula of the current branch with its components, read once per
    // run. The reference stays valid for the whole run.
    const FormulaLida& formula(const QString& codigo)
    {
        auto it = formulas_.find(codigo);
        if (it != formulas_.end())
            return it->second;
        FormulaLida f;
        formulaExiste_.bindInt(1, filial_).bindText(2, codigo);
        f.cadastrada = formulaExiste_.next();
        if (f.cadastrada) {
            formulaExiste_.reset();
            componentes_.bindInt(1, filial_).bindText(2, codigo);
            while (componentes_.next())
                f.componentes.push_back({componentes_.intValue(0), componentes_.isNull(0),
                                         componentes_.doubleValue(1), componentes_.textValue(2)});
        }
        return formulas_.emplace(codigo, std::move(f)).first->second;
    }

    Database& db_;
    const ParametrosBaixa& p_;
    const qint64 filial_;
    const QString hoje_;
    Statement formulaExiste_, componentes_;
    QHash<QString, std::vector<ItemVenda>> itensVenda_;
    GravadorDocumentos gravador_;
    bool espera_ = true;
    std::unordered_map<QString, FormulaLida> formulas_;  // node-based: references survive a rehash
};

void mostra(const QList<Message>& avisos)
{
    for (const Message& m : avisos)
        messages().show(m);
}

}  // namespace

std::optional<ParametrosBaixa> criticaEntradaBaixa(const QString& dataIni, const QString& dataFim,
                                                   const QString& historicoVenda,
                                                   const QString& historicoBaixa,
                                                   const QString& fornecedor, int* campoErro)
{
    ParametrosBaixa p;
    qint64 venda = 0, baixa = 0, clifor = 0;
    std::optional<Recusa> recusa = leCodigo(2, historicoVenda, kFaixaHistorico, venda);
    if (!recusa)
        recusa = leCodigo(3, historicoBaixa, kFaixaHistorico, baixa);
    if (!recusa)
        recusa = leCodigo(4, fornecedor, kFaixaFornecedor, clifor);
    if (!recusa)
        recusa = leData(0, dataIni, p.DataIni);
    if (!recusa)
        recusa = leData(1, dataFim, p.DataFim);
    if (!recusa)
        recusa = criticaPeriodo(p.DataIni, p.DataFim);
    if (recusa) {
        mostra(*recusa);
        if (campoErro)
            *campoErro = recusa->campo;
        return std::nullopt;
    }
    p.HistoricoVenda = int(venda);
    p.HistoricoBaixa = int(baixa);
    p.Fornecedor = clifor;
    return p;
}

ResultadoBaixa BaixaEstoqueMateriaPrima(Store& store, const ContextoEstoque& contexto, const ParametrosBaixa& p,
                                        const AndamentoBaixa& andamento)
{
    ResultadoBaixa r;
    if (const auto recusa = criticaParametros(p)) {
        mostra(*recusa);
        r.interrompido = true;
        return r;
    }
    Database& db = store.db();
    try {
        LongRunCache cache(db);
        Baixa baixa(db, contexto.filial, p);
        const std::vector<NotaVenda> notas = baixa.notasDoPeriodo();
        const int total = int(notas.size());
        r.notas = total;
        if (andamento)
            andamento(0, total);
        // Documents whose header the store refused, with the message: a
        // group that met one is rolled back and done again without it.
        QHash<size_t, QString> recusadas;
        size_t feitas = 0;
        while (feitas < notas.size()) {
            size_t limite = notas.size();
            int conflitos = 0;
            // Documents travel together; a refused header, known only at the
            // group's end, has the group written again document by document.
            bool esperar = false;
            for (;;) {
                baixa.esperaCadaDocumento(esperar);
                ResultadoBaixa doGrupo;
                QList<Message> avisos;
                QElapsedTimer relogio;
                relogio.start();
                size_t k = feitas;
                std::optional<size_t> recusada;
                try {
                    Transaction grupo(db);
                    while (k < limite) {
                        const NotaVenda& nota = notas[k];
                        if (nota.estHist == p.HistoricoVenda) {
                            if (const auto it = recusadas.constFind(k); it != recusadas.cend()) {
                                avisos << Message{MsgIcon::Information, {}, *it};
                                ++doGrupo.falhas;
                            } else if (QString texto; !baixa.baixa(nota, avisos, doGrupo, texto)) {
                                recusadas.insert(k, texto);
                                recusada = k;
                                break;
                            }
                        }
                        ++k;
                        if (relogio.elapsed() >= contexto.passoMs)
                            break;
                    }
                    if (!recusada)
                        grupo.commit();
                } catch (const DbError& e) {
                    if (e.isKeyViolation() && !esperar) {
                        esperar = true;
                        continue;
                    }
                    // the server gave the group up for another workstation's
                    // change: nothing of it stays, so it is simply done again
                    if (e.kind() != DbErrorKind::Conflict || ++conflitos >= kTentativasConflito)
                        throw;
                    continue;
                }
                if (recusada) {
                    limite = *recusada + 1;  // again, up to the refused document
                    continue;
                }
                ++r.passos;
                r.maiorPassoMs = std::max(r.maiorPassoMs, relogio.elapsed());
                r.documentos += doGrupo.documentos;
                r.itens += doGrupo.itens;
                r.falhas += doGrupo.falhas;
                feitas = k;
                mostra(avisos);
                if (andamento)
                    andamento(int(feitas), total);
                break;
            }
        }
    } catch (const DbError& e) {
        // The open group was rolled back: its documents keep what they had,
        // and their messages are dropped with them.
        r.interrompido = true;
        mostraErro(e.message());
    }
    return r;
}

}  // namespace pcp
