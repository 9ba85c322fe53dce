#include "TDMAS.h"

#include "StockTables.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TDMAS::TDMAS(std::shared_ptr<Store> store)
    : DataModule(store), Notai(store, u"Notai"_s), Notas(store, u"Notas"_s), HistEst(store, u"HistEst"_s),
      NOTAI3(store, u"NOTAI3"_s)
{
    Notai.setIndexName(u"AnoMes"_s);
    Notas.setMasterLink(&Notai, chaveNota());
    HistEst.setMasterLink(&Notas, {u"Est_Hist"_s});
    NOTAI3.setMasterLink(&Notai, chaveItemNota());
    declare({&Notai, &Notas, &HistEst, &NOTAI3});
}

}  // namespace pcp
