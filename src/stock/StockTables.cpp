#include "StockTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

struct Campo {
    const char16_t* nome;
    FieldType tipo;
    int tamanho;
};

// The stored layouts, field by field, in their order.
const Campo camposNotas[] = {
    {u"Filial", FieldType::SmallInt, 0},
    {u"Num_Nota", FieldType::Integer, 0},
    {u"Tipo_Nota", FieldType::SmallInt, 0},
    {u"Cod_Clifor", FieldType::Integer, 0},
    {u"DT_ENTRADA", FieldType::Date, 0},
    {u"Nat_Oper", FieldType::SmallInt, 0},
    {u"Est_Hist", FieldType::SmallInt, 0},
    {u"Ctb_Hist", FieldType::SmallInt, 0},
    {u"Nota_Final", FieldType::Integer, 0},
    {u"Cod_Vend1", FieldType::Integer, 0},
    {u"Cod_Vend2", FieldType::Integer, 0},
    {u"Cod_Vende2", FieldType::Integer, 0},
    {u"Tr_Codigo", FieldType::Integer, 0},
    {u"Cod_Banco", FieldType::Integer, 0},
    {u"Cod_Contab", FieldType::Integer, 0},
    {u"NotaCupom", FieldType::Integer, 0},
    {u"SISTEMA", FieldType::String, 1},
    {u"DT_LANCAM", FieldType::Date, 0},
    {u"DT_EMISSAO", FieldType::Date, 0},
    {u"VLR_NOTA", FieldType::Float, 0},
    {u"VLR_DESCON", FieldType::Float, 0},
    {u"VLR_ICMS", FieldType::Float, 0},
    {u"VLR_IPI", FieldType::Float, 0},
    {u"VLR_OUTICM", FieldType::Float, 0},
    {u"VLR_OUTIPI", FieldType::Float, 0},
    {u"VLR_CREIPI", FieldType::Float, 0},
    {u"BT_ICMS", FieldType::Float, 0},
    {u"BI_ICMS", FieldType::Float, 0},
    {u"BO_ICMS", FieldType::Float, 0},
    {u"BT_IPI", FieldType::Float, 0},
    {u"BI_IPI", FieldType::Float, 0},
    {u"BO_IPI", FieldType::Float, 0},
    {u"VLR_DOLAR", FieldType::Float, 0},
    {u"FRETE_NO", FieldType::Float, 0},
    {u"FRETE_CO", FieldType::Float, 0},
    {u"ICMS_FRETE", FieldType::Float, 0},
    {u"COMPLNATOP", FieldType::String, 1},
    {u"PERC_ICMS", FieldType::Float, 0},
    {u"SERIE", FieldType::String, 3},
    {u"OC_DOCLIE", FieldType::String, 100},
    {u"ESTADO", FieldType::String, 2},
    {u"PERC_BONIF", FieldType::Float, 0},
    {u"VLR_BONIFI", FieldType::Float, 0},
    {u"FRT_CIFFOB", FieldType::SmallInt, 0},
    {u"QT_VOLUME", FieldType::Float, 0},
    {u"ESPEC_VOLU", FieldType::String, 15},
    {u"MARCA", FieldType::String, 10},
    {u"NUMER_VOLU", FieldType::String, 15},
    {u"PESO_BRUT", FieldType::Float, 0},
    {u"PESO_LIQUI", FieldType::Float, 0},
    {u"BT_ISSQN", FieldType::Float, 0},
    {u"PERC_ISSQN", FieldType::Float, 0},
    {u"VLR_ISSQN", FieldType::Float, 0},
    {u"OBSERVACAO", FieldType::String, 50},
    {u"DESPES_TRI", FieldType::Float, 0},
    {u"DESPES_ISE", FieldType::Float, 0},
    {u"BT_SUBSTIT", FieldType::Float, 0},
    {u"VLR_ICMSUB", FieldType::Float, 0},
    {u"VLR_FRURAL", FieldType::Float, 0},
    {u"VLR_INSS", FieldType::Float, 0},
    {u"VLR_IRRF", FieldType::Float, 0},
    {u"Prazo", FieldType::String, 20},
    {u"Desc_Venc", FieldType::Float, 0},
    {u"Desp_Financ", FieldType::Float, 0},
    {u"Vct_Codigo", FieldType::SmallInt, 0},
    {u"Comis1_Dupli", FieldType::Float, 0},
    {u"Vlr_EntrDupli", FieldType::Float, 0},
    {u"Dt_EntrDupli", FieldType::Date, 0},
    {u"Dias_DescDupli", FieldType::SmallInt, 0},
    {u"Transf_Icms", FieldType::Float, 0},
    {u"TDoc_Cod", FieldType::Integer, 0},
    {u"TIPO_EDI", FieldType::String, 1},
    {u"PercReduBaseIcms", FieldType::Float, 0},
    {u"IpiSuspenso", FieldType::Boolean, 0},
    {u"Hora_Emissao", FieldType::String, 5},
    {u"RetornoCanhoto", FieldType::Boolean, 0},
    {u"Emissao_AE", FieldType::Boolean, 0},
    {u"CPF", FieldType::String, 11},
    {u"Resiscomex", FieldType::String, 12},
    {u"Cod_Moeda", FieldType::String, 3},
    {u"Despsiscom", FieldType::String, 11},
    {u"AnoEnt", FieldType::SmallInt, 0},
    {u"Vlr_MP135", FieldType::Float, 0},
    {u"Anulada", FieldType::Boolean, 0},
    {u"Loja", FieldType::SmallInt, 0},
    {u"Emitente", FieldType::String, 1},
    {u"VlrNotaDolar", FieldType::Float, 0},
    {u"Insc_Est", FieldType::String, 16},
    {u"Vlr_Seguro", FieldType::Float, 0},
    {u"Sintegra", FieldType::Boolean, 0},
    {u"Vlr_Vale", FieldType::Float, 0},
    {u"Vlr_Pis", FieldType::Float, 0},
    {u"Vlr_Cofins", FieldType::Float, 0},
    {u"Vlr_ContSocial", FieldType::Float, 0},
    {u"Bi_SGaucho", FieldType::Float, 0},
    {u"NSU", FieldType::Integer, 0},
    {u"APrazo", FieldType::Boolean, 0},
    {u"StatusCup", FieldType::String, 3},
    {u"PercIcmsSimples", FieldType::Float, 0},
    {u"ValorIcmsSimples", FieldType::Float, 0},
    {u"Placa", FieldType::String, 7},
    {u"UfPlaca", FieldType::String, 2},
    {u"Situacao", FieldType::String, 1},
    {u"Sequencial", FieldType::DateTime, 0},
    {u"ChaveAcesso", FieldType::String, 44},
    {u"Protocolo", FieldType::String, 20},
    {u"FormaPagto", FieldType::Integer, 0},
    {u"Desp_Aduaneira", FieldType::Float, 0},
    {u"Vlr_ImpImport", FieldType::Float, 0},
    {u"Vlr_TotProd", FieldType::Float, 0},
    {u"PercPis", FieldType::Float, 0},
    {u"PercCofins", FieldType::Float, 0},
};
const Campo camposNotai[] = {
    {u"Filial", FieldType::SmallInt, 0},
    {u"Num_Nota", FieldType::Integer, 0},
    {u"Tipo_Nota", FieldType::SmallInt, 0},
    {u"Cod_Clifor", FieldType::Integer, 0},
    {u"DT_ENTRADA", FieldType::Date, 0},
    {u"Num_Item", FieldType::SmallInt, 0},
    {u"Parametro", FieldType::SmallInt, 0},
    {u"Cod_Reduz", FieldType::Integer, 0},
    {u"Cod_Deposi", FieldType::Integer, 0},
    {u"Ord_Compra", FieldType::Integer, 0},
    {u"It_OrdComp", FieldType::SmallInt, 0},
    {u"Cod_Contab", FieldType::Integer, 0},
    {u"Car_Codigo", FieldType::SmallInt, 0},
    {u"ConsCodigo", FieldType::Integer, 0},
    {u"ConsPedido", FieldType::Integer, 0},
    {u"ConsItem", FieldType::SmallInt, 0},
    {u"Nota_Saida", FieldType::Integer, 0},
    {u"ANO_MES", FieldType::String, 6},
    {u"DESCR_PROD", FieldType::String, 45},
    {u"TAMANHO", FieldType::String, 4},
    {u"QUANTIDADE", FieldType::Float, 0},
    {u"PRECO_UNIT", FieldType::Float, 0},
    {u"BT_ICMS", FieldType::Float, 0},
    {u"BI_ICMS", FieldType::Float, 0},
    {u"BO_ICMS", FieldType::Float, 0},
    {u"BT_IPI", FieldType::Float, 0},
    {u"BI_IPI", FieldType::Float, 0},
    {u"BO_IPI", FieldType::Float, 0},
    {u"VLR_CUSTO", FieldType::Float, 0},
    {u"VLR_MEDIO", FieldType::Float, 0},
    {u"CTB_MEDIO", FieldType::Float, 0},
    {u"VLR_ICMS", FieldType::Float, 0},
    {u"VLR_IPI", FieldType::Float, 0},
    {u"VLR_CREIPI", FieldType::Float, 0},
    {u"VLR_DOLAR", FieldType::Float, 0},
    {u"FRETE_NO", FieldType::Float, 0},
    {u"FRETE_CO", FieldType::Float, 0},
    {u"ICMS_FRETE", FieldType::Float, 0},
    {u"VLR_DESCIT", FieldType::Float, 0},
    {u"DESCIT_PV", FieldType::String, 1},
    {u"COD_CCUSTO", FieldType::String, 10},
    {u"DT_LANCAM", FieldType::Date, 0},
    {u"SIT_TRIBUT", FieldType::String, 3},
    {u"COD_VENDA", FieldType::String, 1},
    {u"CUSTO_INF", FieldType::Float, 0},
    {u"ALIQ_ICMS", FieldType::Float, 0},
    {u"COMPRIMENT", FieldType::Float, 0},
    {u"LARGURA", FieldType::Float, 0},
    {u"ALTURA", FieldType::Float, 0},
    {u"ORDCOMPCLI", FieldType::String, 10},
    {u"VLR_COMISS", FieldType::Float, 0},
    {u"ULTIMOCUST", FieldType::Float, 0},
    {u"PRECO_VENDA", FieldType::Float, 0},
    {u"Vlr_inss", FieldType::Float, 0},
    {u"Vlr_irrf", FieldType::Float, 0},
    {u"Bt_Substit", FieldType::Float, 0},
    {u"Vlr_IcmSub", FieldType::Float, 0},
    {u"CalcIcmIpi", FieldType::String, 1},
    {u"Cod_Vend1", FieldType::Integer, 0},
    {u"Cod_vend2", FieldType::Integer, 0},
    {u"Per_Comis1", FieldType::Float, 0},
    {u"Per_Comis2", FieldType::Float, 0},
    {u"TipoPreco", FieldType::String, 1},
    {u"Lista3", FieldType::Float, 0},
    {u"Unid_Pad", FieldType::String, 3},
    {u"QTD_PECAS", FieldType::Float, 0},
    {u"UnidPreco", FieldType::String, 3},
    {u"COD_EMBAL", FieldType::SmallInt, 0},
    {u"QT_VOLUMES", FieldType::Float, 0},
    {u"FORMULA", FieldType::String, 10},
    {u"LISTA2", FieldType::Float, 0},
    {u"DIFICMS", FieldType::Float, 0},
    {u"Quantidade2", FieldType::Float, 0},
    {u"VLR_REMESSA", FieldType::Float, 0},
    {u"VlrComis2", FieldType::Float, 0},
    {u"AliquotaIPI", FieldType::Float, 0},
    {u"Nat_Oper", FieldType::SmallInt, 0},
    {u"ComplNatOp", FieldType::String, 1},
    {u"NumOS", FieldType::Integer, 0},
    {u"ItemOS", FieldType::SmallInt, 0},
    {u"Vlr_Mp135", FieldType::Float, 0},
    {u"Dt_Validade", FieldType::Date, 0},
    {u"Lote", FieldType::String, 20},
    {u"Bi_SGaucho", FieldType::Float, 0},
    {u"Descr_Pro2", FieldType::String, 45},
    {u"CodRastreabilidade", FieldType::String, 20},
    {u"Cod_Deposi2", FieldType::Integer, 0},
    {u"NumCertificado", FieldType::String, 10},
    {u"Vlr_Pis", FieldType::Float, 0},
    {u"Vlr_Cofins", FieldType::Float, 0},
    {u"Vlr_BasePisCofins", FieldType::Float, 0},
    {u"Data_Ent", FieldType::Date, 0},
    {u"Desp_Aduaneira", FieldType::Float, 0},
    {u"Vlr_ImpImport", FieldType::Float, 0},
    {u"Vlr_BaseImpImport", FieldType::Float, 0},
};
const Campo camposNotas3[] = {
    {u"UFEmbarq", FieldType::String, 2},
    {u"XLocEmbarq", FieldType::String, 60},
    {u"RefNfe", FieldType::String, 44},
    {u"XNotaEmpenho", FieldType::String, 17},
    {u"XPedEmpenho", FieldType::String, 60},
    {u"XContratoEmpenho", FieldType::String, 60},
    {u"VersaoNfe", FieldType::String, 5},
    {u"ProtConsultaLoteNfe", FieldType::String, 30},
    {u"VlrISSQNRetido", FieldType::Float, 0},
    {u"VlrBaseISSQNRetido", FieldType::Float, 0},
    {u"CrtFilial", FieldType::String, 1},
    {u"PercMP135", FieldType::Float, 0},
    {u"VlrDescontoVencto", FieldType::Float, 0},
    {u"VlrAcrescVencto", FieldType::Float, 0},
    {u"PercIRRF", FieldType::Float, 0},
    {u"Redespacho", FieldType::String, 30},
    {u"Bt_Substit_Retencao", FieldType::Float, 0},
    {u"Vlr_IcmSub_Retencao", FieldType::Float, 0},
    {u"FinalidadeNFe", FieldType::Integer, 0},
    {u"ModeloNFe", FieldType::String, 3},
    {u"SituacaoDocSped", FieldType::String, 2},
    {u"TipoDocImportacao", FieldType::String, 1},
    {u"VlrBasePis", FieldType::Float, 0},
    {u"VlrBaseCofins", FieldType::Float, 0},
    {u"DataSaida", FieldType::Date, 0},
    {u"HoraSaida", FieldType::String, 5},
    {u"Cod_Ecf", FieldType::Integer, 0},
    {u"Ecf_CRO", FieldType::Integer, 0},
    {u"Ecf_CRZ", FieldType::Integer, 0},
    {u"Ecf_Num_Coo_Fin", FieldType::Integer, 0},
    {u"Ecf_Gt_Fin", FieldType::Float, 0},
    {u"Ecf_Vl_Bruto", FieldType::Float, 0},
    {u"Ecf_RegistroRedZ", FieldType::String, 1},
    {u"ProtocoloCancNFE", FieldType::String, 20},
    {u"CstIcms_NF", FieldType::String, 3},
    {u"CstIpi_NF", FieldType::String, 3},
    {u"CstPis_NF", FieldType::String, 3},
    {u"CstCofins_NF", FieldType::String, 3},
    {u"SubSerie", FieldType::String, 3},
    {u"ChaveCTe", FieldType::String, 44},
    {u"TipoCTe", FieldType::String, 1},
    {u"ImportadaXmlOutroSist", FieldType::String, 1},
    {u"VlrBaseIrrf", FieldType::Float, 0},
    {u"VlrBaseInss", FieldType::Float, 0},
};
const Campo camposNotai3[] = {
    {u"SitTribut_Ipi", FieldType::String, 3},
    {u"SitTribut_Pis", FieldType::String, 3},
    {u"SitTribut_Cofins", FieldType::String, 3},
    {u"Bt_Icms_Despesas", FieldType::Float, 0},
    {u"Bi_Icms_Despesas", FieldType::Float, 0},
    {u"Bo_Icms_Despesas", FieldType::Float, 0},
    {u"Vlr_Frete", FieldType::Float, 0},
    {u"Vlr_Outras_Despesas", FieldType::Float, 0},
    {u"Vlr_Seguro", FieldType::Float, 0},
    {u"Vlr_Icms_Despesas", FieldType::Float, 0},
    {u"SitTribut_ISSQN", FieldType::String, 3},
    {u"Ncm", FieldType::String, 10},
    {u"ModBC_Icms", FieldType::String, 1},
    {u"ModBC_IcmsST", FieldType::String, 1},
    {u"PercRedBaseCalcICMS", FieldType::Float, 0},
    {u"PercRedBaseCalcICMS_ST", FieldType::Float, 0},
    {u"CSOSN", FieldType::String, 4},
    {u"CSOSN_pCredSN", FieldType::Float, 0},
    {u"CSOSN_vCredSN", FieldType::Float, 0},
    {u"VlrBaseIcmsST_RetAnt", FieldType::Float, 0},
    {u"VlrIcmsST_RetAnt", FieldType::Float, 0},
    {u"PercPis", FieldType::Float, 0},
    {u"PercCofins", FieldType::Float, 0},
    {u"CListServ", FieldType::String, 5},
    {u"CSitTribIssqn", FieldType::String, 1},
    {u"VlrIssqn", FieldType::Float, 0},
    {u"BaseIssqn", FieldType::Float, 0},
    {u"PercIssqn", FieldType::Float, 0},
    {u"IssqnRetido", FieldType::String, 1},
    {u"VlrIssqnRetido", FieldType::Float, 0},
    {u"VlrBaseISSQNRetido", FieldType::Float, 0},
    {u"IndTotal", FieldType::String, 1},
    {u"GTIN_cEAN", FieldType::String, 14},
    {u"PICMSST", FieldType::Float, 0},
    {u"VlrBasePis", FieldType::Float, 0},
    {u"VlrBaseCofins", FieldType::Float, 0},
    {u"PisAliqQtd", FieldType::String, 1},
    {u"CofinsAliqQtd", FieldType::String, 1},
    {u"NaoAtualizaSaldos", FieldType::String, 1},
};
const Campo camposVeic[] = {
    {u"TpOp", FieldType::Float, 0},
    {u"Chassi", FieldType::String, 17},
    {u"CCor", FieldType::String, 4},
    {u"XCor", FieldType::String, 40},
    {u"Pot", FieldType::String, 4},
    {u"CM3", FieldType::String, 4},
    {u"PesoL", FieldType::String, 9},
    {u"PesoB", FieldType::String, 9},
    {u"NSerie", FieldType::String, 9},
    {u"TpComb", FieldType::String, 8},
    {u"NMotor", FieldType::String, 21},
    {u"CMKG", FieldType::String, 9},
    {u"Dist", FieldType::String, 4},
    {u"RENAVAM", FieldType::Float, 0},
    {u"AnoMod", FieldType::Float, 0},
    {u"AnoFab", FieldType::Float, 0},
    {u"TpPint", FieldType::String, 1},
    {u"TpVeic", FieldType::Float, 0},
    {u"EspVeic", FieldType::Float, 0},
    {u"VIN", FieldType::String, 1},
    {u"CondVeic", FieldType::Float, 0},
    {u"CMod", FieldType::Float, 0},
};
const Campo camposMedicamentos[] = {
    {u"NLote", FieldType::String, 20},
    {u"QLote", FieldType::Float, 0},
    {u"DFab", FieldType::Date, 0},
    {u"DVal", FieldType::Date, 0},
    {u"VPmc", FieldType::Float, 0},
};
const Campo camposImp[] = {
    {u"Ndi", FieldType::String, 10},
    {u"Ddi", FieldType::Date, 0},
    {u"Xlocdesemb", FieldType::String, 60},
    {u"Ufdesemb", FieldType::String, 2},
    {u"Ddesemb", FieldType::Date, 0},
    {u"Cexportador", FieldType::String, 60},
    {u"NAdic", FieldType::String, 3},
    {u"NSeqAdic", FieldType::String, 3},
    {u"Cfabricante", FieldType::String, 60},
    {u"VDescDi", FieldType::Float, 0},
    {u"Dt_manutencao", FieldType::Date, 0},
};
const Campo camposNatuoper[] = {
    {u"Cod_NatOpe", FieldType::SmallInt, 0},
    {u"COMPLNATOP", FieldType::String, 1},
    {u"DESC_NATOP", FieldType::String, 40},
    {u"ICMS", FieldType::String, 1},
    {u"IPI", FieldType::String, 1},
    {u"LEI", FieldType::String, 100},
    {u"GERA_DUPL", FieldType::String, 1},
    {u"VLR_CONTAB", FieldType::Float, 0},
    {u"VLR_BASET", FieldType::Float, 0},
    {u"VLR_IMPOST", FieldType::Float, 0},
    {u"VLR_BASEI", FieldType::Float, 0},
    {u"VLR_BASEO", FieldType::Float, 0},
    {u"EMITCUPFIS", FieldType::String, 1},
    {u"NatOpeDipi", FieldType::SmallInt, 0},
    {u"ICMS_SIMPLES", FieldType::String, 1},
    {u"PIS", FieldType::String, 1},
    {u"COFINS", FieldType::String, 1},
    {u"AutoIncremento", FieldType::AutoInc, 0},
    {u"Car_codigo", FieldType::SmallInt, 0},
    {u"CodCtbAV", FieldType::Integer, 0},
    {u"CodCtbPZ", FieldType::Integer, 0},
    {u"LivroCaixa", FieldType::String, 1},
    {u"ApuracaoEPP", FieldType::String, 1},
    {u"Servicos", FieldType::Boolean, 0},
    {u"Nat_Subst", FieldType::SmallInt, 0},
    {u"ComplSubst", FieldType::String, 1},
    {u"Est_Hist", FieldType::SmallInt, 0},
    {u"BaseSIGA", FieldType::Boolean, 0},
    {u"Tipo", FieldType::String, 1},
    {u"GIA_Quadro", FieldType::String, 1},
    {u"GIA_Campo", FieldType::SmallInt, 0},
    {u"ISSQN", FieldType::String, 1},
    {u"NaoSomaTotalProdServ", FieldType::String, 1},
    {u"GeraCredIpiAutomatico", FieldType::String, 1},
    {u"GiaB_Anexo2", FieldType::String, 1},
    {u"IRRF", FieldType::String, 1},
    {u"OmitirDoSintegra", FieldType::String, 1},
    {u"CfopEntImportXml", FieldType::Integer, 0},
    {u"ComplCfopEntImportXml", FieldType::String, 1},
};

