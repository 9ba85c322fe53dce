// The demo's stock: its formulas, documents and rolled balances hold together,
// whatever day the demo is created on.
#include "DemoCatalogo.h"
#include "DemoEstoque.h"
#include "DemoInstalacao.h"
#include "L_Estoque.h"
#include "Linhas.h"
#include "ScriptedTest.h"
#include "ServidorTeste.h"
#include "Sessao.h"
#include "Store.h"
#include "Tabelas.h"
#include "Transaction.h"

#include <QDir>
#include <cmath>
#include <map>
#include <vector>

using namespace pcp;
using namespace pcp::test;
using namespace Qt::Literals::StringLiterals;

namespace {

using Linhas = std::vector<QVariantList>;

Linhas linhas(Database& db, const QString& sql, const QVariantList& params = {})
{
    Linhas r;
    Statement st = db.prepare(sql);
    st.bindList(params);
    while (st.next()) {
        QVariantList l;
        for (int c = 0; c < st.columnCount(); ++c)
            l << st.value(c);
        r.push_back(l);
    }
    return r;
}

QVariant escalar(Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.prepare(sql).bindList(params).scalar();
}

QString descreve(const QVariantList& l)
{
    QStringList t;
    for (const QVariant& v : l)
        t << (v.isNull() ? u"null"_s : v.toString());
    return t.join(u" | "_s);
}

// "yyyymm" of a date read from the store ("yyyy-mm-dd").
QString anoMes(const QVariant& data)
{
    const QString t = data.toString();
    return t.left(4) + t.mid(5, 2);
}

// Each query lists the rows that break a rule; none may come back.
void nenhuma(Database& db, const char* regra, const QString& sql, const QVariantList& params = {})
{
    for (const QVariantList& l : linhas(db, sql, params))
        ADD_FAILURE() << regra << ": " << descreve(l).toStdString();
}

// The five months before the month of `hoje`, as "yyyymm".
QStringList mesesAntes(QDate hoje)
{
    QStringList r;
    const QDate primeiro(hoje.year(), hoje.month(), 1);
    for (int m = 5; m >= 1; --m)
        r << primeiro.addMonths(-m).toString(u"yyyyMM"_s);
    return r;
}

// An item with its header, the header's movement class and the item's flag.
const QString kItens = uR"(
  FROM Notai i
  JOIN Notas n ON n.Filial = i.Filial AND n.Num_Nota = i.Num_Nota AND n.Tipo_Nota = i.Tipo_Nota
       AND n.Cod_Clifor = i.Cod_Clifor AND n.DT_ENTRADA = i.DT_ENTRADA
  JOIN HistEst h ON h.Est_Hist = n.Est_Hist
  LEFT JOIN NOTAI3 x ON x.Filial = i.Filial AND x.Num_Nota = i.Num_Nota AND x.Tipo_Nota = i.Tipo_Nota
       AND x.Cod_Clifor = i.Cod_Clifor AND x.DT_ENTRADA = i.DT_ENTRADA AND x.Num_Item = i.Num_Item)"_s;

const QString kMesmaChave =
    u"i.Filial = s.Filial AND i.Cod_Reduz = s.Cod_Reduz AND i.TAMANHO IS NOT DISTINCT FROM s.Tamanho AND i.Cod_Deposi = s.Cod_Deposi"_s;

