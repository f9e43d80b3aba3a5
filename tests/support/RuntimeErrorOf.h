#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/RuntimeError.h"

namespace ztgl::test {

// The error an action throws; fails the test when it throws none.
inline RuntimeError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return RuntimeError(0, QString());
}

}  // namespace ztgl::test
