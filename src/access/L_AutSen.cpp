#include "L_AutSen.h"

#include "AccessTables.h"
#include "Messages.h"
#include "ServidorConf.h"
#include "Sessao.h"
#include "Store.h"
#include "TDMFilial.h"
#include "Transaction.h"

#include <QFileInfo>
#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

// Inserts one row, each text cut to its field's size: a log line never fails
// for being long.
void insereLinha(Database& db, const TableDef& def, const QList<std::pair<QString, QVariant>>& values)
{
    QStringList cols, marks;
    QVariantList params;
    for (const auto& [name, value] : values) {
        const FieldDef* f = def.findField(name);
        QVariant v = value;
        if (f->type == FieldType::String && f->size > 0)
            v = v.toString().left(f->size);
        cols << quoted(f->name);
        marks << u"?"_s;
        params << toStorage(*f, coerceForField(*f, v));
    }
    db.prepare(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(quoted(def.name()), cols.join(u", "_s),
                                                       marks.join(u", "_s)))
        .bindList(params)
        .run();
}

Store& companyStore()
{
    if (!DMFilial())
        throw DbError(u"Nenhuma empresa aberta"_s);
    return DMFilial()->store();
}

}  // namespace

// ---- access codes ----------------------------------------------------------

ContextoAcesso& contextoAcesso()
{
    static ContextoAcesso contexto;
    return contexto;
}

std::optional<CodigoAcesso> leCodigoAcesso(Store& store, int codigo)
{
    Statement st = store.db().prepare(
        u"SELECT Conteudo, Descricao, Inf_Usuario FROM Acesso WHERE Codigo = ?"_s);
    st.bindInt(1, codigo);
    if (!st.next())
        return std::nullopt;
    CodigoAcesso a{codigo, st.textValue(0), st.textValue(1), st.textValue(2)};
    st.reset();
    return a;
}

bool senhaAcessoConfere(const QString& conteudo, const QString& digitada)
{
    return conteudo.trimmed().toUpper() == digitada.trimmed().toUpper();
}

bool senhaUsuarioConfere(const QString& senha, const QString& digitada)
{
    return senha.toUpper() == digitada.toUpper();
}

QString preparaLogAcesso(Store& store, QDate hoje)
{
    const QString nome = nomeLogAcesso(hoje);
    if (!store.db().tableExists(nome))
        store.ensure(logAcessoTable().renamed(nome));
    return nome;
}

bool confereAcesso(Store& store, const CodigoAcesso& acesso, const SenhaDigitada& digitada,
                   const QString& logAcesso, const QDateTime& agora)
{
    if (!senhaAcessoConfere(acesso.conteudo, digitada.senha)) {
        mostraErro(u"Senha invalida"_s);
        return false;
    }
    if (logAcesso.isEmpty())
        return true;

    Statement st = store.db().prepare(u"SELECT Codigo, Senha, Nivel FROM Usuarios WHERE Codigo = ?"_s);
    st.bindText(1, digitada.usuario);
    if (!st.next()) {
        mostraMensagem(u"Usuário não cadastrado!"_s);
        return false;
    }
    const QString codigo = st.textValue(0), senha = st.textValue(1), nivel = st.textValue(2);
    st.reset();
    if (!senhaUsuarioConfere(senha, digitada.senhaUsuario)) {
        mostraMensagem(u"A senha do usuário é inválida!"_s);
        return false;
    }

    sessao().UsuarioAtual = codigo;
    sessao().NivelUsuario = nivel;
    const ContextoAcesso& ctx = contextoAcesso();
    insereLinha(store.db(), logAcessoTable().renamed(logAcesso),
                {{u"DataHora"_s, agora},
                 {u"Tabela"_s, ctx.tabela},
                 {u"Acesso"_s, acesso.descricao},
                 {u"Registro"_s, ctx.registro},
                 {u"Operacao"_s, ctx.operacao},
                 {u"Usuario"_s, codigo}});
    return true;
}

// ---- group permissions -----------------------------------------------------

