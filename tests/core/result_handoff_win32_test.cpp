// The result window's move on Windows, where a file that another program still reads
// cannot be deleted: a result that a virus scanner holds for a moment after it was written
// still leaves the program folder.
#include <gtest/gtest.h>

#include "../support/brief_hold_win32.h"
#include "../support/test_support.h"
#include "core/result_handoff.h"

namespace vask {
namespace {

using test::listFolder;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(HandoffOnWindows, AResultHeldForAMomentLeavesTheProgramFolderOnceItIsLetGo) {
    TempDir program;
    TempDir saveFolder;
    writeBytes(program / "50611_1.UKE", "claims");
    test::BriefHold scanner(program / "50611_1.UKE", std::chrono::milliseconds(300));
    ASSERT_TRUE(scanner.held());
    EXPECT_TRUE(moveResultFiles(program.path(), saveFolder.path(), {u"50611_1.UKE"}).empty());
    EXPECT_EQ(readBytes(saveFolder / "50611_1.UKE"), "claims");
    EXPECT_TRUE(listFolder(program.path()).empty());
}

}  // namespace
}  // namespace vask
