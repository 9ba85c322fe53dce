#include "CopiaEmpresa.h"

#include "Messages.h"
#include "Schema.h"
#include "TableTransfer.h"
#include "Transaction.h"

#include <QCryptographicHash>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

constexpr int kLinhasPorPagina = 5000;
// Rows per INSERT: few round trips, and within both engines' limits of parameters.
constexpr int kLinhasPorInsert = 500;
constexpr int kParametrosPorInsert = 30000;

// How one table is read on both ends: the declared fields the source has,
// in the order of the source's rows. A table whose auto-increment field is
// SQLite's row identity is ordered by that field, so both ends agree.
struct Plano {
    TableDef def;
    QStringList colunas;
    int autoInc = -1;  // position of the auto-increment field among the columns

    QString ordem() const
    {
        return autoInc < 0 ? u"_rowid_"_s : quoted(colunas[autoInc]) + u", _rowid_"_s;
    }
};

Plano planoDe(const TableDef& def, const QStringList& existentes)
{
    Plano p{def, {}, -1};
    for (const FieldDef& f : def.fields()) {
        if (!existentes.contains(f.name.toLower()))
            continue;
        if (f.type == FieldType::AutoInc)
            p.autoInc = int(p.colunas.size());
        p.colunas << f.name;
    }
    return p;
}

// The canonical form of a value, alike on both engines: a tag, the length
// and the bytes. A blank text is a blank, as the table layer stores it.
void somaValor(QCryptographicHash& h, const QVariant& v)
{
    char tag = 'N';
    QByteArray bytes;
    switch (v.isNull() ? QMetaType::UnknownType : QMetaType::Type(v.typeId())) {
    case QMetaType::LongLong: tag = 'I', bytes = QByteArray::number(v.toLongLong()); break;
    case QMetaType::Double: tag = 'R', bytes = QByteArray::number(v.toDouble(), 'g', 17); break;
    case QMetaType::QString:
        bytes = v.toString().toUtf8();
        tag = bytes.isEmpty() ? 'N' : 'T';
        break;
    case QMetaType::QByteArray: tag = 'B', bytes = v.toByteArray().toHex(); break;
    default: break;
    }
    const QByteArray forma = QByteArray(1, tag) + QByteArray::number(bytes.size()) + ':' + bytes;
    h.addData(forma);
}

// Reads the rows of the table in copy order, a page at a time (the server
// sends a whole result at once), handing each row's values to `linha`.
// Returns the number of rows read.
qint64 percorre(Database& db, const Plano& p, const std::function<void(const QVariantList&)>& linha)
{
    if (p.colunas.isEmpty())
        return 0;
    QStringList campos;
    for (const QString& c : p.colunas)
        campos << quoted(c);
    const QString base = u"SELECT %1, _rowid_ FROM %2"_s.arg(campos.join(u", "_s), quoted(p.def.name()));
    const QString fim = u" ORDER BY %1 LIMIT %2"_s.arg(p.ordem()).arg(kLinhasPorPagina);
    Statement primeira = db.prepare(base + fim);
    const QString depois = p.autoInc < 0 ? u" WHERE _rowid_ > ?"_s
                                         : u" WHERE (%1, _rowid_) > (?, ?)"_s.arg(quoted(p.colunas[p.autoInc]));
    Statement seguinte = db.prepare(base + depois + fim);
    const int n = int(p.colunas.size());
    qint64 total = 0;
    QVariant ultimaChave, ultimoRowId;
    for (bool inicio = true;; inicio = false) {
        Statement& st = inicio ? primeira : seguinte;
        if (!inicio) {
            if (p.autoInc < 0)
                st.bind(1, ultimoRowId);
            else
                st.bind(1, ultimaChave).bind(2, ultimoRowId);
        }
        int lidas = 0;
        QVariantList valores;
        valores.reserve(n);
        while (st.next()) {
            valores.clear();
            for (int c = 0; c < n; ++c)
                valores << st.value(c);
            ultimoRowId = st.value(n);
            if (p.autoInc >= 0)
                ultimaChave = valores[p.autoInc];
            linha(valores);
            ++lidas;
        }
        total += lidas;
        if (lidas < kLinhasPorPagina)
            return total;
    }
}

ResumoTabela resume(Database& db, const Plano& p)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    const qint64 linhas = percorre(db, p, [&](const QVariantList& valores) {
        for (const QVariant& v : valores)
            somaValor(h, v);
    });
    return {p.def.name(), linhas, h.result().toHex()};
}

