#include "CliforTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableDef cliforTable()
{
    TableDef t(u"Clifor"_s);
    t
        .field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .string(u"Sistema"_s, 1)
        .string(u"NOME"_s, 40)
        .string(u"FANTASIA"_s, 40)
        .string(u"CIDADE"_s, 40)
        .string(u"CID_COB"_s, 40)
        .string(u"CID_ENT"_s, 40)
        .string(u"ESTADO"_s, 2)
        .string(u"EST_COB"_s, 2)
        .string(u"EST_ENT"_s, 2)
        .string(u"COD_CEPEND"_s, 8)
        .string(u"COD_CEPCOB"_s, 8)
        .string(u"COD_CEPENT"_s, 8)
        .string(u"ENDERECO"_s, 40)
        .string(u"END_COB"_s, 40)
        .string(u"END_ENT"_s, 40)
        .string(u"COMPLEMENTO"_s, 20)
        .string(u"COMPLCOB"_s, 20)
        .string(u"COMPLENT"_s, 20)
        .string(u"BAIRRO"_s, 20)
        .string(u"BAICOB"_s, 20)
        .string(u"BAIENT"_s, 20)
        .field(u"NUMERO"_s, FieldType::Integer)
        .field(u"NUM_COB"_s, FieldType::Integer)
        .field(u"NUM_ENT"_s, FieldType::Integer)
        .string(u"TELEX"_s, 11)
        .string(u"FAX"_s, 15)
        .string(u"TELEFONE1"_s, 15)
        .string(u"TELEFONE2"_s, 15)
        .string(u"CGC"_s, 14)
        .string(u"INSC_EST"_s, 16)
        .field(u"DATA_ULTC"_s, FieldType::Date)
        .field(u"VALOR_ULTC"_s, FieldType::Float)
        .field(u"DTMAIORCOM"_s, FieldType::Date)
        .field(u"MAIOR_COM"_s, FieldType::Float)
        .field(u"ICM"_s, FieldType::Float)
        .string(u"NOM_CONTAT"_s, 20)
        .field(u"LIMITCRED"_s, FieldType::Float, 0, u"###,###,##0.00"_s)
        .field(u"MAXDIASATR"_s, FieldType::SmallInt)
        .field(u"DTINILIMAT"_s, FieldType::Date)
        .field(u"DT_VALCONC"_s, FieldType::Date)
        .string(u"OBSERVACAO"_s, 80)
        .field(u"DATA_CAD"_s, FieldType::Date)
        .string(u"CODCONTABI"_s, 15)
        .field(u"QTD_VISITA"_s, FieldType::SmallInt)
        .string(u"CIFFOB"_s, 1)
        .string(u"OBSERVCRED"_s, 50)
        .field(u"DESP_FINAN"_s, FieldType::Float, 0, u"##0.00"_s)
        .field(u"Cod_Vend1"_s, FieldType::Integer)
        .field(u"Cod_Vend2"_s, FieldType::Integer)
        .field(u"Cod_Regiao"_s, FieldType::SmallInt)
        .field(u"Cod_Banco"_s, FieldType::Integer)
        .field(u"Cod_Conc"_s, FieldType::SmallInt)
        .field(u"Vct_Codigo"_s, FieldType::SmallInt)
        .field(u"Cod_Transp"_s, FieldType::Integer)
        .field(u"Cod_Moeda"_s, FieldType::SmallInt)
        .field(u"Tipo"_s, FieldType::SmallInt)
        .field(u"MaxDiasPrz"_s, FieldType::SmallInt)
        .string(u"DDDFone1"_s, 4)
        .string(u"DDDFone2"_s, 4)
        .string(u"DDDFax"_s, 4)
        .string(u"E_Mail"_s, 60)
        .field(u"CaixaPostal"_s, FieldType::Float)
        .field(u"COMISSAO"_s, FieldType::Float)
        .string(u"Placa"_s, 7)
        .string(u"Veiculo"_s, 20)
        .string(u"HomePage"_s, 40)
        .string(u"Agencia"_s, 10)
        .string(u"Banco"_s, 4)
        .string(u"Conta"_s, 15)
        .field(u"Ativo"_s, FieldType::Boolean)
        .string(u"Observa2"_s, 80)
        .field(u"Data_Renov"_s, FieldType::Date)
        .field(u"Per_Entr"_s, FieldType::Float)
        .field(u"IpiSuspenso"_s, FieldType::Boolean)
        .field(u"SCI"_s, FieldType::Boolean)
        .field(u"Transf_ICMS"_s, FieldType::Float, 0, u"##0.00"_s)
        .string(u"Cod_Sintel"_s, 8)
        .string(u"Sigla_AVEB"_s, 3)
        .field(u"Contrato"_s, FieldType::Integer)
        .string(u"TipoContrato"_s, 20)
        .string(u"Cod_Pais"_s, 4)
        .field(u"Simples"_s, FieldType::Boolean)
        .field(u"Revenda"_s, FieldType::Boolean)
        .string(u"Praca_Banc"_s, 6)
        .string(u"Cod_Sacado"_s, 5)
        .field(u"Ult_Aditivo"_s, FieldType::Integer)
        .field(u"VlrMinPed"_s, FieldType::Float, 0, u"###,###,##0.00"_s)
        .field(u"Cod_RamoAtiv"_s, FieldType::SmallInt)
        .string(u"NumRadio"_s, 10)
        .string(u"NumOnLine"_s, 10)
        .field(u"CodEnquadra"_s, FieldType::SmallInt)
        .string(u"CodMunicipio"_s, 7)
        .string(u"CodMuniEnt"_s, 7)
        .string(u"EmailCompr"_s, 60)
        .string(u"UsuInclusao"_s, 6)
        .string(u"InscSuframa"_s, 9)
        .field(u"Cod_Contab"_s, FieldType::Integer)
        .string(u"CodCarimbosAdiNFE"_s, 100)
        .field(u"DataAberturaEmp"_s, FieldType::Date)
        .field(u"Cod_RamoAtiv2"_s, FieldType::Integer)
        .field(u"Cod_RamoAtiv3"_s, FieldType::Integer)
        .string(u"Web_Factoring"_s, 1)
        .field(u"ListaPrecoPref"_s, FieldType::Integer)
        .key({u"Filial"_s, u"Cod_Clifor"_s});
    const bool unique = false, caseInsensitive = true;
    t.index(QString::fromUtf16(kIndiceTipoCgc), {u"Filial"_s, u"Tipo"_s, u"CGC"_s}, unique, caseInsensitive)
        .index(QString::fromUtf16(kIndiceNomeClifor), {u"Filial"_s, u"NOME"_s}, unique, caseInsensitive)
        .index(QString::fromUtf16(kIndiceFantasiaCidade), {u"Filial"_s, u"FANTASIA"_s, u"CIDADE"_s}, unique,
               caseInsensitive)
        .index(QString::fromUtf16(kIndiceVendedorCidadeNome), {u"Filial"_s, u"Cod_Vend1"_s, u"CIDADE"_s, u"NOME"_s},
               unique, caseInsensitive)
        .index(QString::fromUtf16(kIndiceVendedorNome), {u"Filial"_s, u"Cod_Vend1"_s, u"NOME"_s}, unique,
               caseInsensitive);
    return t;
}

