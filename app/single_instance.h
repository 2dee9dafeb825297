// Only one copy of the program runs: the first holds the lock "VaskMutex" in the user's
// runtime folder for as long as it lives. A lock left behind by a copy that crashed is
// recognised as stale (its process is gone) and taken over.
#pragma once

#include <QLockFile>

#include <memory>

namespace vask {

class SingleInstance {
public:
    SingleInstance();
    // True when this copy now holds the lock; false when another copy runs.
    bool acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace vask