const QString kMoeda = u"###,###,##0.00"_s;
const QString kQuantidade = u"###,###,##0.0000"_s;

template <std::size_t N>
void addCampos(TableDef& t, const Campo (&campos)[N], const QStringList& pular = {})
{
    for (const Campo& c : campos) {
        const QString nome = QString::fromUtf16(c.nome);
        if (!pular.contains(nome, Qt::CaseInsensitive))
            t.field(nome, c.tipo, c.tamanho);
    }
}

// The document key (or item key) with the types every stock table shares.
void addChave(TableDef& t, bool item, FieldType inteiro = FieldType::Integer)
{
    const bool largo = inteiro == FieldType::Integer;
    t.field(u"Filial"_s, largo ? FieldType::Integer : FieldType::SmallInt)
        .field(u"Num_Nota"_s, FieldType::Integer)
        .field(u"Tipo_Nota"_s, largo ? FieldType::Integer : FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"DT_ENTRADA"_s, FieldType::Date);
    if (item)
        t.field(u"Num_Item"_s, largo ? FieldType::Integer : FieldType::SmallInt);
}

}  // namespace

QStringList chaveNota()
{
    return {u"Filial"_s, u"Num_Nota"_s, u"Tipo_Nota"_s, u"Cod_Clifor"_s, u"DT_ENTRADA"_s};
}

