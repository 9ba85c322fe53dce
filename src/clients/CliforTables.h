#pragma once
// The client/supplier record `Clifor`, the satellite tables that hang on a
// partner, and the tables its codes point to.
#include "TableDef.h"

namespace pcp {

// Adds Clifor, its satellites (CLIFOR2, CttCliFo, ObserCli, RenovCli,
// Endereco, Nfe_email_clientes, FILHOS, Sped_AlteraClifor, LIMITCOD, CLPRVEND)
// and the code tables (Vendedor, Regiao, Banco, Transpor, Vencto, Conceito,
// Praca, PAISES, MUNIC, RamoAtiv, Enquadra, Contas, Conniv1 to Conniv5).
void declareClientTables(Catalog& catalog);
// Only the code tables (part of declareClientTables).
void declareCliforCodeTables(Catalog& catalog);

TableDef cliforTable();

// Secondary indexes of Clifor, all case-insensitive, all beginning with Filial.
inline constexpr const char16_t* kIndiceTipoCgc = u"Tipo/Cgc";
inline constexpr const char16_t* kIndiceNomeClifor = u"Nome do Cliente/Fornecedo";
inline constexpr const char16_t* kIndiceFantasiaCidade = u"Fantasia/Cidade";
inline constexpr const char16_t* kIndiceVendedorCidadeNome = u"Vendedor/Cidade/Nome";
inline constexpr const char16_t* kIndiceVendedorNome = u"Vendedor/Nome";

}  // namespace pcp
