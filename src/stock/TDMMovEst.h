#pragma once
// The stock documents module: the rest of the program's handles on the
// document tables, balances, histories, operation codes, lots and
// warehouses. Deleting through it takes the dependent records along
// (tabelasDoDocumento), in one transaction per deletion.
#include "DataModule.h"

#include <functional>

namespace pcp {

class TDMMovEst : public DataModule {
public:
    explicit TDMMovEst(std::shared_ptr<Store> store);

    // Delete the current record of Notas (with its items, their dependents
    // and its NOTAS3 record), of Notai (with its NOTAI3 record and
    // satellites) or of NOTAI3 (with the item's satellites). Each takes the
    // record lock of the deleted record first.
    void excluiNotas();
    void excluiNotai();
    void excluiNotai3();

    TableCursor Notas;
    TableCursor Notai;             // detail of Notas on the document key
    TableCursor NOTAS3;            // detail of Notas
    TableCursor NOTAI3;            // detail of Notai on the item key
    TableCursor NfeNotaiVeic;      // details of Notai on the item key
    TableCursor NfeNotaiMedicamentos;
    TableCursor NfeNotaiImp;
    TableCursor Sldpr;
    TableCursor HistEst;           // by Est_Hist
    TableCursor Natuoper;          // by Cod_NatOpe, COMPLNATOP
    TableCursor NatuoperItem;      // the item's operation: Nat_Oper, ComplNatOp of Notai
    TableCursor Benef;
    TableCursor Deposito;          // listed by Desc_Depos
    TableCursor Estproma;

private:
    // Deletes the current record of `cursor` after what hangs off it, then
    // refreshes the cursors of the tables that lost rows.
    void exclui(TableCursor& cursor, const QStringList& chave, const std::function<void(const QVariantList&)>& dependentes,
                std::initializer_list<TableCursor*> detalhes);
};

}  // namespace pcp