namespace {

struct PermissaoUsuario {
    qint64 codGrupoUsuario = 0;
    QVariant permissao;
    QString descPermissao;
    QString nomePermissao;
};

// The two caches. They are loaded once per login store, branch and user, so a
// branch change never answers with another branch's groups.
struct CachePermissoes {
    bool usuarioCarregado = false;
    QString chaveUsuario;  // login store + branch + user the user's rows belong to
    QList<PermissaoUsuario> usuario;
    bool catalogoCarregado = false;
    QString chaveCatalogo;           // login store of the catalogue
    QHash<QString, QString> catalogo;  // NomePermissao -> DescPermissao (first row wins)
};

CachePermissoes& cachePermissoes()
{
    static CachePermissoes cache;
    return cache;
}

std::unique_ptr<Database> abreLogin(const QString& arquivo)
{
    // a BaseLogin folder holding a servidor.conf has the login tables on that server
    if (!companyOnServer(QFileInfo(arquivo).absolutePath()) && !QFileInfo::exists(arquivo))
        throw DbError(u"Banco de dados de login nao encontrado: "_s + arquivo);
    return openConnection(arquivo, Database::Mode::ReadOnly);
}

void carregaPermissoes(const QString& baseLogin, const QString& filial, const QString& usuario)
{
    CachePermissoes& cache = cachePermissoes();
    const QString arquivo = loginStorePath(baseLogin);
    const QString chaveUsuario = arquivo + u'\n' + filial + u'\n' + usuario;
    const bool usuarioOk = cache.usuarioCarregado && cache.chaveUsuario == chaveUsuario;
    const bool catalogoOk = cache.catalogoCarregado && cache.chaveCatalogo == arquivo;
    if (usuarioOk && catalogoOk)
        return;
    auto db = abreLogin(arquivo);
    if (!usuarioOk) {
        Statement st = db->prepare(
            u"SELECT Gruposporusuario.CodFilGrupo, Permissoesporgrupo.CodGrupoUsuario, "
            "Gruposusuarios.DescGrupo, Gruposporusuario.CodUsuario, Permissoesporgrupo.Permissao, "
            "Permissoesporgrupo.NomePermissao, Permissoesporgrupo.DescPermissao "
            "FROM GruposPorUsuario Gruposporusuario, PermissoesPorGrupo Permissoesporgrupo, "
            "GruposUsuarios Gruposusuarios "
            "WHERE (Permissoesporgrupo.CodGrupoUsuario = Gruposporusuario.CodGrupo) "
            "AND (Gruposusuarios.CodigoGrupo = Gruposporusuario.CodGrupo) "
            "AND (Gruposusuarios.Ativo = 'S') "
            "AND Gruposporusuario.CodFilGrupo = ? AND Gruposporusuario.CodUsuario = ? "
            "ORDER BY Gruposporusuario._rowid_, Permissoesporgrupo._rowid_"_s);
        st.bindText(1, filial.trimmed()).bindText(2, usuario);
        QList<PermissaoUsuario> rows;
        while (st.next())
            rows.append({st.intValue(1), st.value(4), st.textValue(6), st.textValue(5)});
        cache.usuario = rows;
        cache.chaveUsuario = chaveUsuario;
        cache.usuarioCarregado = true;
    }
    if (!catalogoOk) {
        Statement st = db->prepare(u"Select NomePermissao, DescPermissao from permissoes"_s);
        QHash<QString, QString> rows;
        while (st.next())
            if (!rows.contains(st.textValue(0)))
                rows.insert(st.textValue(0), st.textValue(1));
        cache.catalogo = rows;
        cache.chaveCatalogo = arquivo;
        cache.catalogoCarregado = true;
    }
}

QString textoRecusa(const QString& usuario, const QString& descricao, const QString& permissao,
                    bool bloqueio)
{
    QStringList linhas;
    if (bloqueio)
        linhas << u"O usuário "_s + usuario + u" possui BLOQUEIO de acesso para esta função! "_s << QString()
               << u"Nome Bloqueio : "_s + descricao;
    else
        linhas << u"O usuário "_s + usuario + u" não possui permissão de acesso para esta função! "_s
               << QString() << u"Nome Permissão : "_s + descricao;
    linhas << u"Nome Interno   : "_s + permissao << QString();
    if (bloqueio)
        linhas << u"Entre em contato com o administrador de sistema!"_s;
    else
        linhas << u"Entre em contato com o administrador de sistema para que atribua esta permissão ao seu grupo de usuários!"_s;
    return linhas.join(u"\r\n"_s);
}

}  // namespace

