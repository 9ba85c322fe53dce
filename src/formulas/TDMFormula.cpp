#include "TDMFormula.h"

#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TDMFormula::TDMFormula(std::shared_ptr<Store> store)
    : DataModule(store), Formula(store, u"Formula"_s), Formulai(store, u"Formulai"_s),
      FormulaVersao(store, u"FormulaVersao"_s), FormulaiVersao(store, u"FormulaiVersao"_s),
      Pcpcfg(store, u"Pcpcfg"_s), Estproma(store, u"Estproma"_s), MOEDA(store, u"MOEDA"_s),
      VALORES(store, u"VALORES"_s)
{
    const QStringList chave{u"Filial"_s, u"Formula"_s};
    Formulai.setMasterLink(&Formula, chave);
    FormulaVersao.setMasterLink(&Formula, chave);
    FormulaiVersao.setMasterLink(&FormulaVersao, {u"Filial"_s, u"Formula"_s, u"Versao"_s});
    declare({&Formula, &Formulai, &FormulaVersao, &FormulaiVersao, &Pcpcfg, &Estproma, &MOEDA, &VALORES});
}

namespace {
bool emEdicao(const TableCursor& t)
{
    return t.state() == TableCursor::State::Edit || t.state() == TableCursor::State::Insert;
}
}  // namespace

RecalculoFormula TDMFormula::recalcula(double taxa, ModoRecalculo modo)
{
    const int filial = Formula.value(u"Filial"_s).toInt();
    const QString codigo = Formula.value(u"Formula"_s).toString();
    const RecalculoFormula r = recalculaFormula(store().db(), filial, codigo, taxa, modo);
    if (emEdicao(Formula)) {
        if (modo == ModoRecalculo::Q)
            Formula.setValue(u"QtdTotal"_s, r.soma);
        else
            Formula.setValue(u"Densidade"_s, r.densidade);
        Formula.setValue(u"UltimoCusto"_s, r.custo);
    }
    if (Formulai.active())
        Formulai.refresh();
    return r;
}

int TDMFormula::grava(double taxa, const QDate& data)
{
    const int filial = Formula.value(u"Filial"_s).toInt();
    const QString codigo = Formula.value(u"Formula"_s).toString();
    Transaction tx(store().db());
    if (emEdicao(Formula))
        Formula.post();
    const int versao = gravaFormula(store().db(), filial, codigo, taxa, data);
    tx.commit();
    Formula.refresh();
    if (FormulaVersao.active())
        FormulaVersao.refresh();
    return versao;
}

}  // namespace pcp
