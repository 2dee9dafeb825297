// The busy cursor of a tool run: shown from the start of the work until the object goes,
// so that it is restored before any message box or result window shows the outcome (and
// also when the work raises an error).
#pragma once

#include <utility>

namespace vask {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Runs `work` under the busy cursor and returns what it returns.
template <typename Work>
auto whileBusy(Work&& work) {
    const BusyCursor busy;
    return std::forward<Work>(work)();
}

}  // namespace vask
