#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "ScopedEnvironment.h"
#include "platform/SingleInstance.h"

using namespace Qt::StringLiterals;

using ztgl::SingleInstance;

namespace {

// A key of its own for every test, so parallel test runs never meet.
QString uniqueKey(const char* name) {
    return u"ztgl-test-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(QLatin1String(name));
}

}  // namespace

// A second process holds the instance; once it has died without letting go, its stale lock is
// taken over.
TEST(SingleInstance, OtherProcessHoldsItAndItsStaleLockIsTakenOver) {
    const QString key = uniqueKey("process");
    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto* held = new SingleInstance(key);  // never released: the process is killed holding it
        const char ok = held->acquire() ? 'y' : 'n';
        alarm(30);  // never outlives a parent that failed before killing it
        if (write(toParent[1], &ok, 1) == 1)
            pause();
        _exit(2);
    }
    char childGot = 0;
    ASSERT_EQ(read(toParent[0], &childGot, 1), 1);
    EXPECT_EQ(childGot, 'y');
    SingleInstance mine(key);
    EXPECT_FALSE(mine.acquire());
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    close(toParent[0]);
    close(toParent[1]);
    EXPECT_TRUE(mine.acquire());
    SingleInstance third(key);
    EXPECT_FALSE(third.acquire());
}

// A lock that cannot be made at all must not keep the operator from working.
TEST(SingleInstance, UnusableLockFolderDoesNotRefuseTheStart) {
    ztgl::test::ScopedEnvironment env;
    env.unset("XDG_RUNTIME_DIR");
    env.set("TMPDIR", "/nonexistent/ztgl-test-folder");
    SingleInstance first(uniqueKey("nowhere"));
    EXPECT_TRUE(first.acquire());
    EXPECT_FALSE(QFileInfo::exists(u"/nonexistent/ztgl-test-folder"_s));
}
