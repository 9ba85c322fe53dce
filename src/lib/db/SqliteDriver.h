#pragma once
// The SQLite driver: one file opened in WAL mode with synchronous=FULL.
#include "Driver.h"

namespace pcp::driver {

std::unique_ptr<Connection> openSqlite(const QString& path, bool readOnly);

}  // namespace pcp::driver