bool TemPermissao(const QString& baseLogin, const QString& filial, const QString& usuario, bool explica,
                  const QString& nivel, const QString& permissao)
{
    try {
        carregaPermissoes(baseLogin, filial, usuario);
        const CachePermissoes& cache = cachePermissoes();
        bool result = nivel == u"SUP";
        for (const PermissaoUsuario& p : cache.usuario)
            if (p.nomePermissao == permissao) {
                result = true;
                break;
            }
        const QString descricao = cache.catalogo.value(permissao);
        const bool bloqueio = permissao.left(11) == u"Bloqueia(o)";
        if (explica && result == bloqueio)
            mostraAviso(textoRecusa(usuario, descricao, permissao, bloqueio));
        return result;
    } catch (const std::exception& e) {
        mostraErro(u"Erro na leitura de permissão : "_s + permissao + u" ERRO : "_s + QString::fromUtf8(e.what()));
        return false;
    }
}

void LimpaCachePermissoes() { cachePermissoes() = {}; }

// ---- audit log -------------------------------------------------------------

QString nomeAcaoLog(const QString& acao)
{
    static const QHash<QString, QString> nomes = {
        {u"L"_s, u"Login"_s},   {u"A"_s, u"Acesso"_s},  {u"C"_s, u"Consulta"_s},
        {u"E"_s, u"Editar"_s},  {u"X"_s, u"Excluir"_s}, {u"I"_s, u"Inserir"_s},
        {u"S"_s, u"Autentica Senha"_s},
    };
    return nomes.value(acao);
}

void GravaLogSistema(int filial, const QString& janela, const QString& acao, const QString& log,
                     const QString& tabela, const QString& usuario)
{
    try {
        GravaLogSistema(companyStore(), QDateTime::currentDateTime(), filial, janela, acao, log, tabela,
                        usuario);
    } catch (const std::exception& e) {
        // GravaLogSistema(Store&, ...) reports its own errors; this is the missing company
        mostraErro(u"Erro ao gravar log de sistema : \n"_s + QString::fromUtf8(e.what()));
    }
}

// Several workstations write the same monthly table: the auto-increment field
// keeps their keys apart even within one second, so no pacing is needed.
void GravaLogSistema(Store& store, const QDateTime& agora, int filial, const QString& janela,
                     const QString& acao, const QString& log, const QString& tabela, const QString& usuario)
{
    try {
        const QString quem = usuario.trimmed().isEmpty() ? u"Nenhum"_s : usuario;
        const QString nome = nomeLogSistema(agora.date());
        Database& db = store.db();
        const TableDef tipos = logSistemaTiposTable();
        if (!db.tableExists(tipos.name()))
            store.ensure(tipos);
        const TableDef def = logSistemaTable().renamed(nome);
        if (!db.tableExists(nome))
            store.ensure(def);

        Transaction tx(db);
        insereLinha(db, def,
                    {{u"Filial"_s, filial},
                     {u"Data"_s, agora.date()},
                     {u"Hora"_s, agora.time()},
                     {u"Janela"_s, janela},
                     {u"Acao"_s, acao},
                     {u"Usuario"_s, quem},
                     {u"Tabela"_s, tabela},
                     {u"Log"_s, log}});
        const int campo = tipos.findField(u"Campo"_s)->size;
        Statement& add = db.cached(
            u"INSERT INTO LogSys_Tipos (Tipo, Campo) SELECT ?, ? "
            "WHERE NOT EXISTS (SELECT 1 FROM LogSys_Tipos WHERE Tipo = ? AND Campo = ?)"_s);
        for (const auto& [tipo, texto] : {std::pair{u"J"_s, janela}, std::pair{u"A"_s, nomeAcaoLog(acao)},
                                          std::pair{u"T"_s, tabela}})
            if (!texto.trimmed().isEmpty())
                add.bindList({tipo, texto.left(campo), tipo, texto.left(campo)}).run();
        tx.commit();
    } catch (const std::exception& e) {
        mostraErro(u"Erro ao gravar log de sistema : \n"_s + QString::fromUtf8(e.what()));
    }
}

}  // namespace pcp
