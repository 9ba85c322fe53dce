#include "FormulaDados.h"

#include "DbError.h"
#include "FormulaTables.h"
#include "L_Critica.h"
#include "Messages.h"
#include "NextNumber.h"
#include "TransacaoSeNecessaria.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// The components of a formula (empty `versao`) or of one of its versions, with
// what the recalculation needs of their products.
struct Componentes {
    QList<qint64> linhas;  // _rowid_ of each component row
    QList<ComponenteCalculo> calculo;
};

QString filtroComponentes(bool versao)
{
    return versao ? u" WHERE c.Filial = ? AND c.Formula = ? AND c.Versao = ?"_s
                  : u" WHERE c.Filial = ? AND c.Formula = ?"_s;
}

Componentes leComponentes(Database& db, const QString& tabela, const QVariantList& chave)
{
    Statement st = db.prepare(
        u"SELECT c._rowid_, c.QUANTIDADE,"
        " CASE WHEN p.SITUACAO = '1' THEN COALESCE(p.Densidade, 0) ELSE 0 END, COALESCE(p.LISTA6, 0)"
        " FROM "_s + tabela + u" c LEFT JOIN Estproma p ON p.Filial = c.Filial AND p.Cod_Reduz = c.Componente"_s
        + filtroComponentes(chave.size() == 3) + u" ORDER BY c.OrdComp"_s);
    st.bindList(chave);
    Componentes c;
    while (st.next()) {
        c.linhas.append(st.intValue(0));
        c.calculo.append({st.doubleValue(1), st.doubleValue(2), st.doubleValue(3)});
    }
    return c;
}

RecalculoFormula recalculaLinhas(Database& db, const QString& tabela, const QVariantList& chave, double taxa)
{
    const Componentes c = leComponentes(db, tabela, chave);
    const RecalculoFormula r = recalculaComponentes(c.calculo, taxa);
    Statement st = db.prepare(u"UPDATE "_s + tabela
                              + u" SET Percentual = ?, CustoItem = ?, PercCusto = ? WHERE _rowid_ = ?"_s);
    for (int i = 0; i < c.linhas.size(); ++i) {
        const ParteComponente& p = r.partes[i];
        st.bindList({p.percentual, p.custoItem, p.percCusto, c.linhas[i]}).run();
        st.reset();
    }
    return r;
}

int numeroDoCodigo(const QString& formula) { return formula.mid(3, 6).trimmed().toInt(); }

}  // namespace

std::optional<double> taxaDolar(Database& db)
{
    Statement st = db.prepare(u"SELECT COALESCE(VALOR, 0) FROM VALORES WHERE Cod_Moeda = 1 AND DATA = ?"_s);
    st.bindList({QDate(2003, 12, 12)});
    if (!st.next())
        return std::nullopt;
    return st.doubleValue(0);
}

RecalculoFormula recalculaFormula(Database& db, int filial, const QString& formula, double taxa,
                                  ModoRecalculo modo)
{
    TransacaoSeNecessaria tx(db);
    const RecalculoFormula r = recalculaLinhas(db, u"Formulai"_s, {filial, formula}, taxa);
    const QString campo = modo == ModoRecalculo::Q ? u"QtdTotal"_s : u"Densidade"_s;
    db.prepare(u"UPDATE Formula SET "_s + campo + u" = ?, UltimoCusto = ? WHERE Filial = ? AND Formula = ?"_s)
        .bindList({modo == ModoRecalculo::Q ? r.soma : r.densidade, r.custo, filial, formula})
        .run();
    tx.commit();
    return r;
}

RecalculoFormula recalculaVersao(Database& db, int filial, const QString& formula, int versao, double taxa)
{
    TransacaoSeNecessaria tx(db);
    const RecalculoFormula r = recalculaLinhas(db, u"FormulaiVersao"_s, {filial, formula, versao}, taxa);
    db.prepare(u"UPDATE FormulaVersao SET CustoTotal = ? WHERE Filial = ? AND Formula = ? AND Versao = ?"_s)
        .bindList({r.custo, filial, formula, versao})
        .run();
    tx.commit();
    return r;
}

bool componenteAceito(Database& db, int filial, qint64 componente)
{
    Statement st = db.prepare(u"SELECT Nivel1, Nivel2 FROM Estproma WHERE Filial = ? AND Cod_Reduz = ?"_s);
    st.bindList({filial, componente});
    return !st.next() || !componenteInvalido(st.textValue(0), st.textValue(1));
}

int gravaComponente(Database& db, int filial, const QString& formula, int ordComp, qint64 componente,
                    double quantidade, double taxa)
{
    if (!componenteAceito(db, filial, componente)) {
        mostraMensagem(u"Componente inválido"_s);
        return 0;
    }
    TransacaoSeNecessaria tx(db);
    if (ordComp <= 0)
        ordComp = int(nextNumber(db, formulaiTable(), u"OrdComp"_s, {u"Filial"_s, u"Formula"_s}, {filial, formula}));
    db.prepare(u"DELETE FROM Formulai WHERE Filial = ? AND Formula = ? AND OrdComp = ?"_s)
        .bindList({filial, formula, ordComp})
        .run();
    db.prepare(u"INSERT INTO Formulai (Filial, Formula, OrdComp, Componente, QUANTIDADE, Percentual, CustoItem,"
               " PercCusto) VALUES (?, ?, ?, ?, ?, 0, 0, 0)"_s)
        .bindList({filial, formula, ordComp, componente, quantidade})
        .run();
    recalculaFormula(db, filial, formula, taxa, ModoRecalculo::Q);
    tx.commit();
    return ordComp;
}

