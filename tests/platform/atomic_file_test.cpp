#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

#include "../support/test_support.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

#ifdef __linux__
// The process's open file handles.
size_t openHandles() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}
// Whether the open handles come back to `count` within a few seconds: the handle of a
// replaced file is closed on a thread of its own.
bool handlesComeBackTo(size_t count) {
    for (int wait = 0; wait < 1000 && openHandles() != count; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return openHandles() == count;
}
#endif

TEST(AtomicFile, CommitReplacesTheTargetAndLeavesNoTemporaryFile) {
    TempDir dir;
    writeBytes(dir / "out.csv", std::string(2 << 20, 'o'));  // large: its space is given back on a thread
#ifdef __linux__
    const size_t handles = openHandles();
#endif
    // Lines numbered in order over several buffers, each written while the next is
    // filled, then a piece larger than the buffer.
    std::string expected = "new ";
    for (int i = 0; i < 400000; ++i) expected += std::to_string(i) + "\n";
    {
        AtomicFile file(dir / "out.csv");
        file.write("new ");
        for (int i = 0; i < 400000; ++i) file.write(std::to_string(i) + "\n");
        file.write(std::string(3 << 20, 'x'));  // more than the buffer
        file.commit();
    }
    EXPECT_EQ(readBytes(dir / "out.csv"), expected + std::string(3 << 20, 'x'));
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"out.csv"});
#ifdef __linux__
    EXPECT_TRUE(handlesComeBackTo(handles));
#endif
}

TEST(AtomicFile, AnAbandonedWriteKeepsTheOlderFileAndLeavesNothingElse) {
    TempDir dir;
    writeBytes(dir / "out.csv", "old");
    try {
        AtomicFile file(dir / "out.csv");
        file.write(std::string(5 << 20, 'x'));
        throw std::runtime_error("the run stops half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(readBytes(dir / "out.csv"), "old");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"out.csv"});
}

#ifndef _WIN32
// A write that fails after many buffers (here at the process's file size limit, as on a
// full disk) raises the error, even when it failed on the thread that writes behind.
TEST(AtomicFile, AWriteThatFailsPartwayRaisesTheErrorAndKeepsTheOlderFile) {
    TempDir dir;
    writeBytes(dir / "out.csv", "old");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 3 << 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool raised = false;
    try {
        AtomicFile file(dir / "out.csv");
        for (int i = 0; i < 1000; ++i) file.write(std::string(10000, 'x'));
        file.commit();
    } catch (const Error&) {
        raised = true;
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousSignal);
    EXPECT_TRUE(raised);
    EXPECT_EQ(readBytes(dir / "out.csv"), "old");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"out.csv"});
}
#endif

TEST(AtomicFile, AnAbandonedNewFileLeavesNoFile) {
    TempDir dir;
    {
        AtomicFile file(dir / "new.txt");
        file.write("partial");
    }
    EXPECT_TRUE(listFolder(dir.path()).empty());
}

TEST(AtomicFile, AFolderThatCannotBeWrittenGivesAnErrorNamingTheFile) {
    TempDir dir;
    writeBytes(dir / "not-a-folder", "");
    try {
        writeFileAtomically(dir / "not-a-folder" / "out.csv", "x");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.message().find(u"out.csv"), std::u16string::npos) << utf16ToUtf8(e.message());
    }
}

TEST(AtomicFile, ATargetThatIsAFolderIsNotReplaced) {
    TempDir dir;
    std::filesystem::create_directory(dir / "taken");
    writeBytes(dir / "taken" / "inside", "keep");
    EXPECT_THROW(writeFileAtomically(dir / "taken", "x"), Error);
    EXPECT_EQ(readBytes(dir / "taken" / "inside"), "keep");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"taken"});
}

#ifndef _WIN32
// An owner-only file is its user's alone from the moment its temporary file exists, not
// only after the rename, whatever the umask lets.
TEST(AtomicFile, AnOwnerOnlyFileIsNeverReadableByOthers) {
    TempDir dir;
    const mode_t old = ::umask(0);
    AtomicFile file(dir / "secret.txt", FileAccess::ownerOnly);
    ::umask(old);
    const std::vector<std::string> pending = listFolder(dir.path());
    ASSERT_EQ(pending.size(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat((dir / pending[0]).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    file.write("key");
    file.commit();
    ASSERT_EQ(::stat((dir / "secret.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}
#endif

TEST(AtomicFile, CopyReplacesTheTargetWhole) {
    TempDir dir;
    writeBytes(dir / "a", std::string(1 << 20, 'a'));
    writeBytes(dir / "b", "old");
    copyFileAtomically(dir / "a", dir / "b");
    EXPECT_EQ(readBytes(dir / "b"), std::string(1 << 20, 'a'));
    EXPECT_THROW(copyFileAtomically(dir / "missing", dir / "b"), Error);
    EXPECT_EQ(readBytes(dir / "b"), std::string(1 << 20, 'a'));
}

}  // namespace
}  // namespace vask

namespace vask {
namespace {

TEST(AtomicFile, CommitUnderANameKnownOnlyAtTheEnd) {
    test::TempDir dir;
    AtomicFile file(dir / "pending");
    file.write("data");
    file.commit(dir / "50611_1.UKE");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"50611_1.UKE"});
    EXPECT_EQ(test::readBytes(dir / "50611_1.UKE"), "data");
}

TEST(AtomicFile, FolderProbeCreatesNothingAndFailsWhereNoFileCanBeMade) {
    test::TempDir dir;
    test::writeBytes(dir / "file", "x");
    EXPECT_TRUE(canCreateFilesIn(dir.path()));
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"file"});
    EXPECT_FALSE(canCreateFilesIn(dir / "missing"));
    EXPECT_FALSE(canCreateFilesIn(dir / "file" / "below"));
}

}  // namespace
}  // namespace vask
