#include "DemoEstoque.h"

#include "BaixaMateriaPrima.h"

#include "Decimal4.h"
#include "DocumentoEstoque.h"
#include "L_Critica.h"
#include "L_Estoque.h"
#include "Messages.h"
#include "Store.h"
#include "Transaction.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <tuple>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

void run(Database& db, const QString& sql, const QVariantList& params = {})
{
    db.prepare(sql).bindList(params).run();
}

constexpr int kFilial = 1;
constexpr int kMeses = 5;
// The company itself: the partner of its internal documents and the
// "Fornecedor" of its raw-material write-offs.
constexpr int kPropria = 900;
// Document types: invoices issued, invoices received, internal documents.
constexpr int kEmitida = 1, kRecebida = 2, kInterna = 3;
constexpr int kPrimeiraNotaEmitida = 2401, kPrimeiroDocInterno = 7001;

namespace Hist {
constexpr int Compra = 1, DevolucaoVenda = 2, EntradaProducao = 3, AjusteEntrada = 4,
              TransferenciaEntrada = 5, AmostraGratis = 49, Complemento = 50, Venda = 51,
              BaixaMateriaPrima = 52, EntregaFutura = 53, Consignacao = 54, ConsumoEmbalagem = 56,
              TransferenciaSaida = 57, AjusteSaida = 58, DevolucaoCompra = 59;
}  // namespace Hist

struct Historico {
    int codigo;
    int classe;  // Param_Hist
    const char16_t* descricao;
    const char16_t* atualizaCadastro;
    int transferencia;  // the paired history of a transfer
};

// Every movement class the engine knows: entries at their own cost (1), at
// the running average (2), quantity only (49), neutral (50) and exits.
const Historico kHistoricos[] = {
    {1, 1, u"COMPRA", u"S", 0},
    {2, 2, u"DEVOLUCAO DE VENDA", u"N", 0},
    {3, 1, u"ENTRADA DE PRODUCAO", u"N", 0},
    {4, 2, u"AJUSTE DE INVENTARIO - ENTRADA", u"N", 0},
    {5, 2, u"TRANSFERENCIA - ENTRADA", u"N", 57},
    {49, 49, u"AMOSTRA GRATIS RECEBIDA", u"N", 0},
    {50, 50, u"COMPLEMENTO DE PRECO", u"N", 0},
    {51, 51, u"VENDA", u"S", 0},
    {52, 52, u"BAIXA MATERIA PRIMA", u"N", 0},
    {53, 53, u"VENDA ENTREGA FUTURA", u"S", 0},
    {54, 54, u"REMESSA EM CONSIGNACAO", u"N", 0},
    {55, 55, u"REMESSA CONDICIONAL", u"N", 0},
    {56, 56, u"CONSUMO DE EMBALAGEM", u"N", 0},
    {57, 57, u"TRANSFERENCIA - SAIDA", u"N", 5},
    {58, 58, u"AJUSTE DE INVENTARIO - SAIDA", u"N", 0},
    {59, 59, u"DEVOLUCAO DE COMPRA", u"S", 0},
    {73, 73, u"BAIXA PCP ORDEM DE SERVICO", u"N", 0},
};

struct Operacao {
    int codigo;
    const char16_t* complemento;
    const char16_t* descricao;
    int historico;
    const char16_t* icms;
    const char16_t* duplicata;
};

const Operacao kOperacoes[] = {
    {1101, u"", u"COMPRA PARA INDUSTRIALIZACAO", Hist::Compra, u"S", u"S"},
    {1101, u"C", u"COMPLEMENTO DE PRECO DE COMPRA", Hist::Complemento, u"S", u"S"},
    {1201, u"", u"DEVOLUCAO DE VENDA DE PRODUCAO PROPRIA", Hist::DevolucaoVenda, u"S", u"N"},
    {1911, u"", u"ENTRADA DE AMOSTRA GRATIS", Hist::AmostraGratis, u"N", u"N"},
    {5101, u"", u"VENDA DE PRODUCAO DO ESTABELECIMENTO", Hist::Venda, u"S", u"S"},
    {5201, u"", u"DEVOLUCAO DE COMPRA P/ INDUSTRIALIZACAO", Hist::DevolucaoCompra, u"S", u"N"},
    {5902, u"D", u"RETORNO DE INDUSTRIALIZACAO", 73, u"N", u"N"},
    {5917, u"", u"REMESSA DE MERCADORIA EM CONSIGNACAO", Hist::Consignacao, u"S", u"N"},
    {5922, u"", u"SIMPLES FATURAMENTO ENTREGA FUTURA", Hist::EntregaFutura, u"N", u"S"},
};

// A formula in kilograms of each component for one batch.
struct Componente {
    int produto;
    double quantidade;
};