void confereDocumentos(Database& db, const QStringList& meses)
{
    EXPECT_EQ(colunaJunta(db, u"SELECT DISTINCT ANO_MES FROM Notai ORDER BY 1"_s, u","_s), meses.join(u","_s));
    for (const QVariantList& l : linhas(db, u"SELECT Num_Nota, Tipo_Nota, Num_Item, ANO_MES, DT_ENTRADA FROM Notai"_s))
        EXPECT_EQ(l[3].toString(), anoMes(l[4])) << "ANO_MES is the month of DT_ENTRADA: " << descreve(l).toStdString();
    nenhuma(db, "item without its header, history, product or warehouse",
            uR"(SELECT i.Num_Nota, i.Tipo_Nota, i.Num_Item, i.Cod_Reduz FROM Notai i
                  LEFT JOIN Notas n ON n.Filial = i.Filial AND n.Num_Nota = i.Num_Nota AND n.Tipo_Nota = i.Tipo_Nota
                       AND n.Cod_Clifor = i.Cod_Clifor AND n.DT_ENTRADA = i.DT_ENTRADA
                  LEFT JOIN HistEst h ON h.Est_Hist = n.Est_Hist
                  LEFT JOIN Estproma e ON e.Filial = i.Filial AND e.Cod_Reduz = i.Cod_Reduz
                  LEFT JOIN Deposito d ON d.Filial = i.Filial AND d.Cod_Deposi = i.Cod_Deposi
                 WHERE n._rowid_ IS NULL OR h._rowid_ IS NULL OR e._rowid_ IS NULL OR d._rowid_ IS NULL)"_s);
    nenhuma(db, "document whose partner is not registered",
            u"SELECT n.Num_Nota, n.Tipo_Nota, n.Cod_Clifor FROM Notas n LEFT JOIN Clifor c "
            "ON c.Filial = n.Filial AND c.Cod_Clifor = n.Cod_Clifor WHERE c._rowid_ IS NULL"_s);
    nenhuma(db, "document without items",
            u"SELECT n.Num_Nota, n.Tipo_Nota FROM Notas n WHERE NOT EXISTS (SELECT 1 FROM Notai i "
            "WHERE i.Filial = n.Filial AND i.Num_Nota = n.Num_Nota AND i.Tipo_Nota = n.Tipo_Nota "
            "AND i.Cod_Clifor = n.Cod_Clifor AND i.DT_ENTRADA = n.DT_ENTRADA)"_s);
    nenhuma(db, "size that does not match the product's sizes",
            u"SELECT i.Num_Nota, i.Num_Item, i.Cod_Reduz, i.TAMANHO FROM Notai i WHERE "
            "(i.TAMANHO IS NULL) = EXISTS (SELECT 1 FROM Tamanho t WHERE t.Filial = i.Filial "
            "AND t.Cod_Reduz = i.Cod_Reduz) "
            "OR (i.TAMANHO IS NOT NULL AND NOT EXISTS (SELECT 1 FROM Tamanho t WHERE t.Filial = i.Filial "
            "AND t.Cod_Reduz = i.Cod_Reduz AND t.TAMANHO = i.TAMANHO))"_s);
    // every movement class the engine knows is moved by some document
    EXPECT_EQ(colunaJunta(db,
                          u"SELECT DISTINCT CASE WHEN h.Param_Hist = 2 THEN 'media' "
                          "WHEN h.Param_Hist < 49 THEN 'entrada' WHEN h.Param_Hist = 49 THEN 'quantidade' "
                          "WHEN h.Param_Hist = 50 THEN 'neutro' ELSE 'saida' END "_s +
                              kItens + u" ORDER BY 1"_s,
                          u","_s),
              u"entrada,media,neutro,quantidade,saida"_s);
    EXPECT_GE(escalar(db, u"SELECT count(*) FROM NOTAI3 WHERE NaoAtualizaSaldos = 'S'"_s).toInt(), 1);
}

