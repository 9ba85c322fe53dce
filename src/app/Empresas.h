#pragma once
// The company list: the table `Empresa` of the install folder, its layout
// upgrade, the restriction to one group and the session items that come from
// the chosen company.
#include "Paths.h"
#include "Sessao.h"
#include "Store.h"

#include <optional>

namespace pcp {

TableDef empresaTable();

struct EmpresaRow {
    int Codigo = 0;
    QString Nome;
    QString Diretorio;
    QVariant Grupo;  // null when blank
    QString PWD;
    int LOJA = 0;
    bool CLIENTEUNICO = false;
    bool PRODUTOUNICO = false;
};

class Empresas {
public:
    // Opens the company table when its file exists, or its folder's
    // servidor.conf names the server that holds it, bringing its layout up to
    // date first (new columns, `LOJA` = `Codigo` where blank). False when the
    // file is missing or cannot be read. A group chosen earlier in the run
    // stays: a reopened list shows that group's companies only.
    bool open(const QString& empresaDb);
    bool isOpen() const { return open_; }
    // Why the last open failed, when the table was there but could not be read.
    const std::optional<DbError>& error() const { return erro_; }
    void close();

    const QList<EmpresaRow>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    bool allSameGroup() const;

    enum class GroupResult { Ok, NotFound, Invalid };
    // Restricts the list to the group typed by the user, for the rest of the run.
    GroupResult restrictToGroup(const QString& answer);
    bool restrictedToGroup() const { return grupo_.has_value(); }

    int indexOfCodigo(int codigo) const;
    int indexOfNome(const QString& nome) const;

private:
    void load();
    std::shared_ptr<Store> store_;
    std::optional<int> grupo_;
    QList<EmpresaRow> rows_;
    std::optional<DbError> erro_;
    bool open_ = false;
};

// Fills the company items of the session from the chosen row and the rows
// offered; an empty company table leaves `DiretorioEmpresa` empty.
void preencheSessaoEmpresa(Sessao& s, const Empresas& empresas, int current, const Paths& paths);

}  // namespace pcp
