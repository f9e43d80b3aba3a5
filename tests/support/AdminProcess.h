#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

#include "QtPrinters.h"

namespace ztgl::test {

// One run of the built ztgl-admin.
struct AdminRun {
    int code = -1;   // exit code; -1 when it crashed or did not finish
    int signal = 0;  // the signal that ended it, when it crashed (Unix)
    QString out;
    QString err;
};

// Adjusts a run before it starts: its environment, a child-process modifier (the fault tests).
using AdminSetup = std::function<void(QProcess&, QProcessEnvironment&)>;

// Runs ztgl-admin with `args` in a UTF-8 locale; standard input is a closed pipe (not a terminal).
// Inline: the program's path is known to the test programs only (ZTGL_ADMIN_EXE).
inline AdminRun runAdmin(const QStringList& args, const AdminSetup& setup = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (setup)
        setup(p, env);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZTGL_ADMIN_EXE), args);
    p.closeWriteChannel();
    AdminRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.signal = p.exitStatus() == QProcess::CrashExit ? p.exitCode() : 0;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Runs ztgl-admin --dir `dir` with `args`, expecting its exit code and, when given, a part of its standard
// error.
inline AdminRun expectAdmin(const QString& dir, const QStringList& args, int code,
                            const QString& errPart = {}) {
    const AdminRun r = runAdmin(QStringList{QStringLiteral("--dir"), dir} + args);
    EXPECT_EQ(r.code, code) << args.join(' ') << "\n" << r.err;
    EXPECT_TRUE(r.err.contains(errPart)) << args.join(' ') << "\n" << r.err;
    return r;
}

}  // namespace ztgl::test