void excluiComponente(Database& db, int filial, const QString& formula, int ordComp, double taxa)
{
    TransacaoSeNecessaria tx(db);
    db.prepare(u"DELETE FROM Formulai WHERE Filial = ? AND Formula = ? AND OrdComp = ?"_s)
        .bindList({filial, formula, ordComp})
        .run();
    recalculaFormula(db, filial, formula, taxa, ModoRecalculo::Q);
    tx.commit();
}

int gravaFormula(Database& db, int filial, const QString& formula, double taxa, const QDate& data)
{
    TransacaoSeNecessaria tx(db);
    Statement cab = db.prepare(
        u"SELECT COALESCE(Densidade, 0), UltimoCust, Observacao FROM Formula WHERE Filial = ? AND Formula = ?"_s);
    cab.bindList({filial, formula});
    if (!cab.next())
        throw DbError(u"Formula %1 não encontrada"_s.arg(formula), DbErrorKind::RecordGone);
    const bool semDensidade = cab.doubleValue(0) == 0;
    const QVariant custo = cab.value(1), observacao = cab.value(2);
    cab.reset();
    if (semDensidade)
        recalculaFormula(db, filial, formula, taxa, ModoRecalculo::D);

    const int versao = int(nextNumber(db, formulaVersaoTable(), u"Versao"_s, {u"Filial"_s, u"Formula"_s},
                                      {filial, formula}));
    db.prepare(u"INSERT INTO FormulaVersao (Filial, Formula, Versao, Data, Observacao, CustoTotal)"
               " VALUES (?, ?, ?, ?, ?, ?)"_s)
        .bindList({filial, formula, versao, data, observacao, custo})
        .run();
    Statement itens = db.prepare(u"SELECT OrdComp, Componente, QUANTIDADE, Percentual, CustoItem, PercCusto"
                                 " FROM Formulai WHERE Filial = ? AND Formula = ? ORDER BY OrdComp"_s);
    itens.bindList({filial, formula});
    Statement insere = db.prepare(
        u"INSERT INTO FormulaiVersao (Filial, Formula, Versao, OrdComp, Componente, QUANTIDADE, Percentual,"
        " CustoItem, PercCusto) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    while (itens.next()) {
        QVariantList linha{filial, formula, versao, itens.value(0), itens.value(1)};
        for (int i = 2; i < 6; ++i)
            linha.append(Arredonda(4, itens.doubleValue(i)));
        insere.bindList(linha).run();
        insere.reset();
    }
    tx.commit();
    return versao;
}

QString prefixoFormula(const QString& nomeFilial)
{
    return nomeFilial.toUpper().contains(u"QUORVELA"_s) ? u"QV "_s : u"ST "_s;
}

std::optional<QString> novaFormula(Store& store, int filial, const QString& nomeFilial, const QDate& hoje)
{
    RecordLock trava = store.locks().tryLock(u"Pcpcfg"_s, {filial});
    if (!trava.held())
        throw DbError(u"Registro bloqueado por outro usuário"_s, DbErrorKind::RecordLocked);
    Database& db = store.db();
    // The counter moves inside the write transaction, so two connections
    // never read the same number even where the record lock is shared.
    Transaction tx(db);
    if (db.prepare(u"UPDATE Pcpcfg SET UltimaFormula = COALESCE(UltimaFormula, 0) + 1 WHERE Filial = ?"_s)
            .bindList({filial})
            .run()
        == 0)
        throw DbError(u"Parâmetros PCP da filial %1 não cadastrados"_s.arg(filial), DbErrorKind::Refused);
    const qint64 numero =
        db.prepare(u"SELECT UltimaFormula FROM Pcpcfg WHERE Filial = ?"_s).bindList({filial}).scalar().toLongLong();
    const QString codigo = prefixoFormula(nomeFilial) + QString::number(numero);
    const bool existe = db.prepare(u"SELECT 1 FROM Formula WHERE Filial = ? AND Formula = ?"_s)
                            .bindList({filial, codigo})
                            .scalar()
                            .toInt() == 1;
    if (!existe)
        db.prepare(u"INSERT INTO Formula (Filial, Formula, DATACAD, PrecoEspecial, Amostra, CodResp)"
                   " VALUES (?, ?, ?, 'N', 1, 117)"_s)
            .bindList({filial, codigo, hoje})
            .run();
    tx.commit();
    if (existe) {
        mostraMensagem(u"Formula já existe"_s);
        return std::nullopt;
    }
    return codigo;
}

void cancelaNovaFormula(Store& store, int filial, const QString& formula)
{
    Database& db = store.db();
    RecordLock trava = store.locks().tryLock(u"Pcpcfg"_s, {filial});
    Transaction tx(db);
    db.prepare(u"DELETE FROM Formulai WHERE Filial = ? AND Formula = ?"_s).bindList({filial, formula}).run();
    if (trava.held())
        db.prepare(u"UPDATE Pcpcfg SET UltimaFormula = UltimaFormula - 1 WHERE Filial = ? AND UltimaFormula = ?"_s)
            .bindList({filial, numeroDoCodigo(formula)})
            .run();
    db.prepare(u"DELETE FROM Formula WHERE Filial = ? AND Formula = ?"_s).bindList({filial, formula}).run();
    tx.commit();
}

}  // namespace pcp
