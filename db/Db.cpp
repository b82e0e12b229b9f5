#include "db/Db.h"

#include "db/CConnection.h"

std::shared_ptr<CConnection>& Db() {
    // Never destroyed: a connection still held at the process's end (a test that did not
    // release it) would otherwise be closed after the SQL drivers are gone.
    static auto* connection = new std::shared_ptr<CConnection>();
    return *connection;
}
