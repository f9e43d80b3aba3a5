#pragma once

#include <functional>

namespace ado {
class Connection;
}

namespace ztgl {

// Runs `work` in one transaction on `conn`: committed when it returns, rolled back when it throws
// (the error then goes on to the caller).
void InTransaction(ado::Connection& conn, const std::function<void()>& work);

}  // namespace ztgl
