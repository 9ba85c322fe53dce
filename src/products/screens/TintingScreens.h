#pragma once
// The registers of the two catalogues the formulas point to: tinting machines
// (TFoCadMatizador) and responsible people (TfoCadResptec).
#include <QString>

namespace pcp {

class ScreenRegistry;

// Registers "TFoCadMatizador" and "TfoCadResptec" (long-lived: closing hides
// them) on the company store of the branch data module.
void registerTintingScreens(ScreenRegistry& registry);

}  // namespace pcp
