#include "AccessTables.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

TableDef acessoTable()
{
    TableDef t(u"Acesso"_s);
    t.field(u"Codigo"_s, FieldType::Integer)
        .string(u"Conteudo"_s, 20)
        .string(u"Descricao"_s, 30)
        .string(u"Inf_Usuario"_s, 1)
        .key({u"Codigo"_s});
    return t;
}

TableDef usuariosTable()
{
    TableDef t(u"Usuarios"_s);
    t.string(u"Codigo"_s, 6).string(u"Senha"_s, 8).string(u"Nivel"_s, 3).key({u"Codigo"_s});
    return t;
}

TableDef parametrosEmpresaTable()
{
    TableDef t(u"ParametrosEmpresa"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"CodParametro"_s, FieldType::Integer)
        .string(u"NomeParametro"_s, 60)
        .string(u"DescParametro"_s, 200)
        .string(u"ValorStr"_s, 255)
        .field(u"ValorNumerico"_s, FieldType::Float)
        .field(u"ValorWide"_s, FieldType::Memo)
        .field(u"ValorOleObject"_s, FieldType::Blob)
        .field(u"ValorBoolean"_s, FieldType::Boolean)
        .key({u"Filial"_s, u"CodParametro"_s});
    return t;
}

TableDef pcpcfgTable()
{
    TableDef t(u"Pcpcfg"_s);
    t.field(u"Filial"_s, FieldType::SmallInt)
        .field(u"Fator1"_s, FieldType::Float, 0, u"###,##0.00"_s)
        .field(u"Fator2"_s, FieldType::Float)
        .field(u"Fator3"_s, FieldType::Float)
        .field(u"Fator4"_s, FieldType::Float)
        .field(u"Fator5"_s, FieldType::Float)
        .field(u"UltimaFormula"_s, FieldType::Integer)
        .key({u"Filial"_s});
    return t;
}

QString twoDigits(int n) { return u"%1"_s.arg(n, 2, 10, QChar(u'0')); }

}  // namespace

void declareAccessTables(Catalog& catalog)
{
    catalog.add(acessoTable());
    catalog.add(usuariosTable());
    catalog.add(parametrosEmpresaTable());
    catalog.add(pcpcfgTable());
    catalog.add(logSistemaTiposTable());
    // made on first use each month, under the names below
    catalog.addFamily(u"Log"_s, u"[0-9]{4}"_s, logAcessoTable());
    catalog.addFamily(u"LogSys_"_s, u"[0-9]{2}_[0-9]{4}"_s, logSistemaTable());
}

TableDef logAcessoTable()
{
    TableDef t(u"Log"_s);
    t.field(u"DataHora"_s, FieldType::DateTime)
        .string(u"Tabela"_s, 20)
        .string(u"Acesso"_s, 30)
        .string(u"Registro"_s, 100)
        .string(u"Operacao"_s, 1)
        .string(u"Usuario"_s, 6);
    return t;
}

TableDef logSistemaTable()
{
    TableDef t(u"LogSys"_s);
    t.field(u"Filial"_s, FieldType::Integer)
        .field(u"Data"_s, FieldType::Date)
        .field(u"Hora"_s, FieldType::Time)
        .string(u"Janela"_s, 60)
        .string(u"Acao"_s, 1)
        .string(u"Usuario"_s, 6)
        .field(u"AutoInc"_s, FieldType::AutoInc)
        .string(u"Tabela"_s, 30)
        .string(u"Log"_s, 250)
        .key({u"Filial"_s, u"Data"_s, u"Hora"_s, u"Janela"_s, u"Acao"_s, u"Usuario"_s, u"AutoInc"_s});
    return t;
}

TableDef logSistemaTiposTable()
{
    TableDef t(u"LogSys_Tipos"_s);
    t.string(u"Tipo"_s, 1).string(u"Campo"_s, 60).index(u"PorCampo"_s, {u"Campo"_s});
    return t;
}

QString nomeLogAcesso(QDate date)
{
    return u"Log"_s + twoDigits(date.year() % 100) + twoDigits(date.month());
}

QString nomeLogSistema(QDate date)
{
    return u"LogSys_"_s + twoDigits(date.month()) + u'_' + QString::number(date.year());
}

QList<TableDef> loginTables()
{
    TableDef grupos(u"GruposPorUsuario"_s);
    grupos.field(u"CodFilGrupo"_s, FieldType::Integer)
        .field(u"CodGrupo"_s, FieldType::Integer)
        .string(u"CodUsuario"_s, 6)
        .key({u"CodFilGrupo"_s, u"CodGrupo"_s, u"CodUsuario"_s});
    TableDef permissoes(u"PermissoesPorGrupo"_s);
    permissoes.field(u"CodGrupoUsuario"_s, FieldType::Integer)
        .field(u"Permissao"_s, FieldType::Integer)
        .string(u"NomePermissao"_s, 60)
        .string(u"DescPermissao"_s, 100)
        .key({u"CodGrupoUsuario"_s, u"NomePermissao"_s});
    TableDef gruposUsuarios(u"GruposUsuarios"_s);
    gruposUsuarios.field(u"CodigoGrupo"_s, FieldType::Integer)
        .string(u"DescGrupo"_s, 60)
        .string(u"Ativo"_s, 1)
        .key({u"CodigoGrupo"_s});
    TableDef catalogo(u"permissoes"_s);
    catalogo.string(u"NomePermissao"_s, 60).string(u"DescPermissao"_s, 100).key({u"NomePermissao"_s});
    return {grupos, permissoes, gruposUsuarios, catalogo};
}

QString loginStorePath(const QString& baseLogin)
{
    QString folder = baseLogin;
    folder.replace(u'\\', u'/');
    return QDir(folder).filePath(QString::fromUtf16(kLoginStoreFile));
}

}  // namespace pcp
