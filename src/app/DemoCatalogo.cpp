#include "DemoCatalogo.h"

#include "CatalogoTamanhos.h"
#include "DbError.h"
#include "EmbalagemTables.h"
#include "L_Digito.h"
#include "Produto.h"
#include "Store.h"
#include "TableCursor.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

void run(Database& db, const QString& sql, const QVariantList& params = {})
{
    db.prepare(sql).bindList(params).run();
}

// Writes one row as its register saves it: the values, then the register's
// own check (empty when the row may be saved), then the post.
void grava(TableCursor& t, const QVariantMap& valores, const std::function<QString(const TableCursor&)>& problema = {})
{
    t.insert();
    for (auto it = valores.begin(); it != valores.end(); ++it)
        t.setValue(it.key(), it.value());
    if (const QString p = problema ? problema(t) : QString(); !p.isEmpty())
        throw DbError(u"Demonstracao: "_s + p, DbErrorKind::Refused);
    t.post();
}

struct Item {
    int codigo;
    const char16_t* nivel1;
    const char16_t* nivel2;
    const char16_t* nivel4;  // family
    const char16_t* nome;
    const char16_t* unidade;
    double densidade;
    double lista6;      // dollar cost; negative: blank (waits for "Grava Custo na Lista 6")
    double ultimoCusto;
    const char16_t* ncm;
    const char16_t* tipoItem;  // TipoItemSped
};

// Levels: 01 raw material, 02 finished product, 03 packaging; the fiscal item
// type follows ("01" Matéria-Prima, "04" Produto Acabado, "02" Embalagem).
const Item kItens[] = {
    {1001, u"01", u"001", u"001", u"RESINA ALQUIDICA MEDIA EM OLEO 60%", u"KG", 0.98, 2.35, 11.80, u"39075000", u"01"},
    {1002, u"01", u"001", u"001", u"RESINA ACRILICA ESTIRENADA 50%", u"KG", 1.02, 1.95, 9.60, u"39069019", u"01"},
    {1003, u"01", u"001", u"002", u"EMULSAO VINIL ACRILICA 50%", u"KG", 1.05, 1.40, 6.95, u"39059190", u"01"},
    {1101, u"01", u"002", u"003", u"DIOXIDO DE TITANIO RUTILO", u"KG", 4.10, 3.80, 18.90, u"32061119", u"01"},
    {1102, u"01", u"002", u"004", u"CARBONATO DE CALCIO NATURAL", u"KG", 2.70, 0.12, 0.62, u"25171000", u"01"},
    {1103, u"01", u"002", u"003", u"OXIDO DE FERRO VERMELHO", u"KG", 5.00, 1.60, 7.90, u"28211011", u"01"},
    {1104, u"01", u"002", u"003", u"PIGMENTO AZUL FTALOCIANINA", u"KG", 1.60, 14.50, 71.50, u"32041600", u"01"},
    {1105, u"01", u"002", u"004", u"CAULIM CALCINADO", u"KG", 2.60, 0.45, 2.25, u"25070010", u"01"},
    {1201, u"01", u"003", u"005", u"AGUARRAS MINERAL", u"KG", 0.78, 0.95, 4.70, u"27101230", u"01"},
    {1202, u"01", u"003", u"005", u"XILOL", u"KG", 0.87, 1.10, 5.45, u"29024400", u"01"},
    {1203, u"01", u"003", u"005", u"ACETATO DE BUTILA", u"KG", 0.88, 1.45, 7.20, u"29153300", u"01"},
    {1301, u"01", u"004", u"006", u"DISPERSANTE POLIACRILATO DE SODIO", u"KG", 1.10, 4.20, 20.80, u"34024200", u"01"},
    {1302, u"01", u"004", u"006", u"ANTIESPUMANTE SILICONICO", u"KG", 1.00, 6.80, 33.70, u"38249941", u"01"},
    {1303, u"01", u"004", u"006", u"SECANTE OCTOATO DE COBALTO 12%", u"KG", 1.05, 9.50, 47.00, u"38151900", u"01"},
    {1304, u"01", u"004", u"006", u"ESPESSANTE HIDROXIETILCELULOSE", u"KG", 1.20, 7.30, 36.10, u"39123900", u"01"},
    {1305, u"01", u"004", u"006", u"BIOCIDA ISOTIAZOLINONA", u"KG", 1.02, 5.10, 25.20, u"38089419", u"01"},
    {3001, u"03", u"020", u"020", u"LATA METALICA 18 LITROS", u"UN", 0, 1.85, 9.10, u"73102110", u"02"},
    {3002, u"03", u"020", u"020", u"GALAO METALICO 3,6 LITROS", u"UN", 0, 0.62, 3.05, u"73102110", u"02"},
    {3003, u"03", u"020", u"020", u"LATA METALICA 900 ML", u"UN", 0, 0.31, 1.55, u"73102110", u"02"},
    {3004, u"03", u"021", u"021", u"BALDE PLASTICO 20 LITROS", u"UN", 0, 1.20, 5.95, u"39231090", u"02"},
    {2001, u"02", u"010", u"010", u"TINTA LATEX PVA BRANCO NEVE", u"LT", 1.38, 1.10, 5.40, u"32091010", u"04"},
    {2002, u"02", u"010", u"010", u"TINTA ACRILICA FOSCA PREMIUM BRANCO", u"LT", 1.32, 1.65, 8.15, u"32091010", u"04"},
    {2003, u"02", u"010", u"010", u"TINTA ACRILICA SEMIBRILHO PALHA", u"LT", 1.30, -1, 8.60, u"32091010", u"04"},
    {2004, u"02", u"011", u"011", u"ESMALTE SINTETICO BRILHANTE AZUL FRANCA", u"LT", 1.05, 2.40, 11.90, u"32081010", u"04"},
    {2005, u"02", u"011", u"011", u"ESMALTE SINTETICO BRILHANTE VERMELHO", u"LT", 1.08, 2.55, 12.60, u"32081010", u"04"},
    {2006, u"02", u"011", u"011", u"ESMALTE SINTETICO ACETINADO PRETO", u"LT", 1.04, -1, 11.40, u"32081010", u"04"},
    {2007, u"02", u"012", u"012", u"VERNIZ MARITIMO BRILHANTE", u"LT", 0.92, 2.10, 10.40, u"32081020", u"04"},
    {2008, u"02", u"013", u"013", u"MASSA CORRIDA PVA", u"KG", 1.70, 0.48, 2.35, u"32149000", u"04"},
    {2009, u"02", u"013", u"013", u"FUNDO PREPARADOR DE PAREDES", u"LT", 1.00, 0.85, 4.20, u"32091090", u"04"},
};