void confereFormulas(Database& db)
{
    nenhuma(db, "formula whose shares do not add up to 100 or whose total is not the sum of its quantities",
            u"SELECT f.Formula, sum(c.Percentual), f.QtdTotal, sum(c.QUANTIDADE) FROM Formula f "
            "JOIN Formulai c ON c.Filial = f.Filial AND c.Formula = f.Formula GROUP BY f.Filial, f.Formula, f.QtdTotal "
            "HAVING abs(sum(c.Percentual) - 100) > 1e-9 OR abs(f.QtdTotal - sum(c.QUANTIDADE)) > 1e-9"_s);
    nenhuma(db, "components not numbered 1..n",
            u"SELECT Formula, min(OrdComp), max(OrdComp), count(*) FROM Formulai GROUP BY Filial, Formula "
            "HAVING min(OrdComp) <> 1 OR max(OrdComp) <> count(*)"_s);
    nenhuma(db, "share that is not the component's quantity over the batch (to 4 places, residue on the last)",
            u"SELECT c.Formula, c.OrdComp, c.Percentual, c.QUANTIDADE * 100 / f.QtdTotal FROM Formulai c "
            "JOIN Formula f ON f.Filial = c.Filial AND f.Formula = c.Formula "
            "WHERE abs(c.Percentual - c.QUANTIDADE * 100 / f.QtdTotal) > 0.0001 * "
            "(1 + (SELECT count(*) FROM Formulai o WHERE o.Filial = c.Filial AND o.Formula = c.Formula))"_s);
    nenhuma(db, "component that is not an active raw material",
            u"SELECT c.Formula, c.Componente FROM Formulai c LEFT JOIN Estproma e ON e.Filial = c.Filial "
            "AND e.Cod_Reduz = c.Componente WHERE e._rowid_ IS NULL OR e.Nivel1 <> '01' OR e.SITUACAO <> '1'"_s);
    nenhuma(db, "finished paint without a formula, or whose own formula makes another product",
            u"SELECT e.Cod_Reduz, e.Formula FROM Estproma e LEFT JOIN Formula f ON f.Filial = e.Filial "
            "AND f.Formula = e.Formula WHERE e.Nivel1 = '02' AND (f._rowid_ IS NULL OR f.Cod_Reduz <> e.Cod_Reduz)"_s);
    nenhuma(db, "formula without components or with a density that is not positive",
            u"SELECT f.Formula, f.Densidade FROM Formula f WHERE NOT (f.Densidade > 0) OR NOT EXISTS "
            "(SELECT 1 FROM Formulai c WHERE c.Filial = f.Filial AND c.Formula = f.Formula)"_s);
    nenhuma(db, "version 1 that is not a copy of the components",
            u"SELECT c.Formula, c.OrdComp FROM Formulai c LEFT JOIN FormulaiVersao v ON v.Filial = c.Filial "
            "AND v.Formula = c.Formula AND v.Versao = 1 AND v.OrdComp = c.OrdComp AND v.Componente = c.Componente "
            "AND v.QUANTIDADE = c.QUANTIDADE AND v.Percentual = c.Percentual WHERE v._rowid_ IS NULL"_s);
    for (const QVariantList& l :
         linhas(db, u"SELECT f.Formula, p.UltimaFormula FROM Formula f JOIN Pcpcfg p ON p.Filial = f.Filial"_s)) {
        const QString codigo = l[0].toString();
        bool numero = false;
        const int n = codigo.mid(3).trimmed().toInt(&numero);
        EXPECT_TRUE(codigo.startsWith(u"ST "_s) && numero && n <= l[1].toInt())
            << "formula code the register would still hand out: " << descreve(l).toStdString();
    }
    nenhuma(db, "finished paint on a document with a formula of another product, or none",
            u"SELECT i.Num_Nota, i.Tipo_Nota, i.Num_Item, i.Cod_Reduz, i.FORMULA FROM Notai i "
            "JOIN Estproma e ON e.Filial = i.Filial AND e.Cod_Reduz = i.Cod_Reduz "
            "LEFT JOIN Formula f ON f.Filial = i.Filial AND f.Formula = i.FORMULA "
            "WHERE e.Nivel1 = '02' AND i.Tipo_Nota = 1 AND (f._rowid_ IS NULL OR f.Cod_Reduz <> i.Cod_Reduz)"_s);
}

