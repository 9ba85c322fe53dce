#pragma once
// The installation-code (FatModNf) rules of the stock engines, each rule one
// table of codes and what they change.
#include "Mes.h"

#include <QString>

namespace pcp {

// Installations whose physical balance shows no progress window.
bool semJanelaDeAndamento(int fatModNf);
// Installations told of a negative closing physical balance.
bool avisaSaldoNegativo(int fatModNf);
// Installations that move stock only with documents whose operation
// complement (COMPLNATOP) is "O" or "D".
bool soComplementoOD(int fatModNf);

enum class MotorEstoque { SaldoFisico, CustoMedio };
// The first item date ("yyyy-mm-dd") an engine counts for an installation;
// empty when every item counts.
QString primeiraDataDosItens(MotorEstoque motor, int fatModNf);

// The engine's own lock on revaluing a month at average cost.
struct BloqueioMesCusto {
    bool bloqueado = false;
    QString mensagem;  // empty: the month is passed over without a word
};
BloqueioMesCusto bloqueioMesCustoMedio(int fatModNf, const Mes& mes);

// The screen's lock on revaluing a month at average cost: the message
// ("Periodo Sem Acesso" or "Periodo sem acesso") when the month is locked for
// the installation, else empty.
QString periodoBloqueadoCustoMedio(int fatModNf, const Mes& mes);

}  // namespace pcp