struct Nivel {
    int nivel;
    const char16_t* codigo;
    const char16_t* descricao;
};

const Nivel kNiveis[] = {
    {1, u"01", u"MATERIA PRIMA"},
    {1, u"02", u"PRODUTO ACABADO"},
    {1, u"03", u"EMBALAGEM"},
    {2, u"001", u"RESINAS"},
    {2, u"002", u"PIGMENTOS E CARGAS"},
    {2, u"003", u"SOLVENTES"},
    {2, u"004", u"ADITIVOS"},
    {2, u"010", u"TINTAS IMOBILIARIAS"},
    {2, u"011", u"ESMALTES SINTETICOS"},
    {2, u"012", u"VERNIZES"},
    {2, u"013", u"COMPLEMENTOS"},
    {2, u"020", u"EMBALAGENS METALICAS"},
    {2, u"021", u"EMBALAGENS PLASTICAS"},
    {3, u"0001", u"LINHA PADRAO"},
    {5, u"000001", u"GERAL"},
};

// Finished paints come in three sizes.
const char16_t* const kTamanhos[] = {u"18L", u"3,6L", u"0,9L"};
const char16_t* const kNomesTamanhos[] = {u"LATA 18 LITROS", u"GALAO 3,6 LITROS", u"QUARTO 0,9 LITRO"};

struct Parceiro {
    int codigo;
    const char16_t* sistema;  // "0" client, "1" supplier
    int tipo;                 // code range: 1 clients, 3 suppliers
    const char16_t* nome;
    const char16_t* fantasia;
    const char16_t* base;     // 12 digits of a CNPJ or 9 of a CPF
    const char16_t* cidade;
    const char16_t* estado;
    const char16_t* bairro;
};

