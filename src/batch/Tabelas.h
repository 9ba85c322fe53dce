#pragma once
namespace pcp {
// Declares every table of the program in the global catalog, once.
void declaraTabelas();
}
