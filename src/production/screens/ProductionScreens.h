#pragma once

namespace pcp {

class ScreenRegistry;

// The production utilities: the raw-material write-off by formula.
void registerProductionScreens(ScreenRegistry& registry);

}  // namespace pcp