QStringList chaveItemNota()
{
    return chaveNota() << u"Num_Item"_s;
}

TableDef notasTable()
{
    TableDef t(u"Notas"_s);
    for (const Campo& c : camposNotas) {
        const QString nome = QString::fromUtf16(c.nome);
        QString formato;
        if (nome.startsWith(u"VLR"_s, Qt::CaseInsensitive))
            formato = kMoeda;
        else if (nome.compare(u"PERC_ICMS"_s, Qt::CaseInsensitive) == 0)
            formato = u"#0.00"_s;
        else if (c.tipo == FieldType::Date)
            formato = u"!99/99/0000;1;_"_s;
        t.field(nome, c.tipo, c.tamanho, formato);
    }
    t.key(chaveNota());
    return t;
}

TableDef notaiTable()
{
    static const QStringList basesImposto{u"BT_ICMS"_s, u"BI_ICMS"_s, u"BO_ICMS"_s,
                                          u"BT_IPI"_s,  u"BI_IPI"_s, u"BO_IPI"_s};
    TableDef t(u"Notai"_s);
    for (const Campo& c : camposNotai) {
        const QString nome = QString::fromUtf16(c.nome);
        QString formato;
        if (nome == u"QUANTIDADE"_s)
            formato = kQuantidade;
        else if (nome == u"PRECO_UNIT"_s)
            formato = u"###,##0.0000"_s;
        else if (basesImposto.contains(nome))
            formato = kMoeda;
        t.field(nome, c.tipo, c.tamanho, formato);
    }
    // The month's items of one product, size and warehouse in the order they
    // are valued: movement date, then the document key.
    t.key(chaveItemNota())
        .index(u"AnoMes"_s, {u"Filial"_s, u"ANO_MES"_s, u"Cod_Reduz"_s, u"TAMANHO"_s, u"Cod_Deposi"_s,
                             u"DT_ENTRADA"_s, u"Num_Nota"_s, u"Tipo_Nota"_s, u"Cod_Clifor"_s,
                             u"Num_Item"_s});
    return t;
}

