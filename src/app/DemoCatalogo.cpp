#include "DemoCatalogo.h"

#include "L_Digito.h"
#include "Store.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

void run(Database& db, const QString& sql, const QVariantList& params = {})
{
    db.prepare(sql).bindList(params).run();
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
};

// Levels: 01 raw material, 02 finished product, 03 packaging.
const Item kItens[] = {
    {1001, u"01", u"001", u"001", u"RESINA ALQUIDICA MEDIA EM OLEO 60%", u"KG", 0.98, 2.35, 11.80, u"39075000"},
    {1002, u"01", u"001", u"001", u"RESINA ACRILICA ESTIRENADA 50%", u"KG", 1.02, 1.95, 9.60, u"39069019"},
    {1003, u"01", u"001", u"002", u"EMULSAO VINIL ACRILICA 50%", u"KG", 1.05, 1.40, 6.95, u"39059190"},
    {1101, u"01", u"002", u"003", u"DIOXIDO DE TITANIO RUTILO", u"KG", 4.10, 3.80, 18.90, u"32061119"},
    {1102, u"01", u"002", u"004", u"CARBONATO DE CALCIO NATURAL", u"KG", 2.70, 0.12, 0.62, u"25171000"},
    {1103, u"01", u"002", u"003", u"OXIDO DE FERRO VERMELHO", u"KG", 5.00, 1.60, 7.90, u"28211011"},
    {1104, u"01", u"002", u"003", u"PIGMENTO AZUL FTALOCIANINA", u"KG", 1.60, 14.50, 71.50, u"32041600"},
    {1105, u"01", u"002", u"004", u"CAULIM CALCINADO", u"KG", 2.60, 0.45, 2.25, u"25070010"},
    {1201, u"01", u"003", u"005", u"AGUARRAS MINERAL", u"KG", 0.78, 0.95, 4.70, u"27101230"},
    {1202, u"01", u"003", u"005", u"XILOL", u"KG", 0.87, 1.10, 5.45, u"29024400"},
    {1203, u"01", u"003", u"005", u"ACETATO DE BUTILA", u"KG", 0.88, 1.45, 7.20, u"29153300"},
    {1301, u"01", u"004", u"006", u"DISPERSANTE POLIACRILATO DE SODIO", u"KG", 1.10, 4.20, 20.80, u"34024200"},
    {1302, u"01", u"004", u"006", u"ANTIESPUMANTE SILICONICO", u"KG", 1.00, 6.80, 33.70, u"38249941"},
    {1303, u"01", u"004", u"006", u"SECANTE OCTOATO DE COBALTO 12%", u"KG", 1.05, 9.50, 47.00, u"38151900"},
    {1304, u"01", u"004", u"006", u"ESPESSANTE HIDROXIETILCELULOSE", u"KG", 1.20, 7.30, 36.10, u"39123900"},
    {1305, u"01", u"004", u"006", u"BIOCIDA ISOTIAZOLINONA", u"KG", 1.02, 5.10, 25.20, u"38089419"},
    {3001, u"03", u"020", u"020", u"LATA METALICA 18 LITROS", u"UN", 0, 1.85, 9.10, u"73102110"},
    {3002, u"03", u"020", u"020", u"GALAO METALICO 3,6 LITROS", u"UN", 0, 0.62, 3.05, u"73102110"},
    {3003, u"03", u"020", u"020", u"LATA METALICA 900 ML", u"UN", 0, 0.31, 1.55, u"73102110"},
    {3004, u"03", u"021", u"021", u"BALDE PLASTICO 20 LITROS", u"UN", 0, 1.20, 5.95, u"39231090"},
    {2001, u"02", u"010", u"010", u"TINTA LATEX PVA BRANCO NEVE", u"LT", 1.38, 1.10, 5.40, u"32091010"},
    {2002, u"02", u"010", u"010", u"TINTA ACRILICA FOSCA PREMIUM BRANCO", u"LT", 1.32, 1.65, 8.15, u"32091010"},
    {2003, u"02", u"010", u"010", u"TINTA ACRILICA SEMIBRILHO PALHA", u"LT", 1.30, -1, 8.60, u"32091010"},
    {2004, u"02", u"011", u"011", u"ESMALTE SINTETICO BRILHANTE AZUL FRANCA", u"LT", 1.05, 2.40, 11.90, u"32081010"},
    {2005, u"02", u"011", u"011", u"ESMALTE SINTETICO BRILHANTE VERMELHO", u"LT", 1.08, 2.55, 12.60, u"32081010"},
    {2006, u"02", u"011", u"011", u"ESMALTE SINTETICO ACETINADO PRETO", u"LT", 1.04, -1, 11.40, u"32081010"},
    {2007, u"02", u"012", u"012", u"VERNIZ MARITIMO BRILHANTE", u"LT", 0.92, 2.10, 10.40, u"32081020"},
    {2008, u"02", u"013", u"013", u"MASSA CORRIDA PVA", u"KG", 1.70, 0.48, 2.35, u"32149000"},
    {2009, u"02", u"013", u"013", u"FUNDO PREPARADOR DE PAREDES", u"LT", 1.00, 0.85, 4.20, u"32091090"},
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

}  // namespace

