#include "platform/busy_retry.h"

#include <algorithm>
#include <thread>

namespace vask {
namespace {

class SystemRetryClock : public RetryClock {
public:
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds pause) override { std::this_thread::sleep_for(pause); }
};

constexpr std::chrono::milliseconds kFirstPause{10};
constexpr std::chrono::milliseconds kLongestPause{200};

}  // namespace

RetryClock& systemRetryClock() {
    static SystemRetryClock clock;
    return clock;
}

bool retryWhileBusy(const std::function<FileTry()>& attempt, RetryClock& clock) {
    const auto deadline = clock.now() + kBusyRetryTime;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        const FileTry result = attempt();
        if (result != FileTry::busy) return result == FileTry::done;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock.now());
        if (left <= std::chrono::milliseconds::zero()) return false;
        clock.sleepFor(std::min(pause, left));
        pause = std::min(pause * 2, kLongestPause);
    }
}

}  // namespace vask
