#include "TDMAS.h"

#include "StockTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TDMAS::TDMAS(std::shared_ptr<Store> store)
    : Notai(store, u"Notai"_s), Notas(store, u"Notas"_s), HistEst(store, u"HistEst"_s),
      NOTAI3(store, u"NOTAI3"_s)
{
    Notai.setIndexName(u"AnoMes"_s);
    Notas.setMasterLink(&Notai, chaveNota());
    HistEst.setMasterLink(&Notas, {u"Est_Hist"_s});
    NOTAI3.setMasterLink(&Notai, chaveItemNota());
}

void TDMAS::abre()
{
    for (TableCursor* t : {&Notai, &Notas, &HistEst, &NOTAI3})
        if (!t->active())
            t->open();
}

void TDMAS::fecha()
{
    for (TableCursor* t : {&NOTAI3, &HistEst, &Notas, &Notai})
        t->close();
}

}  // namespace pcp
