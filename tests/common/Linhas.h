#pragma once
// Writes one row straight into a table, the fields given by name: the
// fixtures use it to lay out a small company without going through screens.
#include "Database.h"
#include "TableDef.h"

#include <QStringList>
#include <QVariantMap>

namespace pcp::test {

inline void insereLinha(Database& db, const QString& tabela, const QVariantMap& campos)
{
    using namespace Qt::Literals::StringLiterals;
    QStringList nomes, marcas;
    QVariantList valores;
    for (auto it = campos.begin(); it != campos.end(); ++it) {
        nomes << quoted(it.key());
        marcas << u"?"_s;
        valores << it.value();
    }
    db.prepare(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(tabela, nomes.join(u", "_s), marcas.join(u", "_s)))
        .bindList(valores)
        .run();
}

// The first column of every row of a query, joined: what the checks compare
// whatever engine holds the rows (numbers as QVariant writes them: 2, 2.5).
inline QString colunaJunta(Database& db, const QString& sql, const QString& separador = QStringLiteral(" "))
{
    QStringList valores;
    Statement st = db.prepare(sql);
    while (st.next())
        valores << st.value(0).toString();
    return valores.join(separador);
}

// Every row of a query, its columns joined by `entreColunas` and the rows by
// `entreLinhas`; numbers printed as colunaJunta prints them, blanks empty.
inline QString linhasJuntas(Database& db, const QString& sql, const QString& entreColunas = QStringLiteral("|"),
                            const QString& entreLinhas = QStringLiteral(" "))
{
    QStringList linhas;
    Statement st = db.prepare(sql);
    while (st.next()) {
        QStringList valores;
        for (int i = 0; i < st.columnCount(); ++i)
            valores << st.value(i).toString();
        linhas << valores.join(entreColunas);
    }
    return linhas.join(entreLinhas);
}

}  // namespace pcp::test
