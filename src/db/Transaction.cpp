#include "db/Transaction.h"

#include "ado/Connection.h"

namespace ztgl {

void InTransaction(ado::Connection& conn, const std::function<void()>& work) {
    conn.BeginTrans();
    try {
        work();
        conn.CommitTrans();
    } catch (...) {
        try {
            conn.RollbackTrans();
        } catch (...) {
            // the first error is the one to report
        }
        throw;
    }
}

}  // namespace ztgl
