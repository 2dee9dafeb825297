// Another program's brief hold on a file, as a virus scanner takes one on a file that has
// just been written: the file is open for reading, shared for reading only (so it can be
// neither renamed over nor deleted), and let go after a while on a thread of its own.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vask::test {

class BriefHold {
public:
    BriefHold(const std::filesystem::path& file, std::chrono::milliseconds time)
        : handle_(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (held()) {
            release_ = std::thread([this, time] {
                std::this_thread::sleep_for(time);
                CloseHandle(handle_);
            });
        }
    }
    ~BriefHold() {
        if (release_.joinable()) release_.join();
    }
    BriefHold(const BriefHold&) = delete;
    BriefHold& operator=(const BriefHold&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
    std::thread release_;
};

}  // namespace vask::test
