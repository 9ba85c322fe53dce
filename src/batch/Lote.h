#pragma once
// The batch command: the long stock operations run on a company folder
// without a window. Messages a screen would show go through the message
// service (stderr in the program), progress lines go to `andamento`, and
// what the command hands back (the usage asked for, a balance) to `resultado`.
//
//   pcp-lote --empresa DIR --filial N [--criar] saldo-fisico --mes YYYYMM --produto N
//            [--tamanho T] [--deposito N] [--atualiza-qtdfis]
//   pcp-lote --empresa DIR --filial N custo-medio --mes MMYYYY --de N --ate N
//   pcp-lote --empresa DIR --filial N baixa-mp --de dd/mm/yyyy --ate dd/mm/yyyy
//            --historico-venda N --historico-baixa N --fornecedor N
//   pcp-lote --empresa DIR copia-para-servidor --servidor CONEXAO --destino DIR2 [--esquema NOME]
//   pcp-lote --empresa DIR2 copia-do-servidor --destino DIR3
#include <QStringList>
#include <cstdio>

namespace pcp {

// LoteRecusado: the input was refused before the company store was opened
// for writing; no file or folder was created or changed. LoteFalhou: the run
// did not do all it was asked; the messages say why. Every status but LoteOk
// comes with at least one message.
enum SaidaLote { LoteOk = 0, LoteFalhou = 1, LoteRecusado = 2 };

// Runs one command; the arguments exclude the program name. A null file
// drops what would go there.
int executaLote(const QStringList& args, std::FILE* andamento = stderr, std::FILE* resultado = stdout);

}  // namespace pcp
