#include "FormulaTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kData = u"!99/99/0000;1;_"_s;
const QString kQuatroCasas = u"###,##0.0000"_s;

TableDef& componentes(TableDef& t, const QString& formatoPercentual, const QString& formatoCusto)
{
    return t.field(u"OrdComp"_s, FieldType::SmallInt)
        .field(u"Componente"_s, FieldType::Integer)
        .field(u"QUANTIDADE"_s, FieldType::Float, 0, kQuatroCasas)
        .field(u"Percentual"_s, FieldType::Float, 0, formatoPercentual)
        .field(u"CustoItem"_s, FieldType::Float, 0, formatoCusto)
        .field(u"PercCusto"_s, FieldType::Float, 0, formatoPercentual);
}

}  // namespace

TableDef formulaTable()
{
    TableDef t(u"Formula"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .string(u"Formula"_s, 10)
        .field(u"Cod_Clifor"_s, FieldType::Integer)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .string(u"COR"_s, 30)
        .field(u"DATACAD"_s, FieldType::Date, 0, kData)
        .field(u"DtaUltProd"_s, FieldType::Date)
        .field(u"CodResp"_s, FieldType::SmallInt)
        .field(u"QtdTotal"_s, FieldType::Float)
        .field(u"Observacao"_s, FieldType::Memo)
        .string(u"PrecoEspecial"_s, 1)
        .string(u"Origem"_s, 10)
        .field(u"CodMatizador"_s, FieldType::SmallInt)
        .field(u"Amostra"_s, FieldType::Boolean)
        .field(u"DataAmostra"_s, FieldType::Date, 0, kData)
        .field(u"Senha"_s, FieldType::Boolean)
        .field(u"TotalItens"_s, FieldType::SmallInt)
        .field(u"Densidade"_s, FieldType::Float, 0, u"##0.0000"_s)
        .field(u"Preco"_s, FieldType::Float, 0, kQuatroCasas)
        .field(u"UltimoCust"_s, FieldType::Float)
        .field(u"PesoMassaCrua"_s, FieldType::Float)
        .field(u"PesoProdutoPronto"_s, FieldType::Float)
        .field(u"Rendimento"_s, FieldType::Float)
        .field(u"PesoMassaUnitario"_s, FieldType::Float)
        .field(u"PesoProdutoUnitario"_s, FieldType::Float)
        .string(u"MATIZADOR"_s, 10)
        .field(u"UltimoCusto"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .field(u"PrecoSugerido"_s, FieldType::Float)
        .field(u"PercDifPreco"_s, FieldType::Float)
        .field(u"MargemContrib"_s, FieldType::Float)
        .key({u"Filial"_s, u"Formula"_s})
        .index(u"Cod_Clifor/Formula"_s, {u"Filial"_s, u"Cod_Clifor"_s, u"Formula"_s})
        .index(u"Cod_Reduz/Formula"_s, {u"Filial"_s, u"Cod_Reduz"_s, u"Formula"_s});
    return t;
}

TableDef formulaiTable()
{
    TableDef t(u"Formulai"_s);
    t.field(u"Filial"_s, FieldType::SmallInt).string(u"Formula"_s, 10);
    componentes(t, u"##0.0000"_s, u"##,##0.0000"_s)
        .key({u"Filial"_s, u"Formula"_s, u"OrdComp"_s});
    return t;
}

TableDef formulaVersaoTable()
{
    TableDef t(u"FormulaVersao"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .string(u"Formula"_s, 10)
        .field(u"Versao"_s, FieldType::SmallInt)
        .field(u"Data"_s, FieldType::Date)
        .field(u"Observacao"_s, FieldType::Memo)
        .field(u"CustoTotal"_s, FieldType::Float, 0, u"#,###,##0.00"_s)
        .key({u"Filial"_s, u"Formula"_s, u"Versao"_s});
    return t;
}

TableDef formulaiVersaoTable()
{
    TableDef t(u"FormulaiVersao"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .string(u"Formula"_s, 10)
        .field(u"Versao"_s, FieldType::SmallInt);
    componentes(t, kQuatroCasas, kQuatroCasas)
        .key({u"Filial"_s, u"Formula"_s, u"Versao"_s, u"OrdComp"_s});
    return t;
}

TableDef moedaTable()
{
    TableDef t(u"MOEDA"_s);
    t.field(u"Cod_Moeda"_s, FieldType::SmallInt)
        .string(u"NOME_MOEDA"_s, 30)
        .string(u"SIMBOLO"_s, 5)
        .key({u"Cod_Moeda"_s})
        .index(u"NOME DA MOEDA"_s, {u"NOME_MOEDA"_s});
    return t;
}

TableDef valoresTable()
{
    TableDef t(u"VALORES"_s);
    t.field(u"Cod_Moeda"_s, FieldType::SmallInt)
        .field(u"DATA"_s, FieldType::Date, 0, kData)
        .field(u"VALOR"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .key({u"Cod_Moeda"_s, u"DATA"_s});
    return t;
}

void declareFormulaTables(Catalog& catalog)
{
    catalog.add(formulaTable());
    catalog.add(formulaiTable());
    catalog.add(formulaVersaoTable());
    catalog.add(formulaiVersaoTable());
    catalog.add(moedaTable());
    catalog.add(valoresTable());
}

}  // namespace pcp
