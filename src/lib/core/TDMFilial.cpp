#include "TDMFilial.h"

#include "Messages.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableDef filialTable()
{
    TableDef t(u"Filial"_s);
    t
        .field(u"Filial"_s, FieldType::Integer)
        .field(u"FATMODNF"_s, FieldType::SmallInt)
        .field(u"NOME"_s, FieldType::String, 60)
        .field(u"FIL_ENDERE"_s, FieldType::String, 40)
        .field(u"FIL_NUMERO"_s, FieldType::SmallInt)
        .field(u"FIL_COMPLE"_s, FieldType::String, 20)
        .field(u"FIL_CIDADE"_s, FieldType::String, 20)
        .field(u"FIL_BAIRRO"_s, FieldType::String, 17)
        .field(u"FIL_ESTADO"_s, FieldType::String, 2)
        .field(u"FIL_CEP"_s, FieldType::String, 8)
        .field(u"FIL_FONE"_s, FieldType::String, 11)
        .field(u"FIL_FAX"_s, FieldType::String, 11)
        .field(u"PERCENT_L2"_s, FieldType::Float)
        .field(u"PERCENT_L3"_s, FieldType::Float)
        .field(u"PERCENT_L4"_s, FieldType::Float)
        .field(u"PERCENT_L5"_s, FieldType::Float)
        .field(u"PERCENT_L6"_s, FieldType::Float)
        .field(u"COMIS_PVE"_s, FieldType::String, 1)
        .field(u"CGC"_s, FieldType::String, 18)
        .field(u"INSCEST"_s, FieldType::String, 16)
        .field(u"INSCMUN"_s, FieldType::String, 16)
        .field(u"PERCL1SCDE"_s, FieldType::Float)
        .field(u"PERCL2SCDE"_s, FieldType::Float)
        .field(u"PERCL1SCFE"_s, FieldType::Float)
        .field(u"PERCL2SCFE"_s, FieldType::Float)
        .field(u"TIPO_DUPL"_s, FieldType::String, 12)
        .field(u"FATMODDPL"_s, FieldType::SmallInt)
        .field(u"FATMODBLOQ"_s, FieldType::SmallInt)
        .field(u"FATQTITNF"_s, FieldType::SmallInt)
        .field(u"FATTAM_OBS"_s, FieldType::SmallInt)
        .field(u"FATLIMCRED"_s, FieldType::String, 1)
        .field(u"FATDESCPRO"_s, FieldType::String, 1)
        .field(u"FATPRECOCL"_s, FieldType::String, 1)
        .field(u"FATCODREFE"_s, FieldType::String, 1)
        .field(u"FATHISTEST"_s, FieldType::SmallInt)
        .field(u"FATNATOPER"_s, FieldType::String, 2)
        .field(u"FATVDACUST"_s, FieldType::String, 1)
        .field(u"FATDIASATR"_s, FieldType::String, 1)
        .field(u"FATOBSCOMP"_s, FieldType::SmallInt)
        .field(u"MAOOBRA"_s, FieldType::String, 1)
        .field(u"USATAMANHO"_s, FieldType::String, 1)
        .field(u"USAMETRCUB"_s, FieldType::String, 1)
        .field(u"BLOQSLDNEG"_s, FieldType::String, 1)
        .field(u"PERC_ISSQN"_s, FieldType::Float, 0, u"#0.00"_s)
        .field(u"USA3NOMENF"_s, FieldType::String, 1)
        .field(u"USAPETICAO"_s, FieldType::String, 1)
        .field(u"USAOS"_s, FieldType::String, 1)
        .field(u"DIRCOBOL"_s, FieldType::String, 40)
        .field(u"INSCSCI"_s, FieldType::String, 11)
        .field(u"DIREMP1"_s, FieldType::String, 30)
        .field(u"DIREMP2"_s, FieldType::String, 30)
        .field(u"DIREMP3"_s, FieldType::String, 30)
        .field(u"PERTRIBFRE"_s, FieldType::Float)
        .field(u"MODFICHTEC"_s, FieldType::SmallInt)
        .field(u"MODORDSERV"_s, FieldType::SmallInt)
        .field(u"OBSERVPROD"_s, FieldType::String, 1)
        .field(u"DADOSPESSO"_s, FieldType::String, 1)
        .field(u"TIPODESCIT"_s, FieldType::String, 1)
        .field(u"TIPOTRIBUT"_s, FieldType::String, 2)
        .field(u"DATAPROCES"_s, FieldType::Date)
        .field(u"VELPORTSER"_s, FieldType::Float)
        .field(u"UltimaNota"_s, FieldType::Integer)
        .field(u"UltOrdComp"_s, FieldType::Integer)
        .field(u"UltOrdServ"_s, FieldType::Integer)
        .field(u"TDoc_Cod"_s, FieldType::Integer)
        .field(u"Cod_Histo"_s, FieldType::SmallInt)
        .field(u"Reduzido"_s, FieldType::SmallInt)
        .field(u"Cod_CCusto"_s, FieldType::SmallInt)
        .field(u"UltimCupom"_s, FieldType::Integer)
        .field(u"NumLotePcp"_s, FieldType::SmallInt)
        .field(u"UltPedido"_s, FieldType::Integer)
        .field(u"Est_Hist"_s, FieldType::SmallInt)
        .field(u"PortaEcf"_s, FieldType::String, 5)
        .field(u"ModeloEcf"_s, FieldType::String, 10)
        .field(u"Fantasia1"_s, FieldType::String, 30)
        .field(u"Fantasia2"_s, FieldType::String, 15)
        .field(u"PrecoAB"_s, FieldType::Float)
        .field(u"Cod_Deposi"_s, FieldType::Integer)
        .field(u"Base"_s, FieldType::Date)
        .field(u"Nro_Autent"_s, FieldType::Integer)
        .field(u"Troca_Merc"_s, FieldType::String, 1)
        .field(u"Email"_s, FieldType::String, 50)
        .field(u"Perc_MP135"_s, FieldType::Float, 0, u"#0.00"_s)
        .field(u"TermServ"_s, FieldType::Boolean)
        .field(u"Banco"_s, FieldType::String, 25)
        .field(u"Agencia"_s, FieldType::String, 25)
        .field(u"Conta"_s, FieldType::String, 10)
        .field(u"Simples"_s, FieldType::Boolean)
        .field(u"ModeloNF"_s, FieldType::SmallInt)
        .field(u"FechaCaixa"_s, FieldType::Boolean)
        .field(u"Cod_Rural"_s, FieldType::Integer)
        .field(u"CodMunicipio"_s, FieldType::String, 7)
        .field(u"PercIcmsSimples"_s, FieldType::Float, 0, u"#0.00000"_s)
        .field(u"Cod_CNAE"_s, FieldType::String, 7)
        .field(u"Logomarca"_s, FieldType::Blob)
        .field(u"Site_HomePage"_s, FieldType::String, 60)
        .field(u"Per_Pis"_s, FieldType::Float)
        .field(u"Per_Cofins"_s, FieldType::Float)
        .field(u"SerieNf"_s, FieldType::String, 3)
        .field(u"SerieNfScan"_s, FieldType::String, 3)
        .field(u"UltimoNumeroNfScan"_s, FieldType::Integer)
        .field(u"HabilitaNfScan"_s, FieldType::String, 1)
        .field(u"DhEmiNfeContingencia"_s, FieldType::Date)
        .field(u"HrEmiNfeContingencia"_s, FieldType::String, 8)
        .field(u"JustEmiNfeContingencia"_s, FieldType::String, 200)
        .field(u"IeSubstTributaria"_s, FieldType::String, 14)
        .field(u"Crt_CodRegTributario"_s, FieldType::String, 1)
        .field(u"PERC_IRRF"_s, FieldType::Float, 0, u"#0.00"_s)
        .key({u"Filial"_s});
    return t;
}

