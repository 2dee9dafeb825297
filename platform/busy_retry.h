// Another program may hold a file open for a moment: a virus scanner reads every file just
// written, and an indexing or backup service opens new files too. Meanwhile a rename or a
// delete of that file fails (on Windows, with a sharing violation or "access denied"). The
// calls where that happens are tried again for about a second before their failure counts.
#pragma once

#include <chrono>
#include <functional>

namespace vask {

// How one try of a file call ended: done, failed while another program holds the file
// (worth another try), or failed for good.
enum class FileTry { done, busy, failed };

// The clock and the sleep that the tries are paced by; tests pass their own.
class RetryClock {
public:
    virtual ~RetryClock() = default;
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void sleepFor(std::chrono::milliseconds pause) = 0;
};
RetryClock& systemRetryClock();

// How long a busy file is tried again, from the first try.
inline constexpr std::chrono::milliseconds kBusyRetryTime{1000};

// Runs `attempt` until it is done or fails for good. While it reports busy, it runs again
// after pauses of 10, 20, 40 ... ms (200 at most), until kBusyRetryTime has passed since
// the first try; the last try falls at the end of that time. True when a try was done.
bool retryWhileBusy(const std::function<FileTry()>& attempt, RetryClock& clock = systemRetryClock());

}  // namespace vask
