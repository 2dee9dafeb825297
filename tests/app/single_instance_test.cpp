// Starts the real program twice: the second copy ends at once, silently, with status 0;
// after the first copy crashed, the next start is not blocked (on POSIX its lock file is
// left behind; Windows frees the mutex with the process).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <memory>

#include "../gui/gui_test_support.h"

namespace vask::test {
namespace {

class SingleInstance : public ::testing::Test {
protected:
#ifndef _WIN32
    SingleInstance() { ::chmod(runtime_.path().c_str(), 0700); }
#endif

    // `platform` names the Qt platform plugin; a copy that loaded one that does not exist
    // would end with an error.
    std::unique_ptr<QProcess> start(const QString& platform = QStringLiteral("offscreen")) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qsPath(runtime_.path()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(VASK_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
#ifdef _WIN32
    static bool lockExists() {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"VaskMutex");
        if (mutex) CloseHandle(mutex);
        return mutex != nullptr;
    }
#else
    bool lockExists() const { return QFile::exists(qsPath(runtime_ / "VaskMutex.lock")); }
#endif
    void waitForLock() {
        for (int i = 0; i < 500 && !lockExists(); ++i) QThread::msleep(10);
        ASSERT_TRUE(lockExists());
    }

    TempDir runtime_;
};

TEST_F(SingleInstance, ASecondCopyEndsSilentlyAndAStaleLockDoesNotBlock) {
    auto first = start();
    waitForLock();

#ifndef _WIN32
    // Even a lock file that looks old stays valid while its owner lives.
    QFile lock(qsPath(runtime_ / "VaskMutex.lock"));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    lock.close();
#endif

    // The second copy ends before it loads any platform plugin: one that does not exist
    // does not stop it from ending silently.
    auto second = start(QStringLiteral("no-such-platform"));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_TRUE(second->readAllStandardError().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();  // a crash
    first->waitForFinished(10000);
#ifdef _WIN32
    EXPECT_FALSE(lockExists());
#else
    ASSERT_TRUE(lockExists());  // the lock file stays behind
#endif

    auto third = start();
    EXPECT_FALSE(third->waitForFinished(1500)) << "the third copy should have started and kept running";
    third->terminate();
    third->waitForFinished(10000);
}

}  // namespace
}  // namespace vask::test