// The write-offs are what "Baixa Estoque Materia Prima" makes of the sales
// invoices: under the invoice's key, each sold line times its formula's shares.
void confereBaixas(Database& db, const QStringList& meses)
{
    const QVariant venda = escalar(db, u"SELECT Est_Hist FROM HistEst WHERE DESCR_HIST = 'VENDA'"_s);
    const QVariant baixa = escalar(db, u"SELECT Est_Hist FROM HistEst WHERE DESCR_HIST = 'BAIXA MATERIA PRIMA'"_s);
    ASSERT_FALSE(venda.isNull());
    ASSERT_FALSE(baixa.isNull());
    const Linhas docs = linhas(db,
                               u"SELECT Num_Nota, Cod_Clifor, DT_ENTRADA, SISTEMA, OBSERVACAO FROM Notas WHERE "
                               "Filial = 1 AND Tipo_Nota = 3 AND Est_Hist = ? ORDER BY DT_ENTRADA, Num_Nota"_s,
                               {baixa});
    ASSERT_FALSE(docs.empty());
    for (const QVariantList& d : docs) {
        SCOPED_TRACE(descreve(d).toStdString());
        EXPECT_EQ(d[3].toString(), u"E"_s);
        EXPECT_EQ(d[4].toString(), u"BAIXA MATERIA PRIMA"_s);
        EXPECT_EQ(escalar(db, u"SELECT count(*) FROM Notas WHERE Filial = 1 AND Tipo_Nota = 1 AND Num_Nota = ? "
                              "AND DT_ENTRADA = ? AND Est_Hist = ?"_s,
                          {d[0], d[2], venda})
                      .toInt(),
                  1);
        const Linhas esperado = linhas(
            db, uR"(SELECT c.Componente, v.QUANTIDADE * c.Percentual / 100 FROM Notai v
                      JOIN Notas n ON n.Filial = v.Filial AND n.Num_Nota = v.Num_Nota AND n.Tipo_Nota = v.Tipo_Nota
                           AND n.Cod_Clifor = v.Cod_Clifor AND n.DT_ENTRADA = v.DT_ENTRADA
                      JOIN Formulai c ON c.Filial = v.Filial AND c.Formula = v.FORMULA
                     WHERE v.Filial = 1 AND v.Tipo_Nota = 1 AND v.Num_Nota = ? AND v.DT_ENTRADA = ?
                       AND n.Est_Hist = ?
                     ORDER BY v.Num_Item, c.OrdComp)"_s,
            {d[0], d[2], venda});
        const Linhas gravado = linhas(db, u"SELECT Cod_Reduz, QUANTIDADE, Num_Item, Parametro, Cod_Deposi, TAMANHO "
                                          "FROM Notai WHERE Filial = 1 AND Tipo_Nota = 3 AND Num_Nota = ? "
                                          "AND Cod_Clifor = ? AND DT_ENTRADA = ? ORDER BY Num_Item"_s,
                                          {d[0], d[1], d[2]});
        ASSERT_EQ(gravado.size(), esperado.size());
        for (size_t k = 0; k < gravado.size(); ++k) {
            EXPECT_EQ(gravado[k][0].toInt(), esperado[k][0].toInt()) << k;
            EXPECT_NEAR(gravado[k][1].toDouble(), esperado[k][1].toDouble(), 1e-9) << k;
            EXPECT_EQ(gravado[k][2].toInt(), int(k + 1));
            EXPECT_EQ(gravado[k][3].toInt(), 51);
            EXPECT_EQ(gravado[k][4].toInt(), 1);
            EXPECT_TRUE(gravado[k][5].isNull());
        }
    }
    // every sales invoice has its write-off except those of the last month,
    // which are left for the user to run
    const QString ultimo = meses.last();
    for (const QVariantList& v :
         linhas(db, u"SELECT n.Num_Nota, n.DT_ENTRADA, "
                    "(SELECT count(*) FROM Notas b WHERE b.Filial = n.Filial AND b.Tipo_Nota = 3 "
                    "AND b.Num_Nota = n.Num_Nota AND b.DT_ENTRADA = n.DT_ENTRADA AND b.Est_Hist = ?) "
                    "FROM Notas n WHERE n.Filial = 1 AND n.Tipo_Nota = 1 AND n.Est_Hist = ?"_s,
                {baixa, venda}))
        EXPECT_EQ(v[2].toInt(), anoMes(v[1]) == ultimo ? 0 : 1) << descreve(v).toStdString();
}

