#pragma once
// The product master table: every item bought, made, stocked or sold.
#include "TableDef.h"

namespace pcp {

TableDef estpromaTable();

}  // namespace pcp
