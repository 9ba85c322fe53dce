#pragma once
// The process-wide session: the chosen company and branch, the user and the
// installation variant code. Filled at start-up, read everywhere.
#include <QString>
#include <QStringList>

namespace pcp {

struct EmpresaLista {
    QString loja;  // store code as two digits
    QString diretorio;
    QString nome;
};

struct Sessao {
    int FilialAtual = 0;
    QString NomeFilial;
    QString DiretorioEmpresa;
    int LojaEmpresa = 0;
    QString NomeEmpresa;
    bool EmpresaMatriz = false;
    bool ClienteUnico = false;
    bool ProdutoUnico = false;
    int QtdEmpresas = 0;
    QList<EmpresaLista> ListaEmpresas;  // at most 50 entries
    QString DiretorioCentral;
    QString UsuarioAtual;
    QString NivelUsuario;
    bool LoginExterno = false;
    QString BaseLogin;
    QString ModuloAtual;
    bool TermServ = false;
    int FatModNf = 0;
};

// The one session of the process; tests may reset it with `sessao() = {}`.
Sessao& sessao();

}  // namespace pcp
