#pragma once

namespace pcp {

class ScreenRegistry;

// The stock utilities: average-cost update and raw-material write-off.
void registerStockScreens(ScreenRegistry& registry);

}  // namespace pcp
