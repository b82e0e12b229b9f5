#pragma once

#include <memory>

class CConnection;

// The shop database the program works on: empty before the first connect and after the
// connection was closed for good. Every read and write of the program goes through it; the
// application object connects and replaces it.
//
//   if (CConnection* connection = Db().get()) ...
std::shared_ptr<CConnection>& Db();