namespace {
TableDef filial2Table()
{
    TableDef t(u"Filial2"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .string(u"SpedCTB_Sign_Nome"_s, 60)
        .string(u"SpedCTB_Sign_Cpf"_s, 11)
        .string(u"SpedCTB_NumLivro"_s, 10)
        .string(u"SpedCTB_NatLivro"_s, 20)
        .field(u"DataArqConstitutivos"_s, FieldType::Date)
        .string(u"Nire"_s, 20)
        .string(u"Cod_municipal_servicos"_s, 8)
        .string(u"SpedEFD_IndNatPessJur"_s, 2)
        .string(u"SpedEFD_AtivPredom"_s, 1)
        .key({u"Filial"_s});
    return t;
}

// The configuration tables of the other modules carry many fields of their
// own; this program needs the branch and the module's processing date. Fields
// the other modules add are kept by the upgrade, which never drops columns.
TableDef configTable(const QString& name)
{
    TableDef t(name);
    t.field(u"Filial"_s, FieldType::Integer).field(u"Data"_s, FieldType::Date).key({u"Filial"_s});
    return t;
}

TDMFilial* current = nullptr;

// The module's configuration cursor and its message.
struct ModuleGuard {
    const char16_t* modulo;
    TableCursor TDMFilial::*table;
    const char16_t* message;
};
}  // namespace

void declareBranchTables(Catalog& catalog)
{
    catalog.add(filialTable());
    catalog.add(filial2Table());
    for (const QString& name : {u"Escricfg"_s, u"Estoqcfg"_s, u"CRECFG"_s, u"FATURCFG"_s, u"PEDIDCFG"_s,
                                u"CONTCFG"_s})
        catalog.add(configTable(name));
}

TDMFilial::TDMFilial(std::shared_ptr<Store> store)
    : DataModule(store),
      TFilial(store, u"Filial"_s),
      TEscriCfg(store, u"Escricfg"_s),
      TEstoqCfg(store, u"Estoqcfg"_s),
      TCreCfg(store, u"CRECFG"_s),
      TFaturCfg(store, u"FATURCFG"_s),
      TPedidCfp(store, u"PEDIDCFG"_s),
      TContCfg(store, u"CONTCFG"_s),
      TFil(store, u"Filial"_s),
      TDadosFilialCompl(store, u"Filial2"_s)
{
    declare({&TFilial, &TEscriCfg, &TEstoqCfg, &TCreCfg, &TFaturCfg, &TPedidCfp, &TContCfg, &TFil,
             &TDadosFilialCompl});
    for (TableCursor* detail : {&TEscriCfg, &TEstoqCfg, &TCreCfg, &TFil, &TDadosFilialCompl})
        detail->setMasterLink(&TFilial, {u"Filial"_s});
}

void TDMFilial::openBranchTables()
{
    for (TableCursor* t : {&TFilial, &TEscriCfg, &TEstoqCfg, &TCreCfg})
        t->open();
}

bool TDMFilial::positionOn(int filial)
{
    TFilial.open();
    return TFilial.findKey({filial});
}

TDMFilial* DMFilial() { return current; }
void setDMFilial(TDMFilial* module) { current = module; }

bool DataProcessamentoOk(const QString& modulo, const QDate& data, TDMFilial& dm)
{
    bool ok = true;
    if (modulo != u"CONTABILIDADE"_s) {
        dm.TFil.open();
        const QDate fechada = dm.TFil.asDate(u"DATAPROCES"_s);
        if (fechada.isValid() && fechada > data) {
            mostraMensagem(u"Lancamento menor que a data de processamento"_s);
            ok = false;
        }
        dm.TFil.close();
    }
    static const ModuleGuard guards[] = {
        {u"ESTOQUE", &TDMFilial::TEstoqCfg, u"Lançamento no estoque menor que a data de processamento"},
        {u"FATURAMENTO", &TDMFilial::TFaturCfg, u"Lançamento no faturamento menor que a data de processamento"},
        {u"FINANCEIRO", &TDMFilial::TCreCfg, u"Lançamento no financeiro menor que a data de processamento"},
        {u"ESCRITA", &TDMFilial::TEscriCfg, u"Lançamento na escrita fiscal menor que a data de processamento"},
        {u"CONTABILIDADE", &TDMFilial::TContCfg,
         u"Lançamento na contabilidade menor que a data de processamento"},
    };
    for (const ModuleGuard& g : guards) {
        if (modulo != QStringView(g.modulo))
            continue;
        TableCursor& cfg = dm.*g.table;
        cfg.open();  // a no-op when the branch screen opened it already
        cfg.refresh();
        const QDate fechada = cfg.asDate(u"Data"_s);
        if (fechada.isValid() && data < fechada) {
            mostraMensagem(QString::fromUtf16(g.message));
            ok = false;
        }
    }
    return ok;
}

bool DataProcessamentoOk(const QString& modulo, const QDate& data)
{
    if (!current)
        throw DbError(u"Nenhuma filial escolhida"_s);
    return DataProcessamentoOk(modulo, data, *current);
}

}  // namespace pcp
