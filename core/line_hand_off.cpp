#include "core/line_hand_off.h"

namespace vask {

LineHandOff::LineHandOff(Work work) : work_(std::move(work)), thread_([this] { run(); }) {}

LineHandOff::~LineHandOff() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LineHandOff::waitForWork(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return !pending_; });
    if (error_) std::rethrow_exception(error_);  // and at every later call
}

void LineHandOff::hand() {
    std::unique_lock lock(mutex_);
    waitForWork(lock);
    std::swap(filling_, handed_);
    filling_.bytes.clear();
    filling_.lines.clear();
    pending_ = true;
    changed_.notify_all();
}

void LineHandOff::finish() {
    if (!filling_.lines.empty()) hand();
    std::unique_lock lock(mutex_);
    waitForWork(lock);
}

void LineHandOff::run() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || pending_; });
            if (stop_) return;
        }
        std::exception_ptr error;
        try {
            const std::string_view bytes = handed_.bytes;
            size_t start = 0;
            for (const auto& [end, tag] : handed_.lines) {
                work_(bytes.substr(start, end - start), tag);
                start = end;
            }
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            pending_ = false;
            if (error) {
                error_ = error;
                stop_ = true;  // no later line is worked on
            }
        }
        changed_.notify_all();
        if (error) return;
    }
}

}  // namespace vask
