#pragma once

namespace pcp {

class ScreenRegistry;

// The access screens opened from the menu: the PCP parametrization.
void registerAccessScreens(ScreenRegistry& registry);

}  // namespace pcp
