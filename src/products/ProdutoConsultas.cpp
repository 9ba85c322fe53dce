#include "ProdutoConsultas.h"

#include "NextNumber.h"
#include "ProductTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

QStringList colunaTexto(Database& db, const Consulta& c)
{
    Statement st = db.prepare(c.sql);
    st.bindList(c.params);
    QStringList linhas;
    while (st.next())
        linhas << st.textValue(0);
    return linhas;
}

}  // namespace

bool buscaProduto(TableCursor& estproma, qint64 filial, qint64 codigo)
{
    return estproma.locate({u"Filial"_s, u"Cod_Reduz"_s}, {filial, codigo});
}

QString nomeProduto(Database& db, qint64 filial, qint64 codigo)
{
    return db.cached(u"SELECT NOME1 FROM Estproma WHERE Filial = ? AND Cod_Reduz = ?"_s)
        .bindList({filial, codigo})
        .scalar()
        .toString();
}

Consulta consultaProdutosDaFilial(qint64 filial, bool inativos)
{
    return {u"SELECT * FROM Estproma WHERE Filial = ?%1 ORDER BY NOME1, Cod_Reduz"_s.arg(
                inativos ? QString() : u" AND SITUACAO = '1'"_s),
            {filial}};
}

Consulta consultaFamiliaProduto(qint64 filial, qint64 codigo)
{
    return {u"SELECT * FROM Estproma WHERE Filial = ? AND SITUACAO = '1' "
            "AND Nivel4 = (SELECT Nivel4 FROM Estproma WHERE Filial = ? AND Cod_Reduz = ?) "
            "ORDER BY LISTA6 DESC, Cod_Reduz"_s,
            {filial, filial, codigo}};
}

Consulta consultaTamanhosProduto(qint64 filial, qint64 codigo)
{
    return {u"SELECT DISTINCT TAMANHO FROM Tamanho WHERE Filial = ? AND Cod_Reduz = ? ORDER BY TAMANHO"_s,
            {filial, codigo}};
}

QStringList tamanhosProduto(Database& db, qint64 filial, qint64 codigo)
{
    return colunaTexto(db, consultaTamanhosProduto(filial, codigo));
}

QStringList observacoesProduto(Database& db, qint64 filial, qint64 codigo)
{
    return colunaTexto(db, {u"SELECT Observacao FROM ObseProd WHERE Filial = ? AND Cod_Reduz = ? "
                            "ORDER BY Sequencia"_s,
                            {filial, codigo}});
}

int proximaSequenciaObservacao(Database& db, qint64 filial, qint64 codigo)
{
    static const TableDef obseProd = obseProdTable();
    return int(nextNumber(db, obseProd, u"Sequencia"_s, {u"Filial"_s, u"Cod_Reduz"_s}, {filial, codigo}));
}

Consulta consultaNiveis(int nivel, qint64 filial)
{
    const TableDef t = estnivTable(nivel);  // refuses a level outside 1 to 5
    const QString n = QString::number(nivel);
    return {u"SELECT Nivel%1 AS Codigo, Descric%1 AS Descricao FROM %2 WHERE Filial = ? "
            "ORDER BY Descric%1, Nivel%1"_s.arg(n, t.name()),
            {filial}};
}

QString descricaoNivel(Database& db, int nivel, qint64 filial, const QString& codigo)
{
    const TableDef t = estnivTable(nivel);
    const QString n = QString::number(nivel);
    return db.cached(u"SELECT Descric%1 FROM %2 WHERE Filial = ? AND Nivel%1 = ?"_s.arg(n, t.name()))
        .bindList({filial, codigo})
        .scalar()
        .toString();
}

}  // namespace pcp