const Parceiro kParceiros[] = {
    {1, u"0", 1, u"CONSTRUTORA HORIZONTE LTDA", u"HORIZONTE", u"452781190001", u"SAO PAULO", u"SP", u"MOOCA"},
    {2, u"0", 1, u"HOME CENTER PAULISTA S.A.", u"HOME PAULISTA", u"083341550001", u"CAMPINAS", u"SP", u"CAMBUI"},
    {3, u"0", 1, u"DEPOSITO DE TINTAS BOA COR LTDA", u"BOA COR", u"671209880001", u"SANTOS", u"SP", u"GONZAGA"},
    {4, u"0", 1, u"JOAO CARLOS PEREIRA", u"JOAO PINTOR", u"529982247", u"GUARULHOS", u"SP", u"CENTRO"},
    {500, u"1", 3, u"QUIMICA INDUSTRIAL ALVORADA LTDA", u"ALVORADA", u"114445550001", u"SAO BERNARDO DO CAMPO", u"SP", u"RUDGE RAMOS"},
    {501, u"1", 3, u"PIGMENTOS DO BRASIL S.A.", u"PIGBRASIL", u"305119720001", u"CAMACARI", u"BA", u"POLO"},
    {502, u"1", 3, u"EMBALAGENS METALURGICA SUL LTDA", u"METALSUL", u"781236450001", u"CAXIAS DO SUL", u"RS", u"DESVIO RIZZO"},
};

// A product as the register saves it: the defaults of a new product, the
// demo's values, the invariants of every save and the required fields.
void gravaProduto(TableCursor& produto, const Item& it, QDate hoje)
{
    produto.insert();
    iniciaProduto(produto, 1, it.codigo, hoje);
    const QVariantMap valores{
        {u"Nivel1"_s, QString::fromUtf16(it.nivel1)},
        {u"Nivel2"_s, QString::fromUtf16(it.nivel2)},
        {u"Nivel3"_s, u"0001"_s},
        {u"Nivel4"_s, QString::fromUtf16(it.nivel4)},
        {u"NOME1"_s, QString::fromUtf16(it.nome)},
        {u"UNID_PAD"_s, QString::fromUtf16(it.unidade)},
        {u"CLAS_FISC"_s, QString::fromUtf16(it.ncm)},
        {u"TipoItemSped"_s, QString::fromUtf16(it.tipoItem)},
        {u"Densidade"_s, it.densidade > 0 ? QVariant(it.densidade) : QVariant()},
        {u"LISTA6"_s, it.lista6 >= 0 ? QVariant(it.lista6) : QVariant()},
        {u"ULTIMOCUST"_s, it.ultimoCusto},
        {u"CustoMedio"_s, it.ultimoCusto},
        {u"Cod_For1"_s, QStringView(it.nivel1) == u"01" ? QVariant(500) : QVariant()},
        {u"QTD_EMB"_s, 1},
    };
    for (auto v = valores.begin(); v != valores.end(); ++v)
        produto.setValue(v.key(), v.value());
    aplicaInvariantes(produto);
    if (const QString falta = campoObrigatorioAusente(produto); !falta.isEmpty())
        throw DbError(u"Demonstracao: "_s + falta, DbErrorKind::Refused);
    produto.post();
}

}  // namespace

