#pragma once

#include <QStringList>

#include "platform/ShutDown.h"

namespace ztgl::test {

// The workstation orders of every test: recorded ("LogOff force", "ShutDown force",
// "Restart force"), never obeyed.
class RecordingShutDown final : public ShutDown {
public:
    void LogOffWindows(bool force) override { record(QStringLiteral("LogOff"), force); }
    void ShutDownWindows(bool force) override { record(QStringLiteral("ShutDown"), force); }
    void RestartWindows(bool force) override { record(QStringLiteral("Restart"), force); }
    QStringList orders;

private:
    void record(const QString& order, bool force) {
        orders << order + (force ? QStringLiteral(" force") : QString());
    }
};

}  // namespace ztgl::test
