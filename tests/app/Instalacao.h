#pragma once
// Builds small installations for the start-up tests: a company table and
// company folders with their branches and access codes.
#include "Empresas.h"
#include "Paths.h"
#include "Store.h"
#include "Tabelas.h"

#include <QDir>

namespace pcp::test {

using namespace Qt::Literals::StringLiterals;

struct EmpresaTeste {
    int codigo;
    QString nome;
    QVariant grupo;
    QString senha = {};
    QStringList filiais = {u"MATRIZ"_s};
    QString senha157 = {};  // blank: the branch choice is open
    QString diretorio = {};  // blank: diretorioDe(codigo)
};

inline QString diretorioDe(int codigo) { return u"\\Dados\\Emp%1"_s.arg(codigo); }
inline QString diretorioDe(const EmpresaTeste& e) { return e.diretorio.isEmpty() ? diretorioDe(e.codigo) : e.diretorio; }

inline Paths criaInstalacao(const QString& root, const QList<EmpresaTeste>& empresas)
{
    declaraTabelas();
    Paths p;
    p.instalacao = p.programa = p.dados = root;
    auto lista = Store::open(p.empresaDb(), {empresaTable()});
    for (const EmpresaTeste& e : empresas) {
        lista->db()
            .prepare(u"INSERT INTO Empresa (Codigo, Nome, Diretorio, Grupo, PWD, LOJA) VALUES (?, ?, ?, ?, ?, ?)"_s)
            .bindList({e.codigo, e.nome, diretorioDe(e), e.grupo, e.senha, e.codigo == 1 ? 0 : e.codigo})
            .run();
        const QString folder = p.companyFolder(diretorioDe(e));
        QDir().mkpath(folder);
        auto store = Store::openCompany(folder);
        int filial = 0;
        for (const QString& nome : e.filiais)
            store->db()
                .prepare(u"INSERT INTO Filial (Filial, NOME, FATMODNF) VALUES (?, ?, ?)"_s)
                .bindList({++filial, nome, 10 + filial})
                .run();
        store->db()
            .prepare(u"INSERT INTO Acesso (Codigo, Conteudo, Inf_Usuario) VALUES (157, ?, 'N')"_s)
            .bindList({e.senha157})
            .run();
    }
    return p;
}

}  // namespace pcp::test
