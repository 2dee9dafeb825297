// A thread of its own that works on batches handed to it one at a time, in order, while
// the caller fills the next: a writer's full buffers, a reader's lines.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace vask {

template <class Batch>
class HandOff {
public:
    // `work` runs on the thread, once for each batch handed. What it raises ends the work:
    // the batches handed after it are not worked on, and hand() and finish() raise it.
    explicit HandOff(std::function<void(Batch&)> work) : work_(std::move(work)), thread_([this] { run(); }) {}
    // Stops the work: a batch handed and not yet taken up is dropped.
    ~HandOff() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    HandOff(const HandOff&) = delete;
    HandOff& operator=(const HandOff&) = delete;

    // Waits until the work is done with the batch handed before, then hands `batch` over
    // and gives back that earlier batch, as the work left it, to be filled anew.
    void hand(Batch& batch) {
        std::unique_lock lock(mutex_);
        waitForWork(lock);
        std::swap(batch, handed_);
        pending_ = true;
        changed_.notify_all();
    }
    // Waits until the work is done with every batch handed.
    void finish() {
        std::unique_lock lock(mutex_);
        waitForWork(lock);
    }

private:
    void waitForWork(std::unique_lock<std::mutex>& lock) {
        changed_.wait(lock, [this] { return !pending_; });
        if (error_) std::rethrow_exception(error_);  // and at every later call
    }

    void run() {
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || pending_; });
                if (stop_) return;
            }
            std::exception_ptr error;
            try {
                work_(handed_);
            } catch (...) {
                error = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                pending_ = false;
                error_ = error;
                stop_ = stop_ || error;
            }
            changed_.notify_all();
            if (error) return;
        }
    }

    std::function<void(Batch&)> work_;
    Batch handed_{};  // the work's
    std::mutex mutex_;
    std::condition_variable changed_;
    bool pending_ = false;  // handed_ waits for the work or is under it
    bool stop_ = false;
    std::exception_ptr error_;
    std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace vask
