#pragma once

namespace pcp {

class ScreenRegistry;

// The stock utilities: the average-cost update.
void registerStockScreens(ScreenRegistry& registry);

}  // namespace pcp
