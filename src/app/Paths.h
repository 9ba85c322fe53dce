#pragma once
// Where the installation lives on this machine. The program was born on
// Windows with fixed folders; here each of them is a folder chosen by option,
// environment variable or default:
//
//   install folder  (Empresa.db, newlogin.ini)   --instalacao DIR / PCP_INSTALL
//   program folder  (Login.ini, TmpDb/, ini/)    --programa DIR  / PCP_PROGRAMA, default the install folder
//   data root       (the alias path's drive)     --dados DIR     / PCP_DADOS,    default the install folder
//
// A company's folder is the data root followed by its `Diretorio`, with "\"
// read as "/": "\Dados\Matriz" under /srv/pcp is /srv/pcp/Dados/Matriz.
#include <QString>
#include <QStringList>

namespace pcp {

// Removes "NAME VALUE" from the arguments and returns VALUE (empty when absent).
QString takeOption(QStringList& args, const QString& name);

struct Paths {
    QString instalacao;
    QString programa;
    QString dados;

    // Reads the options out of the argument list (removing them) and fills
    // the rest from the environment and the defaults.
    static Paths fromArguments(QStringList& args);
    static QString defaultInstallFolder();

    QString empresaDb() const;         // the company list
    QString newLoginIni() const;       // login database location, external login
    QString loginIni() const;          // last company used
    // The login database's folder, ending in "/": the one newlogin.ini names,
    // unless the install folder's servidor.conf puts the login tables on its
    // server (a folder with a servidor.conf of its own keeps it).
    QString baseLogin() const;
    QString companyFolder(const QString& diretorio) const;
    // A Windows folder text ("C:\Ardeno\Login\") as a folder of this machine.
    QString localFolder(const QString& windowsPath) const;
};

}  // namespace pcp
