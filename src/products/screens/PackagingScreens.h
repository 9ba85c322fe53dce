#pragma once
// The packaging registers in the program's screen registry: "TfoCadEmbalagem"
// and "TfoCadEmbalPorProd", built on the store of the branch data module each
// time they are opened and destroyed on close, so a screen never outlives the
// company it was opened on (after a change of company it would still write to
// the previous company's tables).
namespace pcp {

class ScreenRegistry;

void registerPackagingScreens(ScreenRegistry& registry);

}  // namespace pcp
