// The pacing of the tries of a file that another program holds for a moment, on a clock of
// the test's own: no test waits.
#include <gtest/gtest.h>

#include <vector>

#include "platform/busy_retry.h"

namespace vask {
namespace {

using std::chrono::milliseconds;

// Time passes only when the retries sleep or a try takes its time.
class ScriptedClock : public RetryClock {
public:
    std::chrono::steady_clock::time_point now() override { return now_; }
    void sleepFor(milliseconds pause) override {
        pauses.push_back(pause.count());
        now_ += pause;
    }
    void pass(milliseconds time) { now_ += time; }

    std::vector<long long> pauses;

private:
    std::chrono::steady_clock::time_point now_{};
};

struct RetryRun {
    bool done;
    int tries;
    std::vector<long long> pauses;
};

// Runs retryWhileBusy over `script`, one result per try (busy after its end), each try
// taking `tryTime`.
RetryRun run(const std::vector<FileTry>& script, milliseconds tryTime = milliseconds(0)) {
    ScriptedClock clock;
    int tries = 0;
    const bool done = retryWhileBusy(
        [&] {
            clock.pass(tryTime);
            const size_t i = static_cast<size_t>(tries++);
            return i < script.size() ? script[i] : FileTry::busy;
        },
        clock);
    return {done, tries, clock.pauses};
}

TEST(BusyRetry, TriesAgainOnlyWhileTheFileIsBusy) {
    struct Case {
        const char* what;
        std::vector<FileTry> script;
        RetryRun expected;
    };
    const auto busy = FileTry::busy;
    const Case cases[] = {
        {"done at once", {FileTry::done}, {true, 1, {}}},
        {"a failure is not tried again", {FileTry::failed}, {false, 1, {}}},
        {"busy twice, then done", {busy, busy, FileTry::done}, {true, 3, {10, 20}}},
        {"busy, then a failure", {busy, FileTry::failed, FileTry::done}, {false, 2, {10}}},
        // Pauses grow to 200 ms; the last one ends at one second, where the last try falls.
        {"busy all along", {}, {false, 10, {10, 20, 40, 80, 160, 200, 200, 200, 90}}},
    };
    for (const auto& c : cases) {
        const RetryRun got = run(c.script);
        EXPECT_EQ(got.done, c.expected.done) << c.what;
        EXPECT_EQ(got.tries, c.expected.tries) << c.what;
        EXPECT_EQ(got.pauses, c.expected.pauses) << c.what;
    }
}

TEST(BusyRetry, SlowTriesCountTowardsTheSecond) {
    // Each try takes 400 ms: the third ends after the second has passed, and is the last.
    const RetryRun got = run({}, milliseconds(400));
    EXPECT_FALSE(got.done);
    EXPECT_EQ(got.tries, 3);
    EXPECT_EQ(got.pauses, (std::vector<long long>{10, 20}));
}

}  // namespace
}  // namespace vask
