#pragma once
// Check digits of the company (CNPJ, "C.G.C.") and person (CPF) tax numbers.
#include <QString>

namespace pcp {

// True when the text is the 14 bare digits of a valid CNPJ. Punctuation, a
// non-digit among the first 12 characters or a shorter text give false
// silently; a wrong check digit (or anything after the 14 digits) gives false
// and, when mostraMensagem, the message "C.G.C. Invalido".
bool ValidaCGC(const QString& texto, bool mostraMensagem);

// The same for the 11 digits of a CPF (9 digits checked), message "CPF Invalido".
bool ValidaCPF(const QString& texto, bool mostraMensagem);

// The first 12 (CNPJ) or 9 (CPF) digits followed by their check digits;
// empty when the text is shorter or holds a non-digit there.
QString completaCGC(const QString& doze);
QString completaCPF(const QString& nove);

}  // namespace pcp
