#include "TDMMovEst.h"

#include "DocumentCascade.h"
#include "StockTables.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TDMMovEst::TDMMovEst(std::shared_ptr<Store> store)
    : DataModule(store), Notas(store, u"Notas"_s), Notai(store, u"Notai"_s), NOTAS3(store, u"NOTAS3"_s),
      NOTAI3(store, u"NOTAI3"_s), NfeNotaiVeic(store, u"nfe_notai_veic"_s),
      NfeNotaiMedicamentos(store, u"nfe_notai_medicamentos"_s),
      NfeNotaiImp(store, u"Nfe_notai_imp"_s), Sldpr(store, u"Sldpr"_s),
      HistEst(store, u"HistEst"_s), Natuoper(store, u"Natuoper"_s),
      NatuoperItem(store, u"Natuoper"_s), Benef(store, u"Benef"_s),
      Deposito(store, u"Deposito"_s), Estproma(store, u"Estproma"_s)
{
    Notai.setMasterLink(&Notas, chaveNota());
    NOTAS3.setMasterLink(&Notas, chaveNota());
    for (TableCursor* t : {&NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp})
        t->setMasterLink(&Notai, chaveItemNota());
    NatuoperItem.setMasterLink(&Notai, {u"Cod_NatOpe"_s, u"COMPLNATOP"_s},
                               {u"Nat_Oper"_s, u"ComplNatOp"_s});
    Deposito.setIndexName(u"Desc_Depos"_s);
    declare({&Notas, &Notai, &NOTAS3, &NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp, &Sldpr,
             &HistEst, &Natuoper, &NatuoperItem, &Benef, &Deposito, &Estproma});
}

void TDMMovEst::exclui(TableCursor& cursor, const QStringList& chave,
                       const std::function<void(const QVariantList&)>& dependentes,
                       std::initializer_list<TableCursor*> detalhes)
{
    Transaction tx(store().db());
    dependentes(cursor.values(chave));
    cursor.remove();
    tx.commit();
    for (TableCursor* t : detalhes)
        if (t->active())
            t->refresh();
}

void TDMMovEst::excluiNotas()
{
    exclui(Notas, chaveNota(), [this](const QVariantList& k) { excluiDependentesDocumento(store().db(), k); },
           {&Notai, &NOTAS3, &NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp});
}

void TDMMovEst::excluiNotai()
{
    exclui(Notai, chaveItemNota(), [this](const QVariantList& k) { excluiExtensaoItem(store().db(), k); },
           {&NOTAI3, &NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp});
}

void TDMMovEst::excluiNotai3()
{
    exclui(NOTAI3, chaveItemNota(), [this](const QVariantList& k) { excluiSatelitesItem(store().db(), k); },
           {&NfeNotaiVeic, &NfeNotaiMedicamentos, &NfeNotaiImp});
}

}  // namespace pcp
