// Starts the real program twice: the second copy ends at once, silently, with status 0;
// after the first copy crashed, its left-over lock does not block the next start.
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    SingleInstance() { ::chmod(runtime_.path().c_str(), 0700); }

    // `platform` names the Qt platform plugin; a copy that loaded one that does not exist
    // would end with an error.
    std::unique_ptr<QProcess> start(const QString& platform = QStringLiteral("offscreen")) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qstr(runtime_.path()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(VASK_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
    bool lockExists() const { return QFile::exists(qstr(runtime_ / "VaskMutex.lock")); }
    void waitForLock() {
        for (int i = 0; i < 500 && !lockExists(); ++i) QThread::msleep(10);
        ASSERT_TRUE(lockExists());
    }

    TempDir runtime_;
};

TEST_F(SingleInstance, ASecondCopyEndsSilentlyAndAStaleLockDoesNotBlock) {
    auto first = start();
    waitForLock();

    // Even a lock that looks old stays valid while its owner lives.
    QFile lock(qstr(runtime_ / "VaskMutex.lock"));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    lock.close();

    // The second copy ends before it loads any platform plugin: one that does not exist
    // does not stop it from ending silently.
    auto second = start(QStringLiteral("no-such-platform"));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
    EXPECT_TRUE(second->readAllStandardError().isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill();  // a crash: the lock file stays behind
    first->waitForFinished(10000);
    ASSERT_TRUE(lockExists());

    auto third = start();
    EXPECT_FALSE(third->waitForFinished(1500)) << "the third copy should have started and kept running";
    third->terminate();
    third->waitForFinished(10000);
}

}  // namespace
}  // namespace vask::test
