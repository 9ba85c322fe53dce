#include "Empresas.h"

#include "TableCursor.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
constexpr int kMaxListaEmpresas = 50;
}

TableDef empresaTable()
{
    TableDef t(u"Empresa"_s);
    t.field(u"Codigo"_s, FieldType::SmallInt, 0, u"000"_s)
        .string(u"Nome"_s, 30)
        .string(u"Diretorio"_s, 30)
        .field(u"Grupo"_s, FieldType::Integer)
        .string(u"PWD"_s, 20)
        .field(u"LOJA"_s, FieldType::SmallInt)
        .field(u"MULTIEMPRESAS"_s, FieldType::Boolean)
        .field(u"CLIENTEUNICO"_s, FieldType::Boolean)
        .field(u"PRODUTOUNICO"_s, FieldType::Boolean)
        .key({u"Codigo"_s});
    return t;
}

bool Empresas::open(const QString& empresaDb)
{
    close();
    erro_.reset();
    // the install folder's servidor.conf puts the company list on that server
    if (!QFileInfo::exists(empresaDb) && !companyOnServer(QFileInfo(empresaDb).absolutePath()))
        return false;
    try {
        // the upgrade adds LOJA, MULTIEMPRESAS, CLIENTEUNICO and PRODUTOUNICO where missing
        store_ = Store::open(empresaDb, {empresaTable()});
        store_->db().exec(u"UPDATE \"Empresa\" SET LOJA = CODIGO WHERE LOJA IS NULL"_s);
        load();
        open_ = true;
    } catch (const DbError& e) {
        store_.reset();
        rows_.clear();
        erro_ = e;
    }
    return open_;
}

void Empresas::close()
{
    store_.reset();
    rows_.clear();
    open_ = false;
}

void Empresas::load()
{
    rows_.clear();
    TableCursor t(store_, u"Empresa"_s);
    if (grupo_) {
        t.setFilter(u"Grupo = "_s + QString::number(*grupo_));
        t.setFiltered(true);
    }
    t.open();
    for (; !t.eof(); t.next()) {
        EmpresaRow r;
        r.Codigo = int(t.asInteger(u"Codigo"_s));
        r.Nome = t.asString(u"Nome"_s);
        r.Diretorio = t.asString(u"Diretorio"_s);
        r.Grupo = t.value(u"Grupo"_s);
        r.PWD = t.asString(u"PWD"_s);
        r.LOJA = int(t.asInteger(u"LOJA"_s));
        r.CLIENTEUNICO = t.asBoolean(u"CLIENTEUNICO"_s);
        r.PRODUTOUNICO = t.asBoolean(u"PRODUTOUNICO"_s);
        rows_ << r;
    }
}

bool Empresas::allSameGroup() const
{
    for (const EmpresaRow& r : rows_)
        if (r.Grupo != rows_.first().Grupo || r.Grupo.isNull() != rows_.first().Grupo.isNull())
            return false;
    return true;
}

Empresas::GroupResult Empresas::restrictToGroup(const QString& answer)
{
    // an answer that sorts as text below "0" or above "9" names no group
    QString grupo = answer;
    if (grupo < u"0"_s || grupo > u"9"_s)
        grupo = u"-1"_s;
    bool numeric = false;
    const int value = grupo.toInt(&numeric);
    if (!numeric) {
        rows_.clear();  // the filter text cannot be read: the list cannot be shown
        return GroupResult::Invalid;
    }
    grupo_ = value;
    load();
    return rows_.isEmpty() ? GroupResult::NotFound : GroupResult::Ok;
}

int Empresas::indexOfCodigo(int codigo) const
{
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].Codigo == codigo)
            return i;
    return -1;
}

int Empresas::indexOfNome(const QString& nome) const
{
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].Nome == nome)
            return i;
    return -1;
}

void preencheSessaoEmpresa(Sessao& s, const Empresas& empresas, int current, const Paths& paths)
{
    s.ListaEmpresas.clear();
    s.ClienteUnico = false;
    s.ProdutoUnico = false;
    s.DiretorioCentral.clear();
    s.QtdEmpresas = empresas.count();
    if (!empresas.isOpen() || current < 0 || current >= empresas.count()) {
        s.DiretorioEmpresa.clear();
        return;
    }
    const EmpresaRow& row = empresas.rows()[current];
    s.LojaEmpresa = row.LOJA;
    s.NomeEmpresa = row.Nome.toUpper();
    s.ClienteUnico = row.CLIENTEUNICO;
    s.ProdutoUnico = row.PRODUTOUNICO;
    for (const EmpresaRow& r : empresas.rows()) {
        if (r.LOJA == 0)
            s.DiretorioCentral = r.Diretorio;
        if (s.ListaEmpresas.size() < kMaxListaEmpresas)
            s.ListaEmpresas << EmpresaLista{u"%1"_s.arg(r.LOJA, 2, 10, QChar(u'0')), r.Diretorio, r.Nome};
    }
    s.DiretorioEmpresa = paths.companyFolder(row.Diretorio);
    // the company's own folder name decides, never the data root above it
    s.EmpresaMatriz = row.Diretorio.toUpper().contains(u"MATRIZ"_s);
}

}  // namespace pcp