TableDef notas3Table()
{
    TableDef t(u"NOTAS3"_s);
    addChave(t, false, FieldType::SmallInt);
    addCampos(t, camposNotas3);
    t.key(chaveNota());
    return t;
}

TableDef notai3Table()
{
    TableDef t(u"NOTAI3"_s);
    addChave(t, true, FieldType::SmallInt);
    addCampos(t, camposNotai3);
    t.key(chaveItemNota());
    return t;
}

// An item satellite keyed by the item, a parameter and a product.
template <size_t N>
TableDef itemSatellite(const QString& name, const Campo (&campos)[N])
{
    TableDef t(name);
    addChave(t, true, FieldType::SmallInt);
    t.field(u"Parametro"_s, FieldType::SmallInt).field(u"Cod_Reduz"_s, FieldType::Integer);
    addCampos(t, campos);
    t.key(chaveItemNota() << u"Parametro"_s << u"Cod_Reduz"_s);
    return t;
}

TableDef nfeNotaiVeicTable() { return itemSatellite(u"nfe_notai_veic"_s, camposVeic); }

TableDef nfeNotaiMedicamentosTable() { return itemSatellite(u"nfe_notai_medicamentos"_s, camposMedicamentos); }

TableDef nfeNotaiImpTable()
{
    // Every key integer of the import declaration is 32-bit.
    TableDef t(u"Nfe_notai_imp"_s);
    addChave(t, true, FieldType::Integer);
    t.field(u"Cod_reduz"_s, FieldType::Integer);
    addCampos(t, camposImp);
    t.key(chaveItemNota() << u"Cod_reduz"_s);
    return t;
}