struct FormulaDemo {
    const char16_t* codigo;  // within the numbers Pcpcfg.UltimaFormula has given out
    int produto;
    int cliente;
    const char16_t* cor;
    const char16_t* origem;
    int responsavel;
    int matizador;  // 0: none
    bool padrao;    // the product's own formula (Estproma.Formula), used by production
    std::vector<Componente> componentes;
};

// The catalogue has no water, so the water-borne paints are written as their
// solids and additives.
const std::vector<FormulaDemo>& formulasDemo()
{
    static const std::vector<FormulaDemo> f = {
        {u"ST 101", 2001, 1, u"BRANCO NEVE", u"CLIENTE", 1, 0, true,
         {{1003, 320}, {1102, 380}, {1105, 150}, {1101, 110}, {1301, 12}, {1304, 14}, {1302, 6}, {1305, 8}}},
        {u"ST 102", 2002, 2, u"BRANCO", u"CLIENTE", 1, 0, true,
         {{1003, 420}, {1101, 200}, {1102, 220}, {1105, 120}, {1301, 12}, {1304, 10}, {1302, 8}, {1305, 10}}},
        {u"ST 103", 2003, 2, u"PALHA", u"CLIENTE", 1, 0, true,
         {{1003, 480}, {1101, 180}, {1102, 150}, {1103, 4}, {1105, 150}, {1301, 10}, {1304, 8}, {1302, 8},
          {1305, 10}}},
        {u"ST 104", 2004, 3, u"AZUL FRANCA", u"CLIENTE", 1, 0, true,
         {{1001, 560}, {1104, 45}, {1101, 60}, {1105, 40}, {1201, 250}, {1202, 30}, {1303, 12}, {1302, 3}}},
        {u"ST 105", 2005, 3, u"VERMELHO", u"CLIENTE", 1, 0, true,
         {{1001, 560}, {1103, 120}, {1105, 30}, {1201, 240}, {1202, 35}, {1303, 12}, {1302, 3}}},
        {u"ST 106", 2006, 3, u"PRETO ACETINADO", u"CLIENTE", 2, 0, true,
         {{1001, 520}, {1104, 30}, {1103, 40}, {1105, 80}, {1102, 40}, {1201, 250}, {1202, 25}, {1303, 12},
          {1302, 3}}},
        {u"ST 107", 2007, 3, u"INCOLOR", u"CLIENTE", 2, 0, true,
         {{1001, 700}, {1201, 230}, {1202, 50}, {1303, 15}, {1302, 5}}},
        {u"ST 108", 2008, 1, u"BRANCO", u"CLIENTE", 1, 0, true,
         {{1003, 120}, {1102, 600}, {1105, 240}, {1304, 15}, {1301, 10}, {1302, 5}, {1305, 10}}},
        {u"ST 109", 2009, 1, u"INCOLOR", u"CLIENTE", 2, 0, true,
         {{1002, 450}, {1201, 350}, {1202, 150}, {1203, 50}}},
        // a cheaper white for the home centre
        {u"ST 110", 2001, 2, u"BRANCO NEVE ECONOMICO", u"REPRESENTA", 1, 0, false,
         {{1003, 260}, {1102, 460}, {1105, 170}, {1101, 80}, {1301, 10}, {1304, 12}, {1302, 4}, {1305, 4}}},
        // tinted on the automatic machine for the building contractor
        {u"ST 111", 2003, 1, u"PALHA HORIZONTE", u"CLIENTE", 1, 1, false,
         {{1003, 470}, {1101, 175}, {1102, 160}, {1103, 6}, {1105, 150}, {1301, 10}, {1304, 9}, {1302, 10},
          {1305, 10}}},
        // a small batch whose shares do not come out even
        {u"ST 112", 2007, 4, u"INCOLOR BRILHO EXTRA", u"CLIENTE", 2, 0, false,
         {{1001, 127.5}, {1201, 40}, {1202, 8.5}, {1303, 2.9}, {1302, 1.1}}},
    };
    return f;
}

// What each client buys: product, size, cans in a usual order, formula.
struct LinhaCesta {
    int produto;
    const char16_t* tamanho;
    int latas;
    const char16_t* formula;
};

struct Comprador {
    int cliente;
    int dia;
    std::vector<LinhaCesta> cesta;
};

const std::vector<Comprador>& compradores()
{
    static const std::vector<Comprador> c = {
        {1, 9, {{2001, u"18L", 30, u"ST 101"}, {2008, u"18L", 20, u"ST 108"}, {2003, u"18L", 8, u"ST 111"},
                {2009, u"18L", 6, u"ST 109"}}},
        {2, 13, {{2001, u"3,6L", 24, u"ST 110"}, {2002, u"18L", 10, u"ST 102"}, {2004, u"0,9L", 36, u"ST 104"},
                 {2005, u"0,9L", 24, u"ST 105"}, {2007, u"3,6L", 12, u"ST 107"}, {2003, u"3,6L", 12, u"ST 103"}}},
        {3, 17, {{2004, u"3,6L", 16, u"ST 104"}, {2005, u"3,6L", 12, u"ST 105"}, {2006, u"3,6L", 8, u"ST 106"},
                 {2002, u"3,6L", 12, u"ST 102"}, {2007, u"0,9L", 24, u"ST 107"}}},
        {4, 23, {{2002, u"3,6L", 3, u"ST 102"}, {2007, u"0,9L", 4, u"ST 112"}, {2009, u"3,6L", 2, u"ST 109"}}},
    };
    return c;
}