void confereSaldos(Store& store, const QStringList& meses)
{
    Database& db = store.db();
    EXPECT_EQ(colunaJunta(db, u"SELECT DISTINCT Ano_Mes FROM Sldpr ORDER BY 1"_s, u","_s), meses.join(u","_s));
    // every key moved gets a row in each month from its first movement on
    nenhuma(db, "balance key missing a month",
            uR"(SELECT k.Cod_Reduz, k.TAMANHO, k.Cod_Deposi, k.primeiro FROM (SELECT Filial, Cod_Reduz, TAMANHO,
                       Cod_Deposi, min(ANO_MES) primeiro FROM Notai GROUP BY Filial, Cod_Reduz, TAMANHO, Cod_Deposi) k
                 WHERE (SELECT count(*) FROM Sldpr s WHERE s.Filial = k.Filial AND s.Cod_Reduz = k.Cod_Reduz
                           AND s.Tamanho IS NOT DISTINCT FROM k.TAMANHO AND s.Cod_Deposi = k.Cod_Deposi AND s.Ano_Mes >= k.primeiro)
                       <> (SELECT count(DISTINCT ANO_MES) FROM Notai WHERE ANO_MES >= k.primeiro))"_s);
    // Fisico of each month is every earlier item by the physical rule: entries
    // in, exits out, neutral and flagged items left aside
    nenhuma(db, "Fisico that is not the sum of the movements so far",
            u"SELECT * FROM (SELECT s.Ano_Mes, s.Cod_Reduz, s.Tamanho, s.Cod_Deposi, s.Fisico, (SELECT "
            "coalesce(sum(CASE WHEN h.Param_Hist < 50 THEN i.QUANTIDADE WHEN h.Param_Hist > 50 THEN -i.QUANTIDADE "
            "ELSE 0 END), 0) "_s +
                kItens + u" WHERE "_s + kMesmaChave +
                u" AND i.ANO_MES <= s.Ano_Mes AND x.NaoAtualizaSaldos IS DISTINCT FROM 'S') AS t FROM Sldpr s) AS q "
                "WHERE abs(Fisico - t) > 0.01"_s);
    // Medio moves by the cost of the month's entries and exits
    nenhuma(db, "Medio that is not the previous one plus the entries and minus the exits",
            u"SELECT * FROM (SELECT s.Ano_Mes, s.Cod_Reduz, s.Tamanho, s.Cod_Deposi, s.Medio, coalesce((SELECT p.Medio FROM Sldpr p "
            "WHERE p.Filial = s.Filial AND p.Cod_Reduz = s.Cod_Reduz AND p.Tamanho IS NOT DISTINCT FROM s.Tamanho "
            "AND p.Cod_Deposi = s.Cod_Deposi AND p.Ano_Mes < s.Ano_Mes ORDER BY p.Ano_Mes DESC LIMIT 1), 0) + "
            "(SELECT coalesce(sum(CASE WHEN h.Param_Hist < 49 THEN i.VLR_CUSTO WHEN h.Param_Hist > 50 "
            "THEN -i.VLR_CUSTO ELSE 0 END), 0) "_s +
                kItens + u" WHERE "_s + kMesmaChave +
                u" AND i.ANO_MES = s.Ano_Mes) AS t FROM Sldpr s) AS q WHERE abs(Medio - t) > 0.01"_s);
    nenhuma(db, "negative balance", u"SELECT Ano_Mes, Cod_Reduz, Tamanho, Cod_Deposi, Fisico, Medio FROM Sldpr "
                                    "WHERE Fisico < 0 OR Medio < 0 OR (Fisico > 0) <> (Medio > 0)"_s);
    // exits left with stock on hand, and entries had a cost
    nenhuma(db, "item the average cost left unvalued",
            u"SELECT i.Num_Nota, i.Tipo_Nota, i.Num_Item, i.Cod_Reduz, i.VLR_CUSTO, i.VLR_MEDIO "_s + kItens +
                u" WHERE h.Param_Hist NOT IN (49, 50) AND NOT (i.VLR_CUSTO > 0 AND i.VLR_MEDIO > 0)"_s);
    // each raw material still has what the last month's pending write-off will take
    nenhuma(db, "raw material that runs out",
            uR"(SELECT * FROM (SELECT e.Cod_Reduz, s.Fisico, (SELECT coalesce(sum(v.QUANTIDADE * c.Percentual / 100), 0)
                  FROM Notai v JOIN Notas n ON n.Filial = v.Filial AND n.Num_Nota = v.Num_Nota
                       AND n.Tipo_Nota = v.Tipo_Nota AND n.Cod_Clifor = v.Cod_Clifor AND n.DT_ENTRADA = v.DT_ENTRADA
                  JOIN HistEst h ON h.Est_Hist = n.Est_Hist AND h.DESCR_HIST = 'VENDA'
                  JOIN Formulai c ON c.Filial = v.Filial AND c.Formula = v.FORMULA AND c.Componente = e.Cod_Reduz
                 WHERE v.Tipo_Nota = 1 AND v.ANO_MES = ?) AS pendente
                  FROM Estproma e LEFT JOIN Sldpr s ON s.Filial = e.Filial AND s.Cod_Reduz = e.Cod_Reduz
                       AND s.Ano_Mes = ? AND s.Cod_Deposi = 1
                 WHERE e.Filial = 1 AND e.Nivel1 = '01') AS q WHERE NOT (Fisico > pendente))"_s,
            {meses.last(), meses.last()});
    // the unit average of a raw material lies among the prices it was bought at
    nenhuma(db, "average cost outside the purchase prices",
            u"SELECT e.Cod_Reduz, e.CustoMedio, min(i.VLR_CUSTO / i.QUANTIDADE), max(i.VLR_CUSTO / i.QUANTIDADE) "_s +
                kItens + u" JOIN Estproma e ON e.Filial = i.Filial AND e.Cod_Reduz = i.Cod_Reduz "
                         "WHERE e.Nivel1 = '01' AND h.Param_Hist = 1 GROUP BY e.Filial, e.Cod_Reduz, e.CustoMedio "
                         "HAVING NOT (e.CustoMedio BETWEEN 0.9 * min(i.VLR_CUSTO / i.QUANTIDADE) "
                         "AND 1.1 * max(i.VLR_CUSTO / i.QUANTIDADE))"_s);

    // A fresh physical recomputation of the last month changes nothing.
    const Linhas ultimo = linhas(db, u"SELECT Cod_Reduz, Tamanho, Cod_Deposi, Fisico, Fisico2 FROM Sldpr "
                                     "WHERE Filial = 1 AND Ano_Mes = ? ORDER BY _rowid_"_s,
                                 {meses.last()});
    ASSERT_FALSE(ultimo.empty());
    for (const QVariantList& s : ultimo) {
        AtualizaSaldoFisico(store, {1, 0}, *Mes::deAnoMes(meses.last()), s[0].toLongLong(), s[1].toString(),
                            s[2].toLongLong(), false);
        const Linhas agora = linhas(db, u"SELECT Fisico, Fisico2 FROM Sldpr WHERE Filial = 1 AND Ano_Mes = ? "
                                        "AND Cod_Reduz = ? AND Tamanho IS NOT DISTINCT FROM ? AND Cod_Deposi = ?"_s,
                                    {meses.last(), s[0], s[1], s[2]});
        ASSERT_EQ(agora.size(), 1u);
        EXPECT_EQ(agora[0][0].toDouble(), s[3].toDouble()) << descreve(s).toStdString();
        EXPECT_EQ(agora[0][1].toDouble(), s[4].toDouble()) << descreve(s).toStdString();
    }
}