// Multi-row INSERTs of the rows handed to it.
class Insercao {
public:
    Insercao(Database& db, const Plano& p) : db_(db), colunas_(int(p.colunas.size()))
    {
        QStringList campos;
        for (const QString& c : p.colunas)
            campos << quoted(c);
        prefixo_ = u"INSERT INTO %1 (%2) VALUES "_s.arg(quoted(p.def.name()), campos.join(u", "_s));
        porComando_ = qBound(1, kParametrosPorInsert / qMax(1, colunas_), kLinhasPorInsert);
    }
    void adiciona(const QVariantList& linha)
    {
        pendentes_ += linha;
        if (pendentes_.size() == qsizetype(porComando_) * colunas_)
            grava();
    }
    void grava()
    {
        const int linhas = int(pendentes_.size() / qMax(1, colunas_));
        if (linhas == 0)
            return;
        if (linhas == porComando_) {
            if (!cheio_)
                cheio_.emplace(db_.prepare(comando(linhas)));
            cheio_->reset();
            cheio_->bindList(pendentes_).run();
        } else {
            db_.prepare(comando(linhas)).bindList(pendentes_).run();
        }
        pendentes_.clear();
    }

private:
    QString comando(int linhas) const
    {
        const QString uma = u'(' + QStringList(colunas_, u"?"_s).join(u", "_s) + u')';
        return prefixo_ + QStringList(linhas, uma).join(u", "_s);
    }
    Database& db_;
    int colunas_;
    int porComando_;
    QString prefixo_;
    QVariantList pendentes_;
    std::optional<Statement> cheio_;
};

qint64 contaLinhas(Database& db, const QString& tabela)
{
    return db.prepare(u"SELECT count(*) FROM "_s + quoted(tabela)).scalar().toLongLong();
}

ResumoTabela copiaTabela(Database& origem, Database& destino, const Plano& p, const QString& posicao,
                         const AndamentoCopia& andamento)
{
    const QString nome = p.def.name();
    const qint64 total = p.colunas.isEmpty() ? 0 : contaLinhas(origem, nome);
    Insercao insercao(destino, p);
    QCryptographicHash h(QCryptographicHash::Sha256);
    qint64 copiadas = 0, maiorNumero = 0;
    const qint64 lidas = percorre(origem, p, [&](const QVariantList& valores) {
        for (const QVariant& v : valores)
            somaValor(h, v);
        if (p.autoInc >= 0)
            maiorNumero = qMax(maiorNumero, valores[p.autoInc].toLongLong());
        insercao.adiciona(valores);
        if (++copiadas % 1000 == 0)
            andamento(u"Copiando %1 (%2): %3 de %4 linhas"_s.arg(nome, posicao).arg(copiadas).arg(total), false);
    });
    insercao.grava();
    if (lidas != total)
        throw DbError(u"foram lidas %1 das %2 linhas da origem"_s.arg(lidas).arg(total));
    if (p.autoInc >= 0) {
        const QString campo = p.colunas[p.autoInc];
        setLastAutoNumber(destino, nome, campo, qMax(maiorNumero, lastAutoNumber(origem, nome, campo)));
    }
    const ResumoTabela fonte{nome, lidas, h.result().toHex()};
    const ResumoTabela copia = resume(destino, p);
    if (copia.linhas != fonte.linhas)
        throw DbError(u"o destino tem %1 linhas, a origem %2"_s.arg(copia.linhas).arg(fonte.linhas));
    if (copia.soma != fonte.soma)
        throw DbError(u"os valores lidos do destino diferem dos da origem (soma de conferência)"_s);
    return fonte;
}

}  // namespace

QList<TableDef> tabelasDaEmpresa(Database& origem, const Catalog& catalogo, QStringList& desconhecidas)
{
    QList<TableDef> out = catalogo.tables();
    QStringList nomes = origem.tableNames();
    std::sort(nomes.begin(), nomes.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    for (const QString& nome : nomes) {
        if (catalogo.find(nome))
            continue;
        if (std::optional<TableDef> membro = catalogo.familyMember(nome))
            out << *membro;
        else
            desconhecidas << nome;
    }
    return out;
}

QString tabelaJaExistente(Database& destino, const QList<TableDef>& tabelas)
{
    QSet<QString> desejadas;
    for (const TableDef& t : tabelas)
        desejadas.insert(t.name().toLower());
    for (const QString& nome : destino.tableNames())
        if (desejadas.contains(nome.toLower()))
            return nome;
    return {};
}

QList<ResumoTabela> copiaTabelas(Database& origem, Database& destino, const QList<TableDef>& tabelas,
                                 const AndamentoCopia& andamento)
{
    beginSnapshot(origem);
    struct Fim {
        Database& db;
        ~Fim()
        {
            try {
                endSnapshot(db);
            } catch (const DbError&) {
                // the connection is gone; it read and wrote nothing more
            }
        }
    } fim{origem};

    Transaction tx(destino);
    ensureTables(destino, tabelas);
    QList<ResumoTabela> out;
    for (qsizetype i = 0; i < tabelas.size(); ++i) {
        const TableDef& t = tabelas[i];
        try {
            const QStringList existentes = columnNames(origem, t.name());
            const Plano p = planoDe(t, existentes);
            for (const QString& c : existentes)
                if (!t.findField(c))
                    mostraAviso(u"A coluna %1 da tabela %2 não é declarada pelo programa e não foi copiada"_s.arg(
                        c, t.name()));
            out << copiaTabela(origem, destino, p, u"%1 de %2"_s.arg(i + 1).arg(tabelas.size()), andamento);
        } catch (const DbError& e) {
            throw DbError(u"Tabela %1: %2"_s.arg(t.name(), e.message()), e.code(), e.kind());
        }
    }
    tx.commit();
    return out;
}

ResumoTabela resumoDaTabela(Database& db, const TableDef& tabela)
{
    return resume(db, planoDe(tabela, columnNames(db, tabela.name())));
}

}  // namespace pcp
