#pragma once
// Tables of access codes, users, the audit logs, the company parameters and
// the PCP configuration row, plus the tables read from the suite's login store.
#include "TableDef.h"

#include <QDate>

namespace pcp {

// Adds the company-store tables: Acesso, Usuarios, ParametrosEmpresa, Pcpcfg
// and LogSys_Tipos, and the families of the monthly logs, which are created on
// first use (below).
void declareAccessTables(Catalog& catalog);

// Layout of the monthly access log "LogYYMM" written by a checkpoint that asks for the user.
TableDef logAcessoTable();
// Layout of the monthly audit log "LogSys_MM_YYYY" written by GravaLogSistema.
TableDef logSistemaTable();
TableDef logSistemaTiposTable();

// "Log2405" for May 2024.
QString nomeLogAcesso(QDate date);
// "LogSys_05_2024" for May 2024.
QString nomeLogSistema(QDate date);

// The login store of the suite: the SQLite file "login.sqlite" in the folder
// BaseLogin, with the group and permission tables (or, when BaseLogin holds a
// servidor.conf, those tables on that server). This program only reads it;
// the declarations serve the tools (and tests) that create it.
inline constexpr const char16_t* kLoginStoreFile = u"login.sqlite";
QList<TableDef> loginTables();
// The login store file of a BaseLogin folder ("\" read as "/").
QString loginStorePath(const QString& baseLogin);

}  // namespace pcp