namespace {

// Personal data of a person partner; one row per partner.
TableDef clifor2Table()
{
    TableDef t(u"CLIFOR2"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .string(u"NOMEPAI"_s, 35)
        .string(u"NOMEMAE"_s, 35)
        .string(u"CONJUGE"_s, 35)
        .string(u"LOCALTRAB"_s, 35)
        .string(u"ENDERTRAB"_s, 35)
        .string(u"CARGO"_s, 20)
        .field(u"DATAADMIS"_s, FieldType::Date)
        .string(u"PROFISSAO"_s, 20)
        .string(u"CASA"_s, 1)
        .string(u"LOCALNASC"_s, 20)
        .field(u"DATANASC"_s, FieldType::Date)
        .string(u"ESTCIVIL"_s, 20)
        .field(u"DTNASCONJ"_s, FieldType::Date)
        .string(u"LTRABCONJ"_s, 35)
        .field(u"DTADMCONJ"_s, FieldType::Date)
        .string(u"ETRABCONJ"_s, 35)
        .string(u"CARGOCONJ"_s, 20)
        .field(u"SALARCONJ"_s, FieldType::Float)
        .string(u"PARENTE"_s, 35)
        .string(u"ENDPARENT"_s, 35)
        .string(u"INFORMACO"_s, 70)
        .string(u"SPC"_s, 70)
        .field(u"SALARIO"_s, FieldType::Float)
        .field(u"CART_IDEN"_s, FieldType::Float)
        .field(u"CPROF_NR"_s, FieldType::Float)
        .field(u"CPROF_SERI"_s, FieldType::Float)
        .string(u"CPROF_UF"_s, 2)
        .string(u"CAS_CIVIL"_s, 1)
        .string(u"CAS_RELIG"_s, 1)
        .field(u"DTAULTPAG"_s, FieldType::Date)
        .field(u"VLRULTPAG"_s, FieldType::Float)
        .string(u"ENDERANT"_s, 42)
        .string(u"ENDERANTT"_s, 15)
        .string(u"EMPREANT"_s, 42)
        .string(u"EMPREANTT"_s, 15)
        .string(u"OUTRAREND"_s, 70)
        .string(u"BANCOS"_s, 65)
        .string(u"TempoResid"_s, 10)
        .string(u"TempoTrab"_s, 10)
        .field(u"VlrAluga"_s, FieldType::Float)
        .string(u"Org_EmisRg"_s, 4)
        .string(u"Sexo"_s, 1)
        .string(u"CIDADETRA"_s, 20)
        .string(u"UFTRAB"_s, 2)
        .string(u"CEPTRAB"_s, 8)
        .string(u"FONETRAB"_s, 15)
        .string(u"CIDTRCONJ"_s, 20)
        .string(u"UFTRACONJ"_s, 2)
        .string(u"CEPTRCONJ"_s, 8)
        .string(u"FONTRCONJ"_s, 15)
        .string(u"REFCOMERC"_s, 65)
        .field(u"Cod_Conven"_s, FieldType::Integer)
        .string(u"Matricula"_s, 20)
        .string(u"Tempo_Cons"_s, 5)
        .string(u"Ini_AtendM"_s, 5)
        .string(u"Fim_AtendM"_s, 5)
        .string(u"Ini_AtendT"_s, 5)
        .string(u"Fim_AtendT"_s, 5)
        .field(u"Cod_GrInst"_s, FieldType::Integer)
        .field(u"Cod_RendaF"_s, FieldType::Integer)
        .field(u"Cod_Freq"_s, FieldType::Integer)
        .field(u"Cod_Divulg"_s, FieldType::Integer)
        .field(u"Cod_Profissao"_s, FieldType::Integer)
        .string(u"BairroEmprego"_s, 20)
        .string(u"CpfConjuge"_s, 14)
        .field(u"DataConcedeSuspIPI"_s, FieldType::Date)
        .key({u"Filial"_s, u"Cod_Clifor"_s});
    return t;
}

// Contact persons of a partner, numbered inside it.
TableDef cttCliFoTable()
{
    TableDef t(u"CttCliFo"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_CliFor"_s, FieldType::Integer)
        .field(u"Sequencia"_s, FieldType::Integer)
        .string(u"Nome"_s, 40)
        .string(u"Cargo"_s, 20)
        .string(u"Telefone"_s, 15)
        .string(u"Celular"_s, 15)
        .string(u"Email"_s, 50)
        .string(u"Aniversario"_s, 4)  // ddmm
        .key({u"Filial"_s, u"Cod_CliFor"_s, u"Sequencia"_s});
    return t;
}

TableDef obserCliTable()
{
    TableDef t(u"ObserCli"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_CliFor"_s, FieldType::Integer)
        .field(u"Observacao"_s, FieldType::Memo)
        .key({u"Filial"_s, u"Cod_CliFor"_s});
    return t;
}

// Renewal history: a partner is renewed many times, so the moment of the
// renewal is part of the key.
TableDef renovCliTable()
{
    TableDef t(u"RenovCli"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"Data_Renov"_s, FieldType::Date)
        .field(u"Hora_Renov"_s, FieldType::Time)
        .string(u"Usuario"_s, 6)
        .key({u"Filial"_s, u"Cod_Clifor"_s, u"Data_Renov"_s, u"Hora_Renov"_s});
    return t;
}

// Further delivery addresses of a partner.
TableDef enderecoTable()
{
    TableDef t(u"Endereco"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"Codigo"_s, FieldType::Integer)
        .string(u"Endereco"_s, 40)
        .field(u"Numero"_s, FieldType::SmallInt)
        .string(u"Complemento"_s, 20)
        .string(u"Bairro"_s, 20)
        .string(u"Cep"_s, 8)
        .string(u"Cidade"_s, 20)
        .string(u"Estado"_s, 2)
        .string(u"Horario"_s, 25)
        .string(u"Obra"_s, 40)
        .string(u"Responsavel"_s, 30)
        .string(u"Fone1"_s, 15)
        .string(u"Fone2"_s, 15)
        .key({u"Filial"_s, u"Cod_Clifor"_s, u"Codigo"_s});
    return t;
}

// E-mail addresses the electronic invoices of a partner go to.
TableDef nfeEmailClientesTable()
{
    TableDef t(u"Nfe_email_clientes"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cliente"_s, FieldType::Integer)
        .field(u"Ordem"_s, FieldType::Integer)
        .string(u"Tipo"_s, 1)
        .string(u"Nome"_s, 60)
        .string(u"Email"_s, 255)
        .field(u"Dt_manutencao"_s, FieldType::Date)
        .key({u"Filial"_s, u"Cliente"_s, u"Ordem"_s});
    return t;
}

// Children of a person partner, with their baptism, first communion and
// confirmation; the flags BATISMO, PRIM_COMUN and CRISMA follow the dates
// (TDMClifor::derivaMarcasFilho).
TableDef filhosTable()
{
    TableDef t(u"FILHOS"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"Numero"_s, FieldType::SmallInt)
        .string(u"NOME"_s, 40)
        .field(u"DATA_NASC"_s, FieldType::Date)
        .string(u"LOCALNASC"_s, 20)
        .string(u"Sexo"_s, 20)
        .string(u"BATISMO"_s, 1)
        .field(u"BT_DATA"_s, FieldType::Date)
        .string(u"BT_LOCAL"_s, 20)
        .string(u"BT_IGREJA"_s, 20);
    for (int i = 1; i <= 8; ++i)
        t.string(u"BT_PADRIN%1"_s.arg(i), 20);
    t.string(u"BT_CELEBRA"_s, 20)
        .string(u"PRIM_COMUN"_s, 1)
        .string(u"PC_ANO"_s, 20)
        .field(u"PC_DATA"_s, FieldType::Date)
        .string(u"PC_LOCAL"_s, 20)
        .string(u"PC_IGREJA"_s, 20)
        .string(u"PC_CELEBRA"_s, 20)
        .string(u"PC_CATEQUI"_s, 20)
        .string(u"CRISMA"_s, 1)
        .field(u"CR_DATA"_s, FieldType::Date)
        .string(u"CR_LOCAL"_s, 20)
        .string(u"CR_IGREJA"_s, 20)
        .string(u"CR_CELEBRA"_s, 20)
        .string(u"CR_CATEQUI"_s, 20)
        .string(u"CR_PADRIN1"_s, 20)
        .key({u"Filial"_s, u"Cod_Clifor"_s, u"Numero"_s});
    return t;
}

// Values the identification fields of a partner had before a change, one row
// per partner and day. `Ie` holds the whole state registration (16
// characters in Clifor), so an old registration is never cut.
TableDef spedAlteraCliforTable()
{
    TableDef t(u"Sped_AlteraClifor"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"Dt_Altera"_s, FieldType::Date)
        .string(u"AnoMes"_s, 7)
        .string(u"Nome"_s, 100)
        .string(u"Cod_Pais"_s, 4)
        .string(u"Cnpj"_s, 14)
        .string(u"Ie"_s, 16)
        .string(u"CodMunic"_s, 10)
        .string(u"Suframa"_s, 10)
        .string(u"Endereco"_s, 60)
        .string(u"Numero"_s, 20)
        .string(u"Complemento"_s, 40)
        .string(u"Bairro"_s, 60)
        .string(u"Cpf"_s, 14)
        .key({u"Filial"_s, u"Cod_Clifor"_s, u"Dt_Altera"_s});
    return t;
}

// Code ranges per branch: first code, last code and last code given for each
// kind of partner.
TableDef limitcodTable()
{
    TableDef t(u"LIMITCOD"_s);
    t.field(u"Filial"_s, FieldType::SmallInt);
    for (const QString& kind : {u"Cli"_s, u"Ven"_s, u"For"_s, u"Ban"_s, u"Tra"_s, u"Out"_s, u"Div"_s})
        t.field(u"Cod_Ini"_s + kind, FieldType::Integer)
            .field(u"Cod_Fim"_s + kind, FieldType::Integer)
            .field(u"UltCod_"_s + kind, FieldType::Integer);
    t.key({u"Filial"_s});
    return t;
}

// The salesman of a partner for each product group (level 2 of the product
// classification).
TableDef clprvendTable()
{
    TableDef t(u"CLPRVEND"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .string(u"Nivel2"_s, 3)
        .field(u"Cod_Vende"_s, FieldType::Integer)
        .key({u"Filial"_s, u"Cod_Clifor"_s, u"Nivel2"_s});
    return t;
}

}  // namespace

void declareClientTables(Catalog& catalog)
{
    for (const TableDef& t : {cliforTable(), clifor2Table(), cttCliFoTable(), obserCliTable(), renovCliTable(),
                              enderecoTable(), nfeEmailClientesTable(), filhosTable(), spedAlteraCliforTable(),
                              limitcodTable(), clprvendTable()})
        catalog.add(t);
    declareCliforCodeTables(catalog);
}

}  // namespace pcp