// Purchase prices follow the month (reais of the catalogue's last cost).
const double kFatorPreco[kMeses] = {0.96, 0.98, 1.00, 1.03, 1.05};

// A can of a size: litres it holds and cans produced at a time.
struct Lata {
    double litros;
    int lote;
};

Lata lata(const QString& tamanho)
{
    if (tamanho == u"18L"_s)
        return {18, 10};
    if (tamanho == u"3,6L"_s)
        return {3.6, 12};
    return {0.9, 24};
}

double litros(const QString& tamanho) { return lata(tamanho).litros; }
int loteLatas(const QString& tamanho) { return lata(tamanho).lote; }

// The packaging a paint of a size goes in.
int embalagem(int produto, const QString& tamanho)
{
    if (tamanho == u"18L"_s)
        return produto == 2008 ? 3004 : 3001;
    return tamanho == u"3,6L"_s ? 3002 : 3003;
}

// Kilograms bought at a time: drums of resin and solvent, bags of pigment
// and filler, pails of additive.
double loteCompra(int produto, const QString& nivel2)
{
    if (nivel2 == u"001"_s || nivel2 == u"003"_s)
        return 200;
    if (nivel2 == u"002"_s)
        return 25;
    return produto == 1301 ? 50 : 20;
}

double arredondaAcima(double quantidade, double lote)
{
    return std::ceil(quantidade / lote - 1e-9) * lote;
}

double q4(double v) { return Arredonda(4, v); }
double q2(double v) { return Arredonda(2, v); }

struct Produto {
    QString nome, unidade, nivel1, nivel2, clasFisc;
    double ultimoCusto = 0, densidade = 0;
};

struct Item {
    int produto = 0;
    QString tamanho;
    int deposito = 1;
    double quantidade = 0, quantidade2 = 0, preco = 0, custo = 0, custoInf = 0;
    QString formula, lote;
    QDate validade;
    int parametro = 0;
    bool naoAtualiza = false;  // NOTAI3.NaoAtualizaSaldos
};

struct Documento {
    int numero = 0;  // 0 until the issued and internal documents are numbered
    int tipo = 0;
    int clifor = 0;
    QDate data;
    int historico = 0;
    int natOper = 0;
    QString complemento;
    QString sistema;
    QString observacao;
    QDate lancamento;
    std::vector<Item> itens;
};

using ChaveSaldo = std::tuple<int, QString, int>;  // product, size, warehouse

// Collects what the engine would show; the demo data must give it nothing to say.
class MensagensDoMotor : public MessageService {
public:
    MsgAnswer show(const Message& message) override
    {
        textos << message.text;
        return MsgAnswer::Ok;
    }
    std::optional<QString> input(const InputRequest&) override { return std::nullopt; }
    QStringList textos;
};

class GeradorEstoque {
public:
    GeradorEstoque(Store& store, QDate hoje) : store_(store), db_(store.db())
    {
        const QDate mesAtual(hoje.year(), hoje.month(), 1);
        for (int m = 0; m < kMeses; ++m)
            mes_[m] = mesAtual.addMonths(m - kMeses);
    }

    void gera()
    {
        leProdutos();
        cadastros();
        formulas();
        for (int m = 0; m < kMeses; ++m) {
            vendas(m);
            especiais(m);
        }
        producao();
        compras();
        numera();
        grava();
        rolaSaldos();
    }

private:
    QDate dia(int m, int d) const { return mes_[m].addDays(d - 1); }
    QDate fimDoMes(int m) const { return mes_[m].addMonths(1).addDays(-1); }
    int mesDe(QDate data) const
    {
        for (int m = 0; m < kMeses; ++m)
            if (data.year() == mes_[m].year() && data.month() == mes_[m].month())
                return m;
        return -1;
    }
    const Produto& produto(int codigo) const
    {
        const auto it = produtos_.constFind(codigo);
        if (it == produtos_.cend())
            throw DbError(u"Estoque da demonstracao: produto %1 fora do catalogo"_s.arg(codigo));
        return *it;
    }

    void leProdutos()
    {
        Statement st = db_.prepare(u"SELECT Cod_Reduz, NOME1, UNID_PAD, ULTIMOCUST, Densidade, Nivel1, Nivel2, "
                                   "CLAS_FISC FROM Estproma WHERE Filial = ? ORDER BY Cod_Reduz"_s);
        st.bindInt(1, kFilial);
        while (st.next())
            produtos_.insert(int(st.intValue(0)), {st.textValue(1), st.textValue(2), st.textValue(5),
                                                   st.textValue(6), st.textValue(7), st.doubleValue(3),
                                                   st.doubleValue(4)});
    }

