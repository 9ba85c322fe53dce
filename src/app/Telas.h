#pragma once
namespace pcp {
// Registers every screen of the program in the screen registry, once.
void registraTelas();
}
