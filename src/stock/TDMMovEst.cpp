#include "TDMMovEst.h"

#include "DocumentCascade.h"
#include "StockTables.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TDMMovEst::TDMMovEst(std::shared_ptr<Store> store)
    : Notas(store, u"Notas"_s), Notai(store, u"Notai"_s), NOTAS3(store, u"NOTAS3"_s),
      NOTAI3(store, u"NOTAI3"_s), NfeNotaiVeic(store, u"nfe_notai_veic"_s),
      NfeNotaiMedicamentos(store, u"nfe_notai_medicamentos"_s),
      NfeNotaiImp(store, u"Nfe_notai_imp"_s), Sldpr(store, u"Sldpr"_s),
      HistEst(store, u"HistEst"_s), Natuoper(store, u"Natuoper"_s),
      NatuoperItem(store, u"Natuoper"_s), Benef(store, u"Benef"_s),
      Deposito(store, u"Deposito"_s), Estproma(store, u"Estproma"_s), store_(std::move(store))
{
    Notai.setMasterLink(&Notas, chaveNota());
    NOTAS3.setMasterLink(&Notas, chaveNota());
    for (TableCursor* t : {&NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp})
        t->setMasterLink(&Notai, chaveItemNota());
    NatuoperItem.setMasterLink(&Notai, {u"Cod_NatOpe"_s, u"COMPLNATOP"_s},
                               {u"Nat_Oper"_s, u"ComplNatOp"_s});
    Deposito.setIndexName(u"Desc_Depos"_s);
}

QList<TableCursor*> TDMMovEst::todas()
{
    return {&Notas, &Notai, &NOTAS3, &NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp,
            &Sldpr, &HistEst, &Natuoper, &NatuoperItem, &Benef, &Deposito, &Estproma};
}

void TDMMovEst::abre()
{
    for (TableCursor* t : todas())
        if (!t->active())
            t->open();
}

void TDMMovEst::fecha()
{
    const QList<TableCursor*> t = todas();
    for (auto it = t.rbegin(); it != t.rend(); ++it)
        (*it)->close();
}

void TDMMovEst::excluiNotas()
{
    Transaction tx(store_->db());
    excluiExtensaoNota(store_->db(), Notas.values(chaveNota()));
    Notas.remove();
    tx.commit();
}

void TDMMovEst::excluiNotai()
{
    Transaction tx(store_->db());
    excluiExtensaoItem(store_->db(), Notai.values(chaveItemNota()));
    Notai.remove();
    tx.commit();
    for (TableCursor* t : {&NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp})
        t->refresh();
}

void TDMMovEst::excluiNotai3()
{
    Transaction tx(store_->db());
    excluiSatelitesItem(store_->db(), NOTAI3.values(chaveItemNota()));
    NOTAI3.remove();
    tx.commit();
    for (TableCursor* t : {&NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp})
        t->refresh();
}

}  // namespace pcp
