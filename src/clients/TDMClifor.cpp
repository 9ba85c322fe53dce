#include "TDMClifor.h"

#include "CliforTables.h"
#include "TableRoutines.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

TDMClifor* current = nullptr;

// A sacrament of a child: its flag, its date, and the fields that need the date.
struct Sacramento {
    const char16_t* marca;
    const char16_t* data;
    const char16_t* local;
    const char16_t* igreja;
};
constexpr Sacramento kSacramentos[] = {
    {u"BATISMO", u"BT_DATA", u"BT_LOCAL", u"BT_IGREJA"},
    {u"PRIM_COMUN", u"PC_DATA", u"PC_LOCAL", u"PC_IGREJA"},
    {u"CRISMA", u"CR_DATA", u"CR_LOCAL", u"CR_IGREJA"},
};

}  // namespace

TDMClifor::TDMClifor(std::shared_ptr<Store> store)
    : DataModule(store),
      TClifor(store, u"Clifor"_s),
      TCliFor2(store, u"CLIFOR2"_s),
      TFilhos(store, u"FILHOS"_s),
      tSped_AlteraClifor(store, u"Sped_AlteraClifor"_s),
      TVendedor(store, u"Vendedor"_s),
      TRegiao(store, u"Regiao"_s),
      TBanco(store, u"Banco"_s),
      TTranspor(store, u"Transpor"_s),
      TVencto(store, u"Vencto"_s),
      TConceito(store, u"Conceito"_s),
      TPraca(store, u"Praca"_s),
      TPaises(store, u"PAISES"_s),
      TMunic(store, u"MUNIC"_s),
      TRamoAtiv(store, u"RamoAtiv"_s),
      TEnquadra(store, u"Enquadra"_s),
      TContas(store, u"Contas"_s),
      historico_(store)
{
    declare({&TClifor, &TCliFor2, &TFilhos, &tSped_AlteraClifor, &TVendedor, &TRegiao, &TBanco, &TTranspor,
             &TVencto, &TConceito, &TPraca, &TPaises, &TMunic, &TRamoAtiv, &TEnquadra, &TContas});
    TClifor.setIndexName(QString::fromUtf16(kIndiceNomeClifor));
    TPraca.setIndexName(u"Nome"_s);
    TEnquadra.setIndexName(u"Alfa"_s);
    for (TableCursor* satellite : {&TCliFor2, &TFilhos, &tSped_AlteraClifor})
        satellite->setMasterLink(&TClifor, {u"Filial"_s, u"Cod_Clifor"_s});
    QObject::connect(&TClifor, &TableCursor::afterPost, &TClifor, [this] {
        const bool gravou = historico_.marcado();
        historico_.registra(TClifor);
        if (gravou && tSped_AlteraClifor.active())
            tSped_AlteraClifor.refresh();
    });
}

QString TDMClifor::NomeConc() const
{
    if (!TClifor.active() || TClifor.isEmpty() || TClifor.isNull(u"Cod_Conc"_s))
        return {};
    Statement& st = store().db().cached(u"SELECT DESC_CONC FROM Conceito WHERE Filial = ? AND Cod_Conc = ?"_s);
    return st.bindList({TClifor.value(u"Filial"_s), TClifor.value(u"Cod_Conc"_s)}).scalar().toString();
}

QString TDMClifor::CalcCep() const
{
    if (!TMunic.active() || TMunic.isEmpty())
        return {};
    return pcp::CalcCep(TMunic.asString(u"CoCep"_s), TMunic.asString(u"InFaixa"_s));
}

bool TDMClifor::gravaFilho()
{
    derivaMarcasFilho(TFilhos);
    return GravaRegistro(TFilhos);
}

int TDMClifor::ativaSemSituacao()
{
    return store().db().prepare(u"UPDATE Clifor SET Ativo = 1 WHERE Ativo IS NULL"_s).run();
}

QList<TDMClifor::NivelConta> TDMClifor::niveisConta(int nivel, int filial)
{
    if (nivel < 1 || nivel > 5)
        throw DbError(u"Nivel do plano de contas invalido: %1"_s.arg(nivel));
    const QString n = QString::number(nivel);
    Database& db = store().db();
    Statement st = db.prepare(u"SELECT Nivel%1, Descric%1 FROM Conniv%1 WHERE Filial = ? ORDER BY %2, Nivel%1"_s.arg(
        n, db.ignoringCase(u"Descric"_s + n)));
    st.bindInt(1, filial);
    QList<NivelConta> out;
    while (st.next())
        out.append({st.intValue(0), st.textValue(1)});
    return out;
}

QString CalcCep(const QString& coCep, const QString& inFaixa)
{
    const QString faixa = inFaixa.trimmed();
    return coCep.trimmed() + u'-' + (faixa.isEmpty() ? faixa : faixa.rightJustified(3, u'0'));
}

void derivaMarcasFilho(TableCursor& filho)
{
    for (const Sacramento& s : kSacramentos) {
        const bool temData = !filho.isNull(QString::fromUtf16(s.data));
        filho.setValue(QString::fromUtf16(s.marca), temData ? u"S"_s : QString());
        if (!temData) {
            filho.setValue(QString::fromUtf16(s.local), QVariant());
            filho.setValue(QString::fromUtf16(s.igreja), QVariant());
        }
    }
}

TDMClifor* DMClifor() { return current; }
void setDMClifor(TDMClifor* module) { current = module; }

}  // namespace pcp