void confereEstoque(Store& store, QDate hoje)
{
    const QStringList meses = mesesAntes(hoje);
    Database& db = store.db();
    ASSERT_GT(escalar(db, u"SELECT count(*) FROM Notai"_s).toInt(), 100);
    {
        SCOPED_TRACE("documentos");
        confereDocumentos(db, meses);
    }
    {
        SCOPED_TRACE("formulas");
        confereFormulas(db);
    }
    {
        SCOPED_TRACE("baixas");
        confereBaixas(db, meses);
    }
    {
        SCOPED_TRACE("saldos");
        confereSaldos(store, meses);
    }
}

class DemoEstoque : public ScriptedTest {
protected:
    void SetUp() override
    {
        declaraTabelas();
        sessao() = {};
    }
    void TearDown() override
    {
        sessao() = {};
        ScriptedTest::TearDown();
    }
    // A company store with its branch and catalogue, as the demo writes them.
    std::shared_ptr<Store> empresa(const QString& nome)
    {
        const QString pasta = tmp.filePath(nome);
        QDir().mkpath(pasta);
        preparaPastaDeTeste(pasta);
        auto store = Store::openCompany(pasta);
        Transaction tx(store->db());
        store->db().exec(u"INSERT INTO Filial (Filial, NOME, FIL_CIDADE, FIL_ESTADO, CGC, FATMODNF, USATAMANHO) "
                         "VALUES (1, 'MATRIZ', 'SAO PAULO', 'SP', '11222333000181', 0, 'S'); "
                         "INSERT INTO Estoqcfg (Filial, Data) VALUES (1, '2024-01-01'); "
                         "INSERT INTO Pcpcfg (Filial, UltimaFormula) VALUES (1, 120)"_s);
        preencheCatalogoDemo(*store);
        tx.commit();
        return store;
    }
    // Every table the stock data writes, row by row.
    static QStringList conteudo(Database& db)
    {
        QStringList r;
        for (const QString& t : {u"Formula"_s, u"Formulai"_s, u"FormulaVersao"_s, u"FormulaiVersao"_s, u"HistEst"_s,
                                 u"Natuoper"_s, u"Deposito"_s, u"Notas"_s, u"Notai"_s, u"NOTAI3"_s, u"Sldpr"_s})
            for (const QVariantList& l : linhas(db, u"SELECT * FROM %1 ORDER BY _rowid_"_s.arg(t)))
                r << t + u": "_s + descreve(l);
        for (const QVariantList& l :
             linhas(db, u"SELECT Cod_Reduz, CustoMedio, Qtd_Fis, Formula FROM Estproma ORDER BY _rowid_"_s))
            r << u"Estproma: "_s + descreve(l);
        return r;
    }
};

