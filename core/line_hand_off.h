// Lines handed from the thread that reads them to a thread that works on them, so that
// reading a file (and whatever the reader does with each line) overlaps the work on its
// lines. The lines are copied in batches; the work takes them in the order handed.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace vask {

class LineHandOff {
public:
    // `work` runs on a thread of its own, for each line in the order handed, with the tag
    // it was handed with.
    using Work = std::function<void(std::string_view line, std::uint32_t tag)>;
    explicit LineHandOff(Work work);
    // Stops the work: lines handed and not yet worked on are dropped.
    ~LineHandOff();
    LineHandOff(const LineHandOff&) = delete;
    LineHandOff& operator=(const LineHandOff&) = delete;

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
    void waitForWork(std::unique_lock<std::mutex>& lock);
    void run();

    Work work_;
    Batch filling_;
    Batch handed_;  // the work's
    std::mutex mutex_;
    std::condition_variable changed_;
    bool pending_ = false;  // handed_ waits for the work or is under it
    bool stop_ = false;
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace vask
