// Only one copy of the program runs: the first holds the lock "VaskMutex" for as long as
// it lives, and a second copy that finds it taken ends silently. The lock goes with the
// process that holds it, also when that process crashes.
//   Windows: the named kernel mutex "VaskMutex" of the user's session.
//   POSIX:   the lock file "VaskMutex.lock" in the user's runtime folder; a lock file left
//            behind by a copy that crashed is recognised as stale (its process is gone).
#pragma once

#include <memory>

namespace vask {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this copy now holds the lock; false when another copy runs.
    bool acquire();

private:
    struct Lock;
    std::unique_ptr<Lock> lock_;
};

}  // namespace vask
