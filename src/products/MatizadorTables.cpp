#include "MatizadorTables.h"

#include "TableRoutines.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TableDef matizadorTable()
{
    TableDef t(u"Matizador"_s);
    t.field(u"Codigo"_s, FieldType::SmallInt).string(u"Nome"_s, 40).key({u"Codigo"_s});
    return t;
}

TableDef resptecTable()
{
    TableDef t(u"Resptec"_s);
    t.field(u"Codigo"_s, FieldType::SmallInt)
        .string(u"Nome"_s, 40)
        .string(u"Qualificacao"_s, 20)
        .string(u"Fone1"_s, 20)
        .string(u"Fone2"_s, 20)
        .string(u"Fone3"_s, 20)
        .key({u"Codigo"_s});
    return t;
}

TableDef obsFornProdTable()
{
    TableDef t(u"ObsFornProd"_s);
    t.field(u"Filial"_s, FieldType::Integer).field(u"Cod_Reduz"_s, FieldType::Integer);
    for (int i = 1; i <= 6; ++i)
        t.string(u"ObsForn%1"_s.arg(i), 60);
    t.key({u"Filial"_s, u"Cod_Reduz"_s});
    return t;
}

void declareTintingTables(Catalog& catalog)
{
    catalog.add(matizadorTable());
    catalog.add(resptecTable());
    catalog.add(obsFornProdTable());
}

QStringList qualificacoesResptec()
{
    return {u"Orçamentista"_s, u"Resp.Técnico"_s, u"Mecânico"_s};
}

bool posicionaObsFornProd(TableCursor& obsForn, int filial, qint64 codReduz)
{
    const QStringList key{u"Filial"_s, u"Cod_Reduz"_s};
    if (obsForn.locate(key, {filial, codReduz}))
        return true;
    obsForn.insert();
    obsForn.setValue(u"Filial"_s, filial);
    obsForn.setValue(u"Cod_Reduz"_s, codReduz);
    if (GravaRegistro(obsForn))
        return true;
    obsForn.cancel();
    return false;
}

}  // namespace pcp
