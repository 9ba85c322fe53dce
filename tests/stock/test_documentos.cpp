// The stock tables as stored, and deleting documents with what hangs off them.
#include "RecusaNoBanco.h"
#include "DocumentCascade.h"
#include "DocumentoEstoque.h"
#include "EstoqueFixture.h"
#include "FormulaTables.h"
#include "TDMMovEst.h"
#include "Transaction.h"

#include <QDate>

namespace pcp::test {
namespace {

TEST(StockTables, KeepTheirLayoutsKeysAndIndexes)
{
    const struct {
        TableDef def;
        int campos;
        QStringList chave;
    } casos[] = {
        {notasTable(), 112, chaveNota()},
        {notaiTable(), 95, chaveItemNota()},
        {notas3Table(), 49, chaveNota()},
        {notai3Table(), 45, chaveItemNota()},
        {nfeNotaiVeicTable(), 30, chaveItemNota() << u"Parametro"_s << u"Cod_Reduz"_s},
        {nfeNotaiImpTable(), 18, chaveItemNota() << u"Cod_reduz"_s},
        {natuoperTable(), 39, {u"Cod_NatOpe"_s, u"COMPLNATOP"_s}},
        {sldprTable(), 10, {u"Filial"_s, u"Ano_Mes"_s, u"Cod_Reduz"_s, u"Tamanho"_s, u"Cod_Deposi"_s}},
        {formulaiVersaoTable(), 9, {u"Filial"_s, u"Formula"_s, u"Versao"_s, u"OrdComp"_s}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(c.def.fields().size(), c.campos) << c.def.name().toStdString();
        EXPECT_EQ(c.def.primaryKey(), c.chave) << c.def.name().toStdString();
        for (const QString& k : c.chave)
            EXPECT_TRUE(c.def.findField(k)) << c.def.name().toStdString() << " " << k.toStdString();
    }
    EXPECT_EQ(notasTable().fields().at(111).name, u"PercCofins"_s);
    EXPECT_EQ(notaiTable().fields().at(94).name, u"Vlr_BaseImpImport"_s);
    EXPECT_EQ(notaiTable().findIndex(u"AnoMes"_s)->fields.mid(0, 6),
              (QStringList{u"Filial"_s, u"ANO_MES"_s, u"Cod_Reduz"_s, u"TAMANHO"_s, u"Cod_Deposi"_s,
                           u"DT_ENTRADA"_s}));
    EXPECT_TRUE(benefTable().findIndex(u"Origem"_s) && benefTable().findIndex(u"Destino"_s));
    EXPECT_TRUE(formulaTable().findIndex(u"Cod_Reduz/Formula"_s));
}

class DocumentosTest : public EstoqueFixture {
protected:
    // Document `nota` with `itens` items, each with NOTAI3 and the three
    // satellites, and the header's NOTAS3 record.
    void documentoCompleto(int nota, int itens)
    {
        const QString data = u"2005-01-10"_s;
        linha(u"Notas"_s, chave(nota, data));
        linha(u"NOTAS3"_s, chave(nota, data));
        for (int i = 1; i <= itens; ++i) {
            QVariantMap k = chave(nota, data);
            k.insert(u"Num_Item"_s, i);
            linha(u"Notai"_s, k);
            linha(u"NOTAI3"_s, k);
            k.insert(u"Cod_Reduz"_s, 100);
            linha(u"Nfe_notai_imp"_s, k);
            k.insert(u"Parametro"_s, 51);
            linha(u"nfe_notai_veic"_s, k);
            linha(u"nfe_notai_medicamentos"_s, k);
        }
    }
    // Rows of every document table that belong to document `nota`.
    QList<int> contagem(int nota)
    {
        QList<int> out;
        for (const QString& t : {u"Notas"_s, u"NOTAS3"_s, u"Notai"_s, u"NOTAI3"_s, u"nfe_notai_veic"_s,
                                 u"nfe_notai_medicamentos"_s, u"Nfe_notai_imp"_s})
            out << sql(u"SELECT count(*) FROM %1 WHERE Num_Nota = ?"_s.arg(t), {nota}).toInt();
        return out;
    }
    static QVariantList chaveLista(int nota) { return {1, nota, 3, 9, QDate(2005, 1, 10)}; }
};

TEST_F(DocumentosTest, DeletingADocumentTakesEverythingAlongAndNothingElse)
{
    documentoCompleto(1, 3);
    documentoCompleto(2, 2);
    linha(u"Notas"_s, chave(3, u"2005-01-10"_s));
    EXPECT_EQ(excluiDocumento(db(), chaveLista(1)), 3);
    EXPECT_EQ(contagem(1), QList<int>(7, 0));
    EXPECT_EQ(contagem(2), (QList<int>{1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(excluiDocumento(db(), chaveLista(3)), 0);  // a bare header
    EXPECT_EQ(contagem(3), QList<int>(7, 0));
    EXPECT_EQ(excluiDocumento(db(), chaveLista(9)), -1);
}

TEST_F(DocumentosTest, AFailedDeletionLeavesTheDocumentWhole)
{
    documentoCompleto(1, 2);
    recusaNoBanco(db(), u"recusa"_s, u"BEFORE DELETE ON Notas"_s, {}, u"recusado"_s);
    EXPECT_THROW(excluiDocumento(db(), chaveLista(1)), DbError);
    EXPECT_EQ(contagem(1), (QList<int>{1, 1, 2, 2, 2, 2, 2}));
}

// Every stock table keyed by a document (or one of its items) is on the list
// the cascade and the writer share, and nothing else is.
TEST(DocumentoEstoque, TheListHoldsEveryTableThatHangsOffADocument)
{
    Catalog c;
    declareStockTables(c);
    QStringList pendurados;
    for (const TableDef& t : c.tables())
        if (t.primaryKey().mid(0, chaveNota().size()) == chaveNota())
            pendurados << t.name();
    QStringList lista = tabelasDoDocumento();
    pendurados.sort();
    lista.sort();
    EXPECT_EQ(lista, pendurados);
    EXPECT_EQ(tabelasDoDocumento().last(), u"Notas"_s);
    EXPECT_EQ(dependentesDe(u"NOTAI3"_s),
              (QStringList{u"nfe_notai_veic"_s, u"nfe_notai_medicamentos"_s, u"Nfe_notai_imp"_s}));
    EXPECT_EQ(dependentesDe(u"Notai"_s).last(), u"NOTAI3"_s);
    EXPECT_TRUE(dependentesDe(u"NOTAS3"_s).isEmpty());
    EXPECT_EQ(dependentesDe(u"Notas"_s).size(), tabelasDoDocumento().size() - 1);
}

class GravadorTest : public DocumentosTest {
protected:
    DocumentoEstoque documento(int nota, int itens)
    {
        DocumentoEstoque d;
        d.chave = {1, nota, 3, 9, u"2005-01-10"_s};
        d.cabecalho = {51};
        d.dependentes.push_back({u"NOTAS3"_s, {}});
        for (int i = 0; i < itens; ++i) {
            ItemDocumento it{{100 + i, 2.5}, {}};
            it.dependentes.push_back({u"NOTAI3"_s, {{u"NaoAtualizaSaldos"_s, u"S"_s}}});
            it.dependentes.push_back({u"Nfe_notai_imp"_s, {{u"Cod_reduz"_s, 100 + i}}});
            d.itens.push_back(it);
        }
        return d;
    }
    GravadorDocumentos gravador() { return GravadorDocumentos(db(), {u"Est_Hist"_s}, {u"Cod_Reduz"_s, u"QUANTIDADE"_s}); }
};

TEST_F(GravadorTest, WritesTheHeaderItemsAndWhatHangsOffThemWithTheMonth)
{
    gravador().grava(documento(1, 3));
    EXPECT_EQ(contagem(1), (QList<int>{1, 1, 3, 3, 0, 0, 3}));
    EXPECT_EQ(colunaJunta(db(), u"SELECT Num_Item || ':' || Cod_Reduz || ':' || ANO_MES FROM Notai ORDER BY Num_Item"_s),
              u"1:100:200501 2:101:200501 3:102:200501"_s);
    EXPECT_EQ(sql(u"SELECT count(*) FROM NOTAI3 WHERE NaoAtualizaSaldos = 'S'"_s).toInt(), 3);
}

TEST_F(GravadorTest, AFailureHalfWayLeavesNoPartOfTheDocument)
{
    recusaNoBanco(db(), u"recusa"_s, u"BEFORE INSERT ON Nfe_notai_imp"_s, u"NEW.Num_Item = 3"_s, u"disco cheio"_s);
    EXPECT_THROW(gravador().grava(documento(1, 3)), DbError);
    EXPECT_EQ(contagem(1), QList<int>(7, 0));
    EXPECT_FALSE(db().inTransaction());
}

TEST_F(GravadorTest, RefusesADocumentBeyondTheLastItemNumberBeforeWriting)
{
    try {
        gravador().grava(documento(1, int(kMaiorNumItem) + 1));
        ADD_FAILURE() << "written";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Refused);
    }
    EXPECT_EQ(contagem(1), QList<int>(7, 0));
}

TEST_F(GravadorTest, ReplacingTakesTheOldDocumentAwayWhole)
{
    documentoCompleto(1, 3);
    QVariantMap solto = chave(1, u"2005-01-10"_s);  // one more item, without satellites
    solto.insert(u"Num_Item"_s, 9);
    linha(u"Notai"_s, solto);
    gravador().substitui(documento(1, 1));
    EXPECT_EQ(contagem(1), (QList<int>{1, 1, 1, 1, 0, 0, 1}));
}

TEST_F(DocumentosTest, TheModuleDeletesOneRecordWithItsDependents)
{
    documentoCompleto(1, 2);
    TDMMovEst dm(store);
    dm.openAll();
    ASSERT_TRUE(dm.Notas.findKey(chaveLista(1)));
    ASSERT_EQ(dm.Notai.recordCount(), 2);
    dm.excluiNotai();  // the first item
    EXPECT_EQ(contagem(1), (QList<int>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(sql(u"SELECT Num_Item FROM NOTAI3"_s).toInt(), 2);
    ASSERT_FALSE(dm.NOTAI3.isEmpty());
    dm.excluiNotai3();
    EXPECT_EQ(contagem(1), (QList<int>{1, 1, 1, 0, 0, 0, 0}));
    dm.excluiNotas();
    EXPECT_EQ(contagem(1), QList<int>(7, 0));  // the header takes its items along
    dm.closeAll();
}

}  // namespace
}  // namespace pcp::test
