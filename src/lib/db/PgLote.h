#pragma once
// Queued writes of one simple form gathered into one statement on the server:
// "UPDATE t SET a = ?, b = ? WHERE _rowid_ = ?" and "INSERT INTO t (a, b)
// VALUES (?, ?)" become one UPDATE ... FROM unnest(...) or INSERT ... SELECT
// FROM unnest(...) per batch, each column travelling as one array, so a run
// that writes a million rows sends a thousand statements.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace pcp::driver {

class PgLote {
public:
    struct Forma {
        bool insercao = false;
        QString tabela;
        QStringList colunas;  // the columns written, in parameter order
    };
    // The form of a statement that can travel in batches; nothing otherwise.
    static std::optional<Forma> reconhece(const QString& sql);

    // `tipos` are the server's type names of the columns (and, for an
    // update, "int8" for the row identity last).
    PgLote(Forma forma, QStringList tipos);

    const QString& texto() const { return texto_; }
    int parametros() const { return int(colunas_.size()); }
    // Whether the row is already in the batch (an update must then send the
    // batch first: within one statement the later change would not win).
    bool temLinha(qint64 linha) const { return linhas_.contains(linha); }
    void adiciona(const std::vector<QByteArray>& valores, const std::vector<bool>& nulos);
    int tamanho() const { return tamanho_; }
    // The arrays of the batch, one per column, as the server reads them; the
    // batch is empty afterwards.
    std::vector<QByteArray> retira();

private:
    Forma forma_;
    QString texto_;
    std::vector<QByteArray> colunas_;  // array bodies being built
    QSet<qint64> linhas_;
    int tamanho_ = 0;
};

}  // namespace pcp::driver
