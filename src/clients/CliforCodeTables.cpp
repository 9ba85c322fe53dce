// The tables the codes of a partner point to. This program only reads them;
// they are declared so that a company folder always has them. Fields the
// other modules of the suite add are kept by the upgrade, which never drops
// columns.
#include "CliforTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

constexpr bool kUnique = false;
constexpr bool kCaseInsensitive = true;

// A table keyed by branch and one code, with a description. The codes have
// the type of the partner's field that points to them; texts without a known
// size have 20 characters.
TableDef codeTable(const QString& name, const QString& code, FieldType codeType, const QString& description)
{
    TableDef t(name);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(code, codeType, codeType == FieldType::String ? 6 : 0)
        .string(description, 20);
    t.key({u"Filial"_s, code});
    return t;
}

TableDef vendedorTable()
{
    TableDef t(u"Vendedor"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Vende"_s, FieldType::Integer)
        .string(u"NOME_VENDE"_s, 35)
        .field(u"COMISSAO"_s, FieldType::Float, 0, u"##0.00"_s)
        .string(u"CALC_IRPF"_s, 1)
        .field(u"UltiPedido"_s, FieldType::Integer)
        .key({u"Filial"_s, u"Cod_Vende"_s})
        .index(u"Nome"_s, {u"Filial"_s, u"NOME_VENDE"_s}, kUnique, kCaseInsensitive);
    return t;
}

TableDef bancoTable()
{
    TableDef t = codeTable(u"Banco"_s, u"Cod_Banco"_s, FieldType::Integer, u"NOME"_s);
    t.string(u"NUMERO"_s, 20);  // the bank's number, "041"
    return t;
}

// Payment terms: up to ten due days.
TableDef venctoTable()
{
    TableDef t = codeTable(u"Vencto"_s, u"Vct_Codigo"_s, FieldType::SmallInt, u"Descricao"_s);
    for (int i = 1; i <= 10; ++i)
        t.field(u"Dia%1"_s.arg(i), FieldType::SmallInt);
    return t;
}

// Credit ratings; Msg_Tela is the text some reports print instead of the code.
TableDef conceitoTable()
{
    TableDef t = codeTable(u"Conceito"_s, u"Cod_Conc"_s, FieldType::SmallInt, u"DESC_CONC"_s);
    t.string(u"Msg_Tela"_s, 20);
    return t;
}

TableDef pracaTable()
{
    TableDef t = codeTable(u"Praca"_s, u"Cod_Praca"_s, FieldType::String, u"Nome"_s);
    t.index(u"Nome"_s, {u"Filial"_s, u"Nome"_s}, kUnique, kCaseInsensitive);
    return t;
}

TableDef enquadraTable()
{
    TableDef t = codeTable(u"Enquadra"_s, u"CodEnquadra"_s, FieldType::SmallInt, u"Descricao"_s);
    t.index(u"Alfa"_s, {u"Filial"_s, u"Descricao"_s}, kUnique, kCaseInsensitive);
    return t;
}

// The accounts of the account plan a partner may be tied to (Cod_Contab).
TableDef contasTable()
{
    TableDef t = codeTable(u"Contas"_s, u"Cod_Contab"_s, FieldType::Integer, u"Descricao"_s);
    t.string(u"Conta"_s, 15);
    return t;
}

// Countries, shared by all branches.
TableDef paisesTable()
{
    TableDef t(u"PAISES"_s);
    t.string(u"CODIGO"_s, 4).string(u"NOME"_s, 60).key({u"CODIGO"_s});
    return t;
}

// Municipalities with their postal-code ranges, shared by all branches; a
// municipality may have several ranges.
TableDef municTable()
{
    TableDef t(u"MUNIC"_s);
    t.string(u"NoMunicipio"_s, 40)
        .string(u"CoMunicipio"_s, 7)
        .string(u"InFaixa"_s, 1)
        .string(u"CoCep"_s, 5)
        .key({u"CoMunicipio"_s, u"CoCep"_s, u"InFaixa"_s})
        .index(u"Nome"_s, {u"NoMunicipio"_s}, kUnique, kCaseInsensitive);
    return t;
}

// One level of the account plan: Conniv1 holds Nivel1 and Descric1, and so on.
TableDef connivTable(int level)
{
    const QString n = QString::number(level);
    TableDef t(u"Conniv"_s + n);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Nivel"_s + n, FieldType::Integer)
        .string(u"Descric"_s + n, 20)
        .key({u"Filial"_s, u"Nivel"_s + n})
        .index(u"Descricao"_s, {u"Filial"_s, u"Descric"_s + n}, kUnique, kCaseInsensitive);
    return t;
}

}  // namespace

void declareCliforCodeTables(Catalog& catalog)
{
    catalog.add(vendedorTable());
    catalog.add(codeTable(u"Regiao"_s, u"Cod_Regiao"_s, FieldType::SmallInt, u"Descricao"_s));
    catalog.add(bancoTable());
    catalog.add(codeTable(u"Transpor"_s, u"Cod_Transp"_s, FieldType::Integer, u"NOME"_s));
    catalog.add(venctoTable());
    catalog.add(conceitoTable());
    catalog.add(pracaTable());
    catalog.add(paisesTable());
    catalog.add(municTable());
    catalog.add(codeTable(u"RamoAtiv"_s, u"Cod_RamoAtiv"_s, FieldType::Integer, u"Descricao"_s));
    catalog.add(enquadraTable());
    catalog.add(contasTable());
    for (int level = 1; level <= 5; ++level)
        catalog.add(connivTable(level));
}

}  // namespace pcp