void preencheCatalogoDemo(Store& store)
{
    Database& db = store.db();
    const QDate hoje = QDate::currentDate();
    for (const Nivel& n : kNiveis)
        for (int filial : {1, 2})
            run(db, u"INSERT INTO \"Estniv%1\" (Filial, Nivel%1, Descric%1) VALUES (?1, ?2, ?3)"_s.arg(n.nivel),
                {filial, QString::fromUtf16(n.codigo), QString::fromUtf16(n.descricao)});
    for (int i = 0; i < 3; ++i)
        run(db, u"INSERT INTO Tamanhos (Codigo, Tamanho, Descricao) VALUES (?1, ?2, ?3)"_s,
            {i + 1, QString::fromUtf16(kTamanhos[i]), QString::fromUtf16(kNomesTamanhos[i])});
    for (const Item& it : kItens) {
        const bool acabado = QStringView(it.nivel1) == u"02";
        run(db,
            u"INSERT INTO Estproma (Filial, Cod_Reduz, Nivel1, Nivel2, Nivel3, Nivel4, Nivel5, Nivel6, NOME1, UNID_PAD, "
            u"CONVERSAO, CLAS_FISC, SIT_TRIBUT, SITUACAO, GRADE, Densidade, LISTA6, ULTIMOCUST, CustoMedio, "
            u"TRANSF_ICM, DataCadastro, Cod_For1, QTD_EMB) "
            u"VALUES (1, ?1, ?2, ?3, '0001', ?4, '000001', ?5, ?6, ?7, 1, ?8, '0', '1', ?9, ?10, ?11, ?12, ?12, 100, ?13, ?14, 1)"_s,
            {it.codigo, QString::fromUtf16(it.nivel1), QString::fromUtf16(it.nivel2), QString::fromUtf16(it.nivel4),
             u"%1"_s.arg(it.codigo, 6, 10, QChar(u'0')), QString::fromUtf16(it.nome), QString::fromUtf16(it.unidade),
             QString::fromUtf16(it.ncm), acabado ? u"1"_s : u"0"_s, it.densidade > 0 ? QVariant(it.densidade) : QVariant(),
             it.lista6 >= 0 ? QVariant(it.lista6) : QVariant(), it.ultimoCusto, hoje,
             QStringView(it.nivel1) == u"01" ? QVariant(500) : QVariant()});
        if (acabado)
            for (const char16_t* t : kTamanhos)
                run(db, u"INSERT INTO Tamanho (Filial, Cod_Reduz, TAMANHO) VALUES (1, ?1, ?2)"_s,
                    {it.codigo, QString::fromUtf16(t)});
    }
    run(db, u"INSERT INTO ObseProd (Filial, Cod_Reduz, Sequencia, Observacao) VALUES "
            u"(1, 2001, 1, 'DILUICAO: ATE 20% COM AGUA LIMPA'), (1, 2001, 2, 'SECAGEM AO TOQUE: 30 MINUTOS'), "
            u"(1, 2004, 1, 'DILUICAO: 10% COM AGUARRAS')"_s);
    // packaging and the packaging each paint goes in
    run(db, u"INSERT INTO EMBALAGE (Codigo, Descricao, Peso_Liq, Peso_Embal) VALUES "
            u"(1, 'LATA 18 LITROS', 18, 1.2), (2, 'GALAO 3,6 LITROS', 3.6, 0.35), (3, 'LATA 900 ML', 0.9, 0.12), "
            u"(4, 'BALDE PLASTICO 20 LITROS', 20, 0.9)"_s);
    run(db, u"INSERT INTO EmbProd (Cod_Reduz, Codigo, Peso_Liq, Peso_Embal) VALUES "
            u"(2001, 1, 24.8, 1.2), (2001, 2, 4.97, 0.35), (2002, 1, 23.8, 1.2), (2004, 3, 0.95, 0.12), "
            u"(2008, 4, 25, 0.9)"_s);
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
            u"ENDERECO, NUMERO, COD_CEPEND, Cod_Pais, DATA_CAD) VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
            u"'RUA DAS INDUSTRIAS', ?10, '01310100', '1058', ?11)"_s,
            {p.codigo, QString::fromUtf16(p.sistema), p.tipo, QString::fromUtf16(p.nome), QString::fromUtf16(p.fantasia),
             documento, QString::fromUtf16(p.cidade), QString::fromUtf16(p.estado), QString::fromUtf16(p.bairro),
             100 + p.codigo, hoje});
    }
}

}  // namespace pcp
