#pragma once
// The shared client/supplier data module: the partner table ordered by name,
// the satellite cursors that follow its current record, the tables its codes
// point to, and the few fixed statements the register runs. One instance for
// the whole run.
#include "HistoricoAlteracaoClifor.h"
#include "DataModule.h"

namespace pcp {

// openAll() opens the partner table (on "Nome do Cliente/Fornecedo"), its
// satellites and the code tables; closeAll() closes them all.
class TDMClifor : public DataModule {
public:
    explicit TDMClifor(std::shared_ptr<Store> store);

    // The partner table and the satellites linked to its current record.
    TableCursor TClifor;
    TableCursor TCliFor2;
    TableCursor TFilhos;  // the form's QFilhos: the children (FILHOS) of the partner
    TableCursor tSped_AlteraClifor;

    // The tables the partner's codes point to.
    TableCursor TVendedor;
    TableCursor TRegiao;
    TableCursor TBanco;
    TableCursor TTranspor;
    TableCursor TVencto;
    TableCursor TConceito;
    TableCursor TPraca;  // on "Nome"
    TableCursor TPaises;
    TableCursor TMunic;
    TableCursor TRamoAtiv;
    TableCursor TEnquadra;  // on "Alfa"
    TableCursor TContas;

    // Lookup: DESC_CONC of the rating (Conceito) of the current partner; empty without one.
    QString NomeConc() const;
    // CalcCep of the current municipality of TMunic.
    QString CalcCep() const;

    // The change history: call marcaAlteracao right after "Alterar" put
    // TClifor into edit mode, desmarcaAlteracao when that change is cancelled;
    // the post of TClifor writes the history.
    void marcaAlteracao() { historico_.marca(TClifor); }
    void desmarcaAlteracao() { historico_.desmarca(); }
    HistoricoAlteracaoClifor& historico() { return historico_; }

    // Posts the child in insert or edit on TFilhos with GravaRegistro, after
    // deriving its flags (derivaMarcasFilho). Every post of FILHOS goes here.
    bool gravaFilho();

    // Marks active every partner whose Ativo is blank; the number of partners changed.
    int ativaSemSituacao();

    // One level (1 to 5) of the account plan for a branch, by description.
    struct NivelConta {
        qint64 codigo = 0;
        QString descricao;
    };
    QList<NivelConta> niveisConta(int nivel, int filial);

private:
    HistoricoAlteracaoClifor historico_;
};

// "CoCep-InFaixa" of a municipality's postal-code range: the range number
// left-padded with zeros to three characters, nothing after "-" without one.
QString CalcCep(const QString& coCep, const QString& inFaixa);

// The flags of a child in FILHOS, derived before every post: BATISMO,
// PRIM_COMUN and CRISMA are "S" when their date (BT_DATA, PC_DATA, CR_DATA)
// is filled and blank otherwise; a sacrament without a date has no place
// and no church either.
void derivaMarcasFilho(TableCursor& filho);

// The process-wide client data module; null until a company is chosen.
TDMClifor* DMClifor();
void setDMClifor(TDMClifor* module);

}  // namespace pcp
