#pragma once

#include "platform/RuntimeError.h"

namespace ztgl {

// A safekeeping operation refused for a reason the operator can act on (a damaged or foreign
// backup, a set still in use …). Shown as its text alone, without a procedure's label.
class Refusal : public RuntimeError {
public:
    explicit Refusal(const QString& why) : RuntimeError(RuntimeError::InvalidProcedureCall, why) {}
};

}  // namespace ztgl
