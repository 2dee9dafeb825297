#include <gtest/gtest.h>

#include "../support/test_support.h"

namespace vask {
namespace {

using test::runCli;

TEST(Cli, WrongUsageExitsWithTwoAndTheUsageText) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"no-such-command"}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("usage: vask-cli"), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(Cli, HelpPrintsTheUsageOnStandardOutput) {
    const auto result = runCli({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("usage: vask-cli"), std::string::npos);
}

}  // namespace
}  // namespace vask
