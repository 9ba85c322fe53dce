#pragma once
// The PostgreSQL driver, over libpq: one connection per store, statements
// prepared on the server once per text, parameters sent as text for the
// server to type by their place, rows read in text form.
#include "Driver.h"

namespace pcp {
struct ServidorConf;
}

namespace pcp::driver {

std::unique_ptr<Connection> openPostgres(const ServidorConf& conf);

// The connection string given to libpq: the one of servidor.conf, with the
// keepalive and timeout settings added unless it sets them itself.
QString conninfoWithDefaults(const QString& conninfo);

}  // namespace pcp::driver
