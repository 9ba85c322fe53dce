#pragma once
// Shared checks and small text routines used by many screens.
#include <QChar>
#include <QString>

namespace pcp {

// The program's one rounding rule for costs, prices, percentages and formula
// quantities. casas 1 to 6 are the decimals kept; any other number rounds to a
// whole number. Non-negative values round half up at that decimal, negative
// values are truncated toward zero there. Four extra decimals absorb the
// representation error of the stored value (2.675 with 2 decimals gives 2.68).
double Arredonda(int casas, double valor);

// True when the text is a date in the short date format "dd/mm/yyyy" (read as
// parseDate reads it); otherwise shows the error "Data Invalida:<texto>".
bool ValidaData(const QString& texto);

// The text without any occurrence of the character.
QString RemoveCaracter(const QString& texto, QChar caracter);

// Position (from 1) of the first occurrence of procurado in texto, comparing it
// with each substring of its length from position 1 on; 0 when absent or when
// procurado is longer than texto. An empty procurado matches at position 1.
int PosicaoTexto(const QString& texto, const QString& procurado);

// Only the characters "0" to "9" of the text, in order.
QString SoDigitos(const QString& texto);

}  // namespace pcp
