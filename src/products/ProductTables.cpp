#include "ProductTables.h"

#include "EstpromaTable.h"

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

const QString kPreco = u"###,###,##0.0000"_s;

void requireNivel(int nivel, int maior)
{
    if (nivel < 1 || nivel > maior)
        throw std::invalid_argument("classification level out of range");
}

TableDef tamanhoTable()
{
    TableDef t(u"Tamanho"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .string(u"TAMANHO"_s, 4);
    for (int i = 1; i <= 6; ++i)
        t.field(u"LISTA%1"_s.arg(i), FieldType::Float, 0, kPreco);
    t.field(u"ParesTalao"_s, FieldType::Integer)
        .string(u"GTIN_CodEAN"_s, 14)
        .key({u"Filial"_s, u"Cod_Reduz"_s, u"TAMANHO"_s});
    return t;
}

TableDef tamanhosTable()
{
    // Codes run from 1 to 999; the index on the size code serves the upkeep's lookup.
    TableDef t(u"Tamanhos"_s);
    t.field(u"Codigo"_s, FieldType::Integer)
        .string(u"Tamanho"_s, 4)
        .string(u"Descricao"_s, 30)
        .key({u"Codigo"_s})
        .index(u"Tamanho"_s, {u"Tamanho"_s});
    return t;
}

TableDef coresTable()
{
    TableDef t(u"Cores"_s);
    t.field(u"Codigo"_s, FieldType::Integer, 0, u"%3.3d"_s).string(u"Descricao"_s, 20).key({u"Codigo"_s});
    return t;
}


TableDef spedAlteraProdutoTable()
{
    TableDef t(u"Sped_AlteraProduto"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .field(u"DataAlteracao"_s, FieldType::Date)
        .string(u"Descricao"_s, 120)
        .key({u"Filial"_s, u"Cod_Reduz"_s, u"DataAlteracao"_s});
    return t;
}

TableDef nomListaTable()
{
    TableDef t(u"NomLista"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Lista"_s, FieldType::Integer)
        .string(u"Descricao"_s, 30)
        .key({u"Filial"_s, u"Lista"_s});
    return t;
}

TableDef aliqBaseTable()
{
    TableDef t(u"AliqBase"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .string(u"REGIAOFISC"_s, 1)
        .field(u"ALIQUOTA"_s, FieldType::Float)
        .field(u"BASEICMS"_s, FieldType::Float)
        .field(u"ALIQCUPOM"_s, FieldType::Float)
        .field(u"COD_CARIMB"_s, FieldType::SmallInt)
        .field(u"PercSubst"_s, FieldType::Float, 0, u"##0.00"_s)
        .string(u"ModBc"_s, 1)
        .string(u"ModBcST"_s, 1)
        .string(u"CstICMS"_s, 2)
        .key({u"Filial"_s, u"Cod_Reduz"_s, u"REGIAOFISC"_s});
    return t;
}

TableDef carimboTable()
{
    TableDef t(u"Carimbo"_s);
    t.field(u"Car_Codigo"_s, FieldType::SmallInt)
        .string(u"CAR_DESC1"_s, 70)
        .string(u"CAR_DESC2"_s, 70)
        .string(u"CAR_DESC3"_s, 70)
        .key({u"Car_Codigo"_s});
    return t;
}

// A shared lookup catalogue of a code and a description.
TableDef catalogo(const QString& nome, const QString& codigo, FieldType tipo, int tamanho,
                  const QString& descricao, int largura)
{
    TableDef t(nome);
    t.field(codigo, tipo, tamanho).string(descricao, largura).key({codigo});
    return t;
}

}  // namespace

TableDef obseProdTable()
{
    TableDef t(u"ObseProd"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Cod_Reduz"_s, FieldType::Integer)
        .field(u"Sequencia"_s, FieldType::SmallInt)
        .string(u"Observacao"_s, 70)
        .key({u"Filial"_s, u"Cod_Reduz"_s, u"Sequencia"_s});
    return t;
}

int larguraNivel(int nivel)
{
    requireNivel(nivel, 6);
    static constexpr int larguras[] = {2, 3, 4, 3, 6, 6};
    return larguras[nivel - 1];
}

TableDef estnivTable(int nivel)
{
    requireNivel(nivel, 5);
    const QString n = QString::number(nivel);
    TableDef t(u"Estniv"_s + n);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .string(u"Nivel"_s + n, larguraNivel(nivel))
        .string(u"Descric"_s + n, 40)
        .key({u"Filial"_s, u"Nivel"_s + n})
        .index(u"Descricao"_s, {u"Filial"_s, u"Descric"_s + n});
    return t;
}

void declareProductTables(Catalog& catalog)
{
    catalog.add(estpromaTable());
    for (int nivel = 1; nivel <= 5; ++nivel)
        catalog.add(estnivTable(nivel));
    catalog.add(tamanhoTable());
    catalog.add(tamanhosTable());
    catalog.add(coresTable());
    catalog.add(obseProdTable());
    catalog.add(spedAlteraProdutoTable());
    catalog.add(nomListaTable());
    catalog.add(aliqBaseTable());
    catalog.add(carimboTable());
    // The NCM code is copied into the product's CLAS_FISC, so it is no wider.
    catalog.add(catalogo(u"EstpromaNCM"_s, u"NCM"_s, FieldType::String, 8, u"Descricao"_s, 20));
    catalog.add(catalogo(u"CTDubla"_s, u"Codigo"_s, FieldType::SmallInt, 0, u"Nome"_s, 20));
    catalog.add(catalogo(u"Ferramentas"_s, u"Codigo"_s, FieldType::SmallInt, 0, u"Descricao"_s, 20));
    catalog.add(catalogo(u"CodListaServicos"_s, u"CListServ"_s, FieldType::String, 5, u"Descricao"_s, 255));
}

}  // namespace pcp
