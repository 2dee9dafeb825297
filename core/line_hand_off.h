// Lines handed from the thread that reads them to a thread that works on them, so that
// reading a file (and whatever the reader does with each line) overlaps the work on its
// lines. The lines are copied in batches; the work takes them in the order handed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/hand_off.h"

namespace vask {

class LineHandOff {
public:
    // `work` runs on a thread of its own, for each line in the order handed, with the tag
    // it was handed with. Destroying the hand-off stops the work: lines handed and not yet
    // worked on are dropped.
    using Work = std::function<void(std::string_view line, std::uint32_t tag)>;
    explicit LineHandOff(Work work);

    void add(std::string_view line, std::uint32_t tag = 0) {
        filling_.bytes.append(line);
        filling_.lines.push_back({filling_.bytes.size(), tag});
        if (filling_.bytes.size() >= kBatchBytes) hand();
    }
    // Waits until every line handed has been worked on; raises what the work raised.
    void finish();

private:
    static constexpr size_t kBatchBytes = 1 << 17;
    struct Batch {
        std::string bytes;
        std::vector<std::pair<size_t, std::uint32_t>> lines;  // each line's end in bytes, its tag
    };
    void hand();

    Batch filling_;
    HandOff<Batch> work_;
};

}  // namespace vask