TableDef histEstTable()
{
    TableDef t(u"HistEst"_s);
    t.field(u"Est_Hist"_s, FieldType::SmallInt)
        .string(u"DESCR_HIST"_s, 30)
        .string(u"ATUCADPROD"_s, 1)
        .field(u"CONVERSAO"_s, FieldType::Float, 0, u"##0.0000"_s)
        .field(u"Param_Hist"_s, FieldType::SmallInt, 0, u"##"_s)
        .field(u"Hist_Trans"_s, FieldType::SmallInt)
        .string(u"Tipo_EDI"_s, 2)
        .key({u"Est_Hist"_s});
    return t;
}

TableDef natuoperTable()
{
    TableDef t(u"Natuoper"_s);
    addCampos(t, camposNatuoper);
    t.key({u"Cod_NatOpe"_s, u"COMPLNATOP"_s});
    return t;
}

TableDef sldprTable()
{
    TableDef t(u"Sldpr"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .string(u"Ano_Mes"_s, 6)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .string(u"Tamanho"_s, 4)
        .field(u"Cod_Deposi"_s, FieldType::Integer)
        .field(u"Fisico"_s, FieldType::Float, 0, kQuantidade)
        .field(u"Financeiro"_s, FieldType::Float, 0, kMoeda)
        .field(u"Dolar"_s, FieldType::Float, 0, kMoeda)
        .field(u"Fisico2"_s, FieldType::Float, 0, kQuantidade)
        .field(u"Medio"_s, FieldType::Float, 0, kMoeda)
        .key({u"Filial"_s, u"Ano_Mes"_s, u"Cod_Reduz"_s, u"Tamanho"_s, u"Cod_Deposi"_s});
    return t;
}

TableDef depositoTable()
{
    TableDef t(u"Deposito"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Deposi"_s, FieldType::Integer)
        .string(u"Desc_Depos"_s, 30)
        .field(u"aliquota"_s, FieldType::Float, 0, u"#0.00"_s)
        .field(u"aliqcupom"_s, FieldType::Float, 0, u"#0.00"_s)
        .field(u"baseicms"_s, FieldType::Float, 0, u"#0.00"_s)
        .string(u"subst_trib"_s, 1)
        .string(u"nao_trib"_s, 1)
        .key({u"Filial"_s, u"Cod_Deposi"_s})
        .index(u"Desc_Depos"_s, {u"Filial"_s, u"Desc_Depos"_s});
    return t;
}

TableDef benefTable()
{
    TableDef t(u"Benef"_s);
    t.field(u"Chave"_s, FieldType::Integer)
        .field(u"Filial"_s, FieldType::SmallInt)
        .field(u"OCodClifor"_s, FieldType::Integer)
        .field(u"ONum_Nota"_s, FieldType::Integer)
        .field(u"OTipo_Nota"_s, FieldType::SmallInt)
        .field(u"OData_Ent"_s, FieldType::Date)
        .field(u"ONum_Item"_s, FieldType::SmallInt)
        .field(u"DCodClifor"_s, FieldType::Integer)
        .field(u"DNum_Nota"_s, FieldType::Integer)
        .field(u"DTipo_Nota"_s, FieldType::SmallInt)
        .field(u"DData_Ent"_s, FieldType::Date)
        .field(u"DNum_Item"_s, FieldType::SmallInt)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .field(u"Quantidade"_s, FieldType::Float, 0, kQuantidade)
        .field(u"Saldo"_s, FieldType::Float, 0, kQuantidade)
        .field(u"Saldo2"_s, FieldType::Float, 0, kQuantidade)
        .field(u"DataLiberacao"_s, FieldType::Date)
        .string(u"Amostragem"_s, 10)
        .string(u"PecasRejeitadas"_s, 5)
        .string(u"Resultado"_s, 3)
        .string(u"Comentario"_s, 20)
        .string(u"Parecer"_s, 20)
        .string(u"Responsavel"_s, 30)
        .string(u"NumeroRMC"_s, 15)
        .string(u"Localizacao"_s, 20)
        .string(u"Observacao"_s, 50)
        .key({u"Filial"_s, u"Chave"_s})
        .index(u"Origem"_s, {u"Filial"_s, u"OCodClifor"_s, u"ONum_Nota"_s, u"OTipo_Nota"_s,
                             u"OData_Ent"_s, u"ONum_Item"_s, u"DCodClifor"_s})
        .index(u"Destino"_s, {u"Filial"_s, u"DCodClifor"_s, u"DNum_Nota"_s, u"DTipo_Nota"_s,
                              u"DData_Ent"_s, u"DNum_Item"_s});
    return t;
}

void declareStockTables(Catalog& catalog)
{
    for (const TableDef& t :
         {notasTable(), notaiTable(), notas3Table(), notai3Table(), nfeNotaiVeicTable(),
          nfeNotaiMedicamentosTable(), nfeNotaiImpTable(), histEstTable(), natuoperTable(),
          sldprTable(), depositoTable(), benefTable()})
        catalog.add(t);
}

}  // namespace pcp
