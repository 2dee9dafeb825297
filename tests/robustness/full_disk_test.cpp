// A full disk. The output folder becomes a small tmpfs, mounted in a mount namespace of
// this test program alone (as root, or as a user through a user namespace, as
// `unshare -rm` does); where the machine allows neither, those cases are skipped. The
// writer's own system layer is also run against /dev/full.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/atomic_file.h"
#include "robustness_support.h"

namespace vask::test {
namespace {

bool writeProcFile(const char* file, const std::string& text) {
    std::ofstream out(file);
    out << text;
    return static_cast<bool>(out.flush());
}

// Enters a mount namespace of this process, whose mounts vanish with it. Nothing when
// done, else why it cannot be done. Runs once: the namespace stays for the whole program.
std::optional<std::string> enterPrivateMounts() {
    static const std::optional<std::string> reason = []() -> std::optional<std::string> {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (uid == 0) {
            if (unshare(CLONE_NEWNS) != 0) return std::string("unshare(CLONE_NEWNS): ") + std::strerror(errno);
        } else {
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
                return std::string("unshare(CLONE_NEWUSER | CLONE_NEWNS): ") + std::strerror(errno);
            }
            if (!writeProcFile("/proc/self/setgroups", "deny") ||
                !writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
                return std::string("cannot map this user into its user namespace");
            }
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return std::string("cannot make the mounts private: ") + std::strerror(errno);
        }
        return std::nullopt;
    }();
    return reason;
}

// A workspace whose output folder is a tmpfs of `options` (size, inodes).
class FullDisk : public ::testing::Test {
protected:
    void mountOutput(const std::string& options) {
        if (const auto reason = enterPrivateMounts()) GTEST_SKIP() << "no mount namespace here (" << *reason << ")";
        if (mount("tmpfs", ws.out().c_str(), "tmpfs", 0, ("mode=0755," + options).c_str()) != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) umount2(ws.out().c_str(), MNT_DETACH);
    }

    Workspace ws;
    Tools tools{ws};

private:
    bool mounted_ = false;
};

// Every output is larger than the disk: the write fails, the partial file goes, and the
// older outputs on that disk stay as they were.
TEST_F(FullDisk, AWriteThatFindsNoSpace) {
    writeLargeInputs(tools);
    mountOutput("size=64k");
    if (IsSkipped()) return;
    for (const auto& tool : allTools()) {
        for (const auto& name : tool.outputs) writeBytes(ws.out(name), "older " + name);
    }
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        Expected failed = refusal(shownError(tool.name, fileError(ws.out(tool.outputs.front()), kCannotWrite)));
        // The second converter deletes the intermediate file of an earlier run first.
        const bool secondConverter = std::string_view(tool.name).starts_with("carte2");
        if (secondConverter) failed.removed = {ws.out("output.tsv")};
        ws.expectRun(tool.args(tools), failed);
        if (secondConverter) writeBytes(ws.out("output.tsv"), "older output.tsv");
    }
}

// A disk without room for one more file: the temporary file cannot be made.
TEST_F(FullDisk, NoRoomForANewFile) {
    writeAllInputs(tools);
    mountOutput("size=64k,nr_inodes=2");  // the folder itself and one file
    if (IsSkipped()) return;
    writeBytes(ws.out(kAnonymisedName), "older");
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        ws.expectRun(tool.args(tools),
                     refusal(shownError(tool.name, fileError(ws.out(tool.outputs.front()), kCannotCreate))));
    }
}

// The writer's system layer on a device that is always full: the write is reported as
// failed (ENOSPC), which AtomicFile turns into its error and its cleanup.
TEST(DeviceFull, TheWritersSystemLayerReportsNoSpace) {
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0) GTEST_SKIP() << "no /dev/full: " << std::strerror(errno);
    const std::string bytes(1 << 16, 'x');
    errno = 0;
    EXPECT_FALSE(detail::writeAll(fd, bytes.data(), bytes.size()));
    EXPECT_EQ(errno, ENOSPC);
    detail::closeQuietly(fd);
}

}  // namespace
}  // namespace vask::test
