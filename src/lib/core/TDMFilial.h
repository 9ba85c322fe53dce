#pragma once
// The branch data module: the branch row of the current branch and the
// configuration rows of the other modules of the suite, linked to it.
#include "DataModule.h"

namespace pcp {

// Declares "Filial", "Filial2" and the module configuration tables.
void declareBranchTables(Catalog& catalog);
TableDef filialTable();

class TDMFilial : public DataModule {
public:
    explicit TDMFilial(std::shared_ptr<Store> store);

    // Opens the tables the branch screen opens (Filial and the linked
    // configuration rows); the others open when first used. closeAll()
    // closes them all.
    void openBranchTables();
    // Positions TFilial on a branch; the linked tables follow.
    bool positionOn(int filial);

    TableCursor TFilial;
    TableCursor TEscriCfg;
    TableCursor TEstoqCfg;
    TableCursor TCreCfg;
    TableCursor TFaturCfg;
    TableCursor TPedidCfp;
    TableCursor TContCfg;
    TableCursor TFil;  // second cursor on Filial, for the processing-date guard
    TableCursor TDadosFilialCompl;
};

// The process-wide branch data module; null until a company is chosen.
TDMFilial* DMFilial();
void setDMFilial(TDMFilial* module);

// True when the date may be posted in the module ("ESTOQUE", "FATURAMENTO",
// "FINANCEIRO", "ESCRITA", "CONTABILIDADE"); each closed period it falls in
// is reported with its own message.
bool DataProcessamentoOk(const QString& modulo, const QDate& data, TDMFilial& dm);
bool DataProcessamentoOk(const QString& modulo, const QDate& data);

}  // namespace pcp
