#pragma once
// The demo company's catalogue: a small paint factory's raw materials,
// packaging, finished paints with sizes, tinting machines, technicians,
// clients and suppliers.
namespace pcp {
class Store;
void preencheCatalogoDemo(Store& store);
}  // namespace pcp