void preencheCatalogoDemo(Store& empresa)
{
    // the cursors below live only in this call, inside the caller's ownership
    const std::shared_ptr<Store> store(&empresa, [](Store*) {});
    Database& db = store->db();
    const QDate hoje = QDate::currentDate();
    for (const Nivel& n : kNiveis)
        for (int filial : {1, 2})
            run(db, u"INSERT INTO \"Estniv%1\" (Filial, Nivel%1, Descric%1) VALUES (?, ?, ?)"_s.arg(n.nivel),
                {filial, QString::fromUtf16(n.codigo), QString::fromUtf16(n.descricao)});
    for (int i = 0; i < 3; ++i) {
        const QString tamanho = QString::fromUtf16(kTamanhos[i]);
        if (const std::optional<int> codigo = atualizaCatalogoTamanhos(db, tamanho))
            run(db, u"UPDATE Tamanhos SET Descricao = ? WHERE Codigo = ?"_s, {QString::fromUtf16(kNomesTamanhos[i]), *codigo});
    }
    // a paint's sizes first, so the product's save marks it as sized (GRADE "1")
    TableCursor tamanhos(store, u"Tamanho"_s);
    TableCursor produtos(store, u"Estproma"_s);
    tamanhos.open();
    produtos.open();
    for (const Item& it : kItens) {
        if (QStringView(it.nivel1) == u"02")
            for (const char16_t* t : kTamanhos)
                grava(tamanhos, {{u"Filial"_s, 1}, {u"Cod_Reduz"_s, it.codigo}, {u"TAMANHO"_s, QString::fromUtf16(t)}});
        gravaProduto(produtos, it, hoje);
    }
    run(db, u"INSERT INTO ObseProd (Filial, Cod_Reduz, Sequencia, Observacao) VALUES "
            u"(1, 2001, 1, 'DILUICAO: ATE 20% COM AGUA LIMPA'), (1, 2001, 2, 'SECAGEM AO TOQUE: 30 MINUTOS'), "
            u"(1, 2004, 1, 'DILUICAO: 10% COM AGUARRAS')"_s);
    // packaging and the packaging each paint goes in, checked as their registers check them
    struct Embalagem {
        const char16_t* descricao;
        double pesoLiq;
        double pesoEmbal;
    };
    const Embalagem embalagens[] = {{u"LATA 18 LITROS", 18, 1.2},
                                    {u"GALAO 3,6 LITROS", 3.6, 0.35},
                                    {u"LATA 900 ML", 0.9, 0.12},
                                    {u"BALDE PLASTICO 20 LITROS", 20, 0.9}};
    TableCursor embalage(store, u"EMBALAGE"_s);
    embalage.open();
    for (const Embalagem& e : embalagens)
        grava(embalage,
              {{u"Codigo"_s, nextPackagingCode(db).value_or(0)}, {u"Descricao"_s, QString::fromUtf16(e.descricao)},
               {u"Peso_Liq"_s, e.pesoLiq}, {u"Peso_Embal"_s, e.pesoEmbal}},
              packagingWeightsProblem);
    struct EmbalagemProduto {
        int produto;
        int embalagem;
        double pesoLiq;
        double pesoEmbal;
    };
    const EmbalagemProduto porProduto[] = {
        {2001, 1, 24.8, 1.2}, {2001, 2, 4.97, 0.35}, {2002, 1, 23.8, 1.2}, {2004, 3, 0.95, 0.12}, {2008, 4, 25, 0.9}};
    TableCursor embProd(store, u"EmbProd"_s);
    embProd.open();
    for (const EmbalagemProduto& e : porProduto) {
        if (productHasPackaging(db, e.produto, e.embalagem))
            continue;
        grava(embProd,
              {{u"Cod_Reduz"_s, e.produto}, {u"Codigo"_s, e.embalagem}, {u"Peso_Liq"_s, e.pesoLiq},
               {u"Peso_Embal"_s, e.pesoEmbal}},
              packagingWeightsProblem);
    }
    run(db, u"INSERT INTO Matizador (Codigo, Nome) VALUES (1, 'MATIZADORA AUTOMATICA 16 CORANTES'), "
            u"(2, 'MATIZADORA MANUAL 12 CORANTES')"_s);
    run(db, u"INSERT INTO Resptec (Codigo, Nome, Qualificacao, Fone1) VALUES "
            u"(1, 'ANA PAULA SOUZA', 'Resp.Técnico', '1133221100'), "
            u"(2, 'MARCOS VINICIUS LIMA', 'Orçamentista', '1133221101')"_s);
    for (const Parceiro& p : kParceiros) {
        const QString base = QString::fromUtf16(p.base);
        const QString documento = base.size() == 12 ? completaCGC(base) : completaCPF(base);
        run(db,
            u"INSERT INTO Clifor (Filial, Cod_Clifor, Sistema, Tipo, NOME, FANTASIA, CGC, CIDADE, ESTADO, BAIRRO, "
            u"ENDERECO, NUMERO, COD_CEPEND, Cod_Pais, DATA_CAD) VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            u"'RUA DAS INDUSTRIAS', ?, '01310100', '1058', ?)"_s,
            {p.codigo, QString::fromUtf16(p.sistema), p.tipo, QString::fromUtf16(p.nome), QString::fromUtf16(p.fantasia),
             documento, QString::fromUtf16(p.cidade), QString::fromUtf16(p.estado), QString::fromUtf16(p.bairro),
             100 + p.codigo, hoje});
    }
}

}  // namespace pcp
