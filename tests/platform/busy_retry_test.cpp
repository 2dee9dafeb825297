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
RetryRun run(const std::vector<FileTry>& script, milliseconds tryTime) {
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
        milliseconds tryTime;
        RetryRun expected;
    };
    const auto busy = FileTry::busy;
    const milliseconds instant(0);
    const Case cases[] = {
        {"done at once", {FileTry::done}, instant, {true, 1, {}}},
        {"a failure is not tried again", {FileTry::failed}, instant, {false, 1, {}}},
        {"busy twice, then done", {busy, busy, FileTry::done}, instant, {true, 3, {10, 20}}},
        {"busy, then a failure", {busy, FileTry::failed, FileTry::done}, instant, {false, 2, {10}}},
        // Pauses grow to 200 ms; the last one ends at one second, where the last try falls.
        {"busy all along", {}, instant, {false, 10, {10, 20, 40, 80, 160, 200, 200, 200, 90}}},
        // The time of the tries counts: the third ends after the second has passed.
        {"slow tries", {}, milliseconds(400), {false, 3, {10, 20}}},
    };
    for (const auto& c : cases) {
        const RetryRun got = run(c.script, c.tryTime);
        EXPECT_EQ(got.done, c.expected.done) << c.what;
        EXPECT_EQ(got.tries, c.expected.tries) << c.what;
        EXPECT_EQ(got.pauses, c.expected.pauses) << c.what;
    }
}

}  // namespace
}  // namespace vask