TEST_F(DemoEstoque, EveryCompanyOfTheDemoHoldsTogether)
{
    sessao().FilialAtual = 2;
    sessao().FatModNf = 77;
    Paths paths;
    paths.instalacao = paths.programa = paths.dados = tmp.path();
    QString erro;
    ASSERT_TRUE(criaDemo(paths, &erro)) << erro.toStdString();
    EXPECT_EQ(sessao().FilialAtual, 2) << "the session is given back";
    EXPECT_EQ(sessao().FatModNf, 77);
    const QDate hoje = QDate::currentDate();
    for (const QString& pasta : {u"\\Dados\\Matriz"_s, u"\\Dados\\Sul"_s, u"\\Dados\\BoaVista"_s}) {
        SCOPED_TRACE(pasta.toStdString());
        auto store = Store::openCompany(paths.companyFolder(pasta));
        confereEstoque(*store, hoje);
        EXPECT_EQ(escalar(store->db(), u"SELECT count(*) FROM Notai WHERE Filial <> 1"_s).toInt(), 0);
    }
}

// The months follow the creation date, across year ends and short months.
TEST_F(DemoEstoque, MonthsBeforeAnyCreationDate)
{
    for (const QDate hoje : {QDate(2027, 1, 15), QDate(2026, 3, 31), QDate(2028, 7, 1)}) {
        SCOPED_TRACE(hoje.toString(Qt::ISODate).toStdString());
        auto store = empresa(hoje.toString(u"yyyyMMdd"_s));
        preencheEstoqueDemo(*store, hoje);
        confereEstoque(*store, hoje);
    }
}

TEST_F(DemoEstoque, TheSameDayGivesTheSameData)
{
    auto a = empresa(u"a"_s);
    auto b = empresa(u"b"_s);
    preencheEstoqueDemo(*a, QDate(2026, 12, 10));
    preencheEstoqueDemo(*b, QDate(2026, 12, 10));
    const QStringList ca = conteudo(a->db()), cb = conteudo(b->db());
    EXPECT_GT(ca.size(), 500);
    EXPECT_EQ(ca, cb);
}

// Whatever the engine would say stops the demo with the text: no message
// box comes up while the demo is created, and the session is given back.
TEST_F(DemoEstoque, AnEngineMessageStopsTheDemoWithoutAMessageBox)
{
    auto store = empresa(u"c"_s);
    // an item whose header is missing, in the demo's second month
    store->db().exec(u"INSERT INTO Notai (Filial, Num_Nota, Tipo_Nota, Cod_Clifor, DT_ENTRADA, Num_Item, Cod_Reduz, "
                     "Cod_Deposi, ANO_MES, QUANTIDADE) "
                     "VALUES (1, 99, 2, 500, '2026-08-05', 1, 1001, 1, '202608', 10)"_s);
    sessao().FilialAtual = 3;
    sessao().FatModNf = 5;
    try {
        preencheEstoqueDemo(*store, QDate(2026, 12, 10));
        ADD_FAILURE() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(u"Nota nao cadastrada:99-2-500-05/08/2026"_s)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"202608"_s)) << e.message().toStdString();
    }
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(sessao().FilialAtual, 3);
    EXPECT_EQ(sessao().FatModNf, 5);
}

}  // namespace