    void cadastros()
    {
        for (const Historico& h : kHistoricos)
            run(db_,
                u"INSERT INTO HistEst (Est_Hist, DESCR_HIST, ATUCADPROD, CONVERSAO, Param_Hist, Hist_Trans) "
                "VALUES (?, ?, ?, 1, ?, ?)"_s,
                {h.codigo, QString::fromUtf16(h.descricao), QString::fromUtf16(h.atualizaCadastro), h.classe,
                 h.transferencia ? QVariant(h.transferencia) : QVariant()});
        for (const Operacao& o : kOperacoes)
            run(db_,
                u"INSERT INTO Natuoper (Cod_NatOpe, COMPLNATOP, DESC_NATOP, ICMS, IPI, GERA_DUPL, Est_Hist) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                {o.codigo, QString::fromUtf16(o.complemento), QString::fromUtf16(o.descricao),
                 QString::fromUtf16(o.icms), QString::fromUtf16(o.icms), QString::fromUtf16(o.duplicata),
                 o.historico});
        run(db_, u"INSERT INTO Deposito (Filial, Cod_Deposi, Desc_Depos) VALUES "
                 "(1, 1, 'ALMOXARIFADO'), (1, 2, 'EXPEDICAO'), (2, 1, 'ALMOXARIFADO')"_s);
        run(db_,
            u"INSERT INTO Clifor (Filial, Cod_Clifor, Sistema, Tipo, NOME, FANTASIA, CGC, CIDADE, ESTADO, "
            "ENDERECO, NUMERO, COD_CEPEND, Cod_Pais, DATA_CAD) "
            "SELECT Filial, ?, '1', 3, 'PRODUCAO PROPRIA', 'PRODUCAO', CGC, FIL_CIDADE, FIL_ESTADO, "
            "'RUA DAS INDUSTRIAS', 100, '01310100', '1058', ? FROM Filial WHERE Filial = ?"_s,
            {kPropria, mes_[0].addMonths(-3), kFilial});
    }

    // Shares of a formula as the register stores them: each rounded to four
    // places, the residue on the last component, so that they add up to 100.
    static std::vector<double> percentuais(const FormulaDemo& f)
    {
        double total = 0;
        for (const Componente& c : f.componentes)
            total += c.quantidade;
        std::vector<qint64> p;
        qint64 soma = 0;
        for (const Componente& c : f.componentes) {
            p.push_back(Decimal4::fromDouble(Arredonda(4, c.quantidade / total * 100)).raw());
            soma += p.back();
        }
        p.back() += 100 * Decimal4::Scale - soma;
        std::vector<double> r;
        for (qint64 v : p)
            r.push_back(Decimal4::fromRaw(v).toDouble());
        return r;
    }

    void formulas()
    {
        int n = 0;
        for (const FormulaDemo& f : formulasDemo()) {
            const QString codigo = QString::fromUtf16(f.codigo);
            const QDate cadastro = mes_[0].addMonths(-2).addDays(3 * n++);
            const std::vector<double> pct = percentuais(f);
            double total = 0;
            for (const Componente& c : f.componentes)
                total += c.quantidade;
            QStringList observacoes;
            Statement obs = db_.prepare(u"SELECT Observacao FROM ObseProd WHERE Filial = ? AND Cod_Reduz = ? "
                                        "ORDER BY Sequencia"_s);
            obs.bindList({kFilial, f.produto});
            while (obs.next())
                observacoes << obs.textValue(0);
            const QString observacao = observacoes.join(u"\r\n"_s);
            // the density the laboratory measured on the paint (the catalogue's):
            // the components' own would leave out the water
            run(db_,
                u"INSERT INTO Formula (Filial, Formula, Cod_Clifor, Cod_Reduz, COR, DATACAD, CodResp, QtdTotal, "
                "Observacao, PrecoEspecial, Origem, CodMatizador, Amostra, Senha, Densidade) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'N', ?, ?, 0, 0, ?)"_s,
                {kFilial, codigo, f.cliente, f.produto, QString::fromUtf16(f.cor), cadastro, f.responsavel,
                 q4(total), observacao, QString::fromUtf16(f.origem),
                 f.matizador ? QVariant(f.matizador) : QVariant(), produto(f.produto).densidade});
            run(db_,
                u"INSERT INTO FormulaVersao (Filial, Formula, Versao, Data, Observacao) VALUES (?, ?, 1, ?, ?)"_s,
                {kFilial, codigo, cadastro, observacao});
            std::vector<std::pair<int, double>>& componentes = composicao_[codigo];
            for (size_t i = 0; i < f.componentes.size(); ++i) {
                const Componente& c = f.componentes[i];
                const QVariantList campos{kFilial, codigo, int(i + 1), c.produto, c.quantidade, pct[i]};
                run(db_,
                    u"INSERT INTO Formulai (Filial, Formula, OrdComp, Componente, QUANTIDADE, Percentual) "
                    "VALUES (?, ?, ?, ?, ?, ?)"_s,
                    campos);
                run(db_,
                    u"INSERT INTO FormulaiVersao (Filial, Formula, Versao, OrdComp, Componente, QUANTIDADE, "
                    "Percentual) VALUES (?, ?, 1, ?, ?, ?, ?)"_s,
                    campos);
                componentes.emplace_back(c.produto, pct[i]);
            }
            if (f.padrao) {
                padrao_[f.produto] = codigo;
                run(db_, u"UPDATE Estproma SET Formula = ? WHERE Filial = ? AND Cod_Reduz = ?"_s,
                    {codigo, kFilial, f.produto});
            }
        }
    }

    // Cost of one unit of a paint from its formula and the components' last cost.
    double custoUnitario(const QString& formula) const
    {
        double custo = 0;
        for (const auto& [componente, pct] : composicao_.at(formula))
            custo += pct / 100 * produto(componente).ultimoCusto;
        return q4(custo);
    }
    double precoVenda(const QString& formula) const { return q2(custoUnitario(formula) * 1.85); }

    // Quantity of one can, in the paint's stock unit.
    double porLata(int codigo, const QString& tamanho) const
    {
        const Produto& p = produto(codigo);
        return q4(litros(tamanho) * (p.unidade == u"KG"_s ? p.densidade : 1));
    }

    Item lataVendida(int codigo, const QString& tamanho, int latas, const QString& formula, int deposito = 1) const
    {
        Item it;
        it.produto = codigo;
        it.tamanho = tamanho;
        it.deposito = deposito;
        it.quantidade = q4(latas * porLata(codigo, tamanho));
        it.quantidade2 = latas;
        it.preco = precoVenda(formula);
        it.formula = formula;
        return it;
    }

    Documento& novo(int tipo, int clifor, QDate data, int historico, int natOper = 0,
                    const QString& complemento = {})
    {
        Documento d;
        d.tipo = tipo;
        d.clifor = clifor;
        d.data = data;
        d.historico = historico;
        d.natOper = natOper;
        d.complemento = complemento;
        d.lancamento = data;
        if (tipo == kInterna)
            d.sistema = u"E"_s;
        docs_.push_back(std::move(d));
        return docs_.back();
    }

    // One order per client a month; the lines and quantities turn with the month.
    void vendas(int m)
    {
        for (const Comprador& c : compradores()) {
            Documento& d = novo(kEmitida, c.cliente, dia(m, c.dia), Hist::Venda, 5101);
            for (size_t i = 0; i < c.cesta.size(); ++i) {
                const LinhaCesta& l = c.cesta[i];
                if ((int(i) + m) % 4 == 3)
                    continue;
                const QString tamanho = QString::fromUtf16(l.tamanho);
                const QString formula = QString::fromUtf16(l.formula);
                int latas = l.latas + std::max(1, l.latas / 8) * ((m * 7 + int(i) * 3 + c.cliente) % 5);
                int deposito = 1;
                // the home centre's gallons leave the dispatch warehouse once stock is sent there
                if (l.produto == 2001 && tamanho == u"3,6L"_s && m >= 3) {
                    deposito = 2;
                    latas = 10;
                }
                d.itens.push_back(lataVendida(l.produto, tamanho, latas, formula, deposito));
            }
        }
    }

    // The month-end count's adjustment of one product.
    void ajusteInventario(int m, int historico, int codigo, double quantidade)
    {
        Documento& ajuste = novo(kInterna, kPropria, dia(m, 28), historico);
        ajuste.observacao = u"INVENTARIO MENSAL"_s;
        Item it;
        it.produto = codigo;
        it.quantidade = quantidade;
        ajuste.itens.push_back(it);
    }

    void especiais(int m)
    {
        switch (m) {
        case 1: {
            // a free sample of pigment: quantity without value
            Documento& amostra = novo(kRecebida, 501, dia(m, 15), Hist::AmostraGratis, 1911);
            amostra.numero = 55290;
            Item it;
            it.produto = 1104;
            it.quantidade = 1;
            it.lote = u"AM-%1"_s.arg(mes_[m].toString(u"yyMM"_s));
            amostra.itens.push_back(it);
            // kaolin returned to the supplier
            Documento& devolucao = novo(kEmitida, 501, dia(m, 16), Hist::DevolucaoCompra, 5201);
            Item caulim;
            caulim.produto = 1105;
            caulim.quantidade = 25;
            caulim.preco = q2(produto(1105).ultimoCusto * kFatorPreco[0]);
            devolucao.itens.push_back(caulim);
            devolucao.observacao = u"SACARIA DANIFICADA"_s;
            break;
        }
        case 2: {
            // two gallons come back from the painter, valued at the running average
            Documento& devolucao = novo(kRecebida, 4, dia(m, 19), Hist::DevolucaoVenda, 1201);
            devolucao.numero = 315;
            devolucao.itens.push_back(lataVendida(2002, u"3,6L"_s, 2, u"ST 102"_s));
            // gallons of white sent to the dispatch warehouse
            Item saida = lataVendida(2001, u"3,6L"_s, 30, u"ST 101"_s);
            saida.preco = 0;
            Documento& transfSaida = novo(kInterna, kPropria, dia(m, 20), Hist::TransferenciaSaida);
            transfSaida.observacao = u"TRANSFERENCIA PARA EXPEDICAO"_s;
            transfSaida.itens.push_back(saida);
            saida.deposito = 2;
            Documento& transfEntrada = novo(kInterna, kPropria, dia(m, 20), Hist::TransferenciaEntrada);
            transfEntrada.observacao = u"TRANSFERENCIA PARA EXPEDICAO"_s;
            transfEntrada.itens.push_back(saida);
            break;
        }
        case 3: {
            // billed now, delivered later: the invoice does not move the physical stock
            Documento& futura = novo(kEmitida, 1, dia(m, 22), Hist::EntregaFutura, 5922);
            Item it = lataVendida(2001, u"18L"_s, 4, u"ST 101"_s);
            it.naoAtualiza = true;
            futura.itens.push_back(it);
            // month-end count: solvent lost to evaporation, a bag of filler found
            ajusteInventario(m, Hist::AjusteSaida, 1202, 12.5);
            ajusteInventario(m, Hist::AjusteEntrada, 1102, 25);
            break;
        }
        case 4: {
            // a price complement moves neither quantity nor value
            Documento& complemento = novo(kRecebida, 500, dia(m, 8), Hist::Complemento, 1101, u"C"_s);
            complemento.numero = 18490;
            Item it;
            it.produto = 1001;
            it.quantidade = 200;
            it.preco = 0.18;
            complemento.itens.push_back(it);
            // varnish left with the dealer on consignment
            Documento& consignacao = novo(kEmitida, 3, dia(m, 11), Hist::Consignacao, 5917);
            consignacao.itens.push_back(lataVendida(2007, u"0,9L"_s, 12, u"ST 107"_s));
            break;
        }
        default:
            break;
        }
    }

    static bool saida(int historico) { return historico > 50; }

    // Production on the 6th of each month: enough cans of every paint and
    // size to cover the month's exits from the main warehouse and keep a
    // batch in stock, with the packaging they go in.
    void producao()
    {
        std::map<std::pair<int, QString>, int> estoque;  // cans on hand
        for (int m = 0; m < kMeses; ++m) {
            std::map<std::pair<int, QString>, int> saidas;
            for (const Documento& d : docs_)
                if (mesDe(d.data) == m && saida(d.historico))
                    for (const Item& it : d.itens)
                        if (it.deposito == 1 && produto(it.produto).nivel1 == u"02"_s)
                            saidas[{it.produto, it.tamanho}] += int(std::lround(it.quantidade2));
            Documento& entrada = novo(kInterna, kPropria, dia(m, 6), Hist::EntradaProducao);
            entrada.observacao = u"ENTRADA DE PRODUCAO"_s;
            std::map<int, double> consumo;
            for (const auto& [chave, latas] : saidas) {
                const auto& [codigo, tamanho] = chave;
                const int lote = loteLatas(tamanho);
                const int faz = int(arredondaAcima(std::max(0, latas + lote - estoque[chave]), lote));
                estoque[chave] += faz - latas;
                if (faz == 0)
                    continue;
                const QString formula = padrao_.at(codigo);
                Item it;
                it.produto = codigo;
                it.tamanho = tamanho;
                it.quantidade = q4(faz * porLata(codigo, tamanho));
                it.quantidade2 = faz;
                it.preco = custoUnitario(formula);
                it.custo = q2(it.quantidade * it.preco);
                it.formula = formula;
                entrada.itens.push_back(it);
                consumo[embalagem(codigo, tamanho)] += faz;
            }
            Documento consumoDoc;
            consumoDoc.tipo = kInterna;
            consumoDoc.clifor = kPropria;
            consumoDoc.data = consumoDoc.lancamento = dia(m, 6);
            consumoDoc.historico = Hist::ConsumoEmbalagem;
            consumoDoc.sistema = u"E"_s;
            consumoDoc.observacao = u"CONSUMO DE EMBALAGEM"_s;
            for (const auto& [codigo, qtd] : consumo) {
                Item it;
                it.produto = codigo;
                it.quantidade = qtd;
                consumoDoc.itens.push_back(it);
            }
            consumoEmbalagem_[m] = consumo;
            docs_.push_back(std::move(consumoDoc));
        }
    }

    // What the write-off takes for one sold line: the sold quantity times each
    // component's share, in the formula's order.
    std::vector<std::pair<int, double>> explode(const Item& vendido) const
    {
        std::vector<std::pair<int, double>> r;
        for (const auto& [componente, pct] : composicao_.at(vendido.formula))
            r.emplace_back(componente, vendido.quantidade * pct / 100);
        return r;
    }

    static bool explodida(const Documento& d) { return d.tipo == kEmitida && d.historico == Hist::Venda; }

    // Purchases at the start of each month: the raw materials the month's
    // sales will take when written off (the last month's too), plus what the
    // other exits take and a lot in reserve; packaging likewise.
    void compras()
    {
        std::map<int, double> estoque;
        for (int m = 0; m < kMeses; ++m) {
            std::map<int, double> precisa = consumoEmbalagem_[m];
            for (const Documento& d : docs_) {
                if (mesDe(d.data) != m)
                    continue;
                for (const Item& it : d.itens) {
                    if (explodida(d) && !it.formula.isEmpty())
                        for (const auto& [componente, qtd] : explode(it))
                            precisa[componente] += qtd;
                    else if (saida(d.historico) && produto(it.produto).nivel1 == u"01"_s)
                        precisa[it.produto] += it.quantidade;
                }
            }
            std::map<int, Documento> porFornecedor;
            for (const auto& [codigo, qtd] : precisa) {
                const Produto& p = produto(codigo);
                const bool embalagemItem = p.nivel1 == u"03"_s;
                const double lote = embalagemItem ? 50 : loteCompra(codigo, p.nivel2);
                const double compra = arredondaAcima(std::max(0.0, qtd + lote - estoque[codigo]), lote);
                estoque[codigo] += compra - qtd;
                if (compra == 0)
                    continue;
                const int fornecedor = embalagemItem ? 502 : p.nivel2 == u"002"_s ? 501 : 500;
                Documento& d = porFornecedor[fornecedor];
                if (d.itens.empty()) {
                    d.tipo = kRecebida;
                    d.clifor = fornecedor;
                    d.data = d.lancamento = dia(m, fornecedor == 500 ? 2 : fornecedor == 501 ? 3 : 4);
                    d.historico = Hist::Compra;
                    d.natOper = 1101;
                    d.numero = (fornecedor == 500 ? 18400 : fornecedor == 501 ? 55200 : 9100) + 10 * m;
                }
                Item it;
                it.produto = codigo;
                it.quantidade = compra;
                it.preco = q2(p.ultimoCusto * kFatorPreco[m] * (1 + ((codigo % 5) - 2) * 0.01));
                it.custo = q2(compra * it.preco);
                if (!embalagemItem) {
                    it.lote = u"%1-%2"_s.arg(mes_[m].toString(u"yyMM"_s)).arg(codigo);
                    it.validade = d.data.addYears(1);
                }
                // the clerk typed the titanium dioxide's cost with its freight
                if (m == 1 && codigo == 1101)
                    it.custoInf = q2(it.custo * 1.035);
                d.itens.push_back(it);
            }
            for (auto& [fornecedor, d] : porFornecedor)
                docs_.push_back(std::move(d));
        }
    }

    // Issued invoices and internal documents get their numbers in date order.
    void numera()
    {
        std::erase_if(docs_, [](const Documento& d) { return d.itens.empty(); });
        std::stable_sort(docs_.begin(), docs_.end(),
                         [](const Documento& a, const Documento& b) { return a.data < b.data; });
        int emitida = kPrimeiraNotaEmitida, interna = kPrimeiroDocInterno;
        for (Documento& d : docs_) {
            if (d.numero)
                continue;
            d.numero = d.tipo == kEmitida ? emitida++ : interna++;
        }
    }

    // The states of the partners, which the invoices carry.
    QHash<int, QString> estados()
    {
        QHash<int, QString> e;
        Statement st = db_.prepare(u"SELECT Cod_Clifor, ESTADO FROM Clifor WHERE Filial = ?"_s);
        st.bindInt(1, kFilial);
        while (st.next())
            e.insert(int(st.intValue(0)), st.textValue(1));
        return e;
    }

    void grava()
    {
        GravadorDocumentos gravador(
            db_,
            {u"Nat_Oper"_s, u"Est_Hist"_s, u"SISTEMA"_s, u"DT_LANCAM"_s, u"DT_EMISSAO"_s, u"VLR_NOTA"_s,
             u"Vlr_TotProd"_s, u"COMPLNATOP"_s, u"SERIE"_s, u"ESTADO"_s, u"OBSERVACAO"_s},
            {u"Parametro"_s, u"Cod_Reduz"_s, u"Cod_Deposi"_s, u"DESCR_PROD"_s, u"TAMANHO"_s, u"QUANTIDADE"_s,
             u"PRECO_UNIT"_s, u"VLR_CUSTO"_s, u"DT_LANCAM"_s, u"CUSTO_INF"_s, u"Unid_Pad"_s, u"FORMULA"_s,
             u"Quantidade2"_s, u"Nat_Oper"_s, u"ComplNatOp"_s, u"Dt_Validade"_s, u"Lote"_s});
        const QHash<int, QString> estado = estados();
        auto nulo = [](double v) { return v != 0 ? QVariant(v) : QVariant(); };
        for (const Documento& d : docs_) {
            double total = 0;
            for (const Item& it : d.itens)
                total += q2(it.quantidade * it.preco);
            const bool nota = d.tipo != kInterna;
            const QVariant natOper = d.natOper ? QVariant(d.natOper) : QVariant();
            DocumentoEstoque doc;
            doc.chave = {kFilial, d.numero, d.tipo, d.clifor, d.data.toString(Qt::ISODate)};
            doc.cabecalho = {natOper, d.historico, d.sistema, d.lancamento, d.data,
                             nota ? QVariant(q2(total)) : QVariant(), nota ? QVariant(q2(total)) : QVariant(),
                             d.complemento, nota ? u"1"_s : QString(),
                             nota ? QVariant(estado.value(d.clifor)) : QVariant(), d.observacao};
            for (const Item& it : d.itens) {
                const Produto& p = produto(it.produto);
                ItemDocumento item{{it.parametro ? QVariant(it.parametro) : QVariant(), it.produto, it.deposito,
                                    p.nome, it.tamanho, it.quantidade, nulo(it.preco), nulo(it.custo),
                                    d.lancamento, nulo(it.custoInf), p.unidade, it.formula, nulo(it.quantidade2),
                                    natOper, d.complemento, it.validade, it.lote},
                                   {}};
                if (it.naoAtualiza)
                    item.dependentes.push_back(
                        {u"NOTAI3"_s, {{u"Ncm"_s, p.clasFisc}, {u"NaoAtualizaSaldos"_s, u"S"_s}}});
                doc.itens.push_back(std::move(item));
                if (d.historico == Hist::EntradaProducao)
                    run(db_, u"UPDATE Formula SET DtaUltProd = ? WHERE Filial = ? AND Formula = ?"_s,
                        {d.data, kFilial, it.formula});
            }
            gravador.grava(doc);
        }
    }

    // Month after month: the month's sales are written off, every balance key
    // moved so far gets its row (the
    // physical balance creates it), the month is valued at average cost, and
    // the physical balance is recomputed last, so the rows hold what the
    // product register shows; the last month also copies it into Qtd_Fis.
    void rolaSaldos()
    {
        const QVariant fat =
            db_.prepare(u"SELECT FATMODNF FROM Filial WHERE Filial = ?"_s).bindInt(1, kFilial).scalar();
        const ContextoEstoque contexto{kFilial, fat.toInt()};
        MensagensDoMotor mensagens;
        MessageServiceScope escopo(mensagens);
        std::set<ChaveSaldo> chaves;
        for (int m = 0; m < kMeses; ++m) {
            for (const Documento& d : docs_)
                if (mesDe(d.data) == m)
                    for (const Item& it : d.itens)
                        chaves.insert({it.produto, it.tamanho, it.deposito});
            const Mes mes = *Mes::daData(mes_[m]);
            const bool ultimo = m == kMeses - 1;
            // Every month but the last is written off as "Baixa Estoque
            // Materia Prima" does it; the last one is left for the user.
            if (!ultimo)
                BaixaEstoqueMateriaPrima(store_, contexto,
                                         {mes_[m], fimDoMes(m), Hist::Venda, Hist::BaixaMateriaPrima, kPropria});
            for (const auto& [codigo, tamanho, deposito] : chaves)
                AtualizaSaldoFisico(store_, contexto, mes, codigo, tamanho, deposito, false);
            AtualizaCustoMedio(store_, contexto, mes, 0, 99999999);
            for (const auto& [codigo, tamanho, deposito] : chaves)
                AtualizaSaldoFisico(store_, contexto, mes, codigo, tamanho, deposito,
                                    ultimo && tamanho.isEmpty() && deposito == 1);
            if (!mensagens.textos.isEmpty())
                throw DbError(u"Estoque da demonstracao (%1): %2"_s.arg(mes.anoMes(), mensagens.textos.join(u"; "_s)));
        }
    }

    Store& store_;
    Database& db_;
    QDate mes_[kMeses];
    QHash<int, Produto> produtos_;
    std::map<QString, std::vector<std::pair<int, double>>> composicao_;  // formula: component, share
    std::map<int, QString> padrao_;                                       // paint: its own formula
    std::map<int, double> consumoEmbalagem_[kMeses];
    std::deque<Documento> docs_;  // references stay valid while documents are added
};

}  // namespace

void preencheEstoqueDemo(Store& store, QDate hoje)
{
    // one transaction (a savepoint inside the caller's): nothing is left half-written
    Transaction tx(store.db());
    GeradorEstoque(store, hoje).gera();
    tx.commit();
}

}  // namespace pcp
