#pragma once
// The average-cost run over a range of classifications, as the "Atualização
// do Custo Medio" screen and the batch command run it: the branch's products
// in Classificacao order, one at a time, each locked while the engine values
// it.
#include "L_Estoque.h"
#include "TableCursor.h"

#include <functional>
#include <memory>

namespace pcp {

// Takes the record lock of the product `estproma` stands on: true when the
// cursor is in edit mode (the walk values the product and cancels the edit),
// false to skip the product. The screen asks the user (EditaRegistro).
using TravaProduto = std::function<bool(TableCursor& estproma)>;

struct ResultadoClassificacao {
    bool executado = true;  // false when the installation keeps the month closed (the walk stops)
    int produtos = 0;  // products valued
    int pulados = 0;   // products whose lock was not had
    int saldos = 0;    // balance rows valued
    qint64 itens = 0;  // items valued
};

// Values the month for each product of the context's branch from the first
// classification on: `classIni` has 24 digits, the six level pieces of
// Classificacao (2, 3, 4, 3, 6, 6) the walk starts from. The walk stops at the
// first product whose "Nivel1/Nivel2/Nivel3/Nivel4/Nivel5/Cod_Reduz" is
// greater than `classFim` as plain text (so an end of
// "010000000000000000000000" still takes every product of level "01"), or
// when the branch ends. `andamento` gets that text before each product,
// `produto` what the engine reports. Without `trava` a product another
// workstation holds is skipped.
ResultadoClassificacao AtualizaCustoMedioPorClassificacao(
    const std::shared_ptr<Store>& store, const ContextoEstoque& contexto, const Mes& mes,
    const QString& classIni, const QString& classFim, const TravaProduto& trava = {},
    const AndamentoEstoque& andamento = {}, const AndamentoEstoque& produto = {});

}  // namespace pcp
