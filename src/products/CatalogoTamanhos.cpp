#include "CatalogoTamanhos.h"

#include "Messages.h"
#include "Transaction.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

std::optional<int> atualizaCatalogoTamanhos(Database& db, const QString& tamanho)
{
    if (tamanho.isEmpty() || tamanho.size() > 4)
        throw DbError(u"Tamanho Invalido"_s);

    // The lookup and the insert are one write transaction, so two workstations
    // adding new sizes at once cannot pick the same free code.
    Transaction t(db);
    if (!db.prepare(u"SELECT 1 FROM Tamanhos WHERE Tamanho = ?"_s).bindList({tamanho}).scalar().isNull())
        return std::nullopt;

    int livre = 1;
    Statement codigos = db.prepare(u"SELECT Codigo FROM Tamanhos WHERE Codigo BETWEEN 1 AND ? ORDER BY Codigo"_s);
    codigos.bindList({kMaiorCodigoTamanho});
    while (codigos.next() && codigos.intValue(0) == livre)
        ++livre;
    codigos.reset();

    if (livre > kMaiorCodigoTamanho) {
        t.rollback();
        mostraMensagem(u"Não há mais código disponível para tamanho. Contate imediatamente a Ardeno Informática!"_s);
        return std::nullopt;
    }
    db.prepare(u"INSERT INTO Tamanhos (Codigo, Tamanho, Descricao) VALUES (?, ?, ?)"_s)
        .bindList({livre, tamanho, tamanho})
        .run();
    t.commit();
    return livre;
}

}  // namespace pcp
