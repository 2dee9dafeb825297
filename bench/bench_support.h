// Helpers of the benchmark programs: clocks, peak memory, timing shell commands, data.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace vask::bench {

class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_;
};

// Peak resident memory of this process so far, in MiB.
double peakResidentMiB();
// Runs a shell command and returns its wall-clock time in seconds (negative on failure).
double timeShell(const std::string& command);
// Code page 932 text of mixed Japanese and ASCII lines, about `bytes` long.
std::string mixedJapaneseText(size_t bytes);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string quote(const std::filesystem::path& path);
// A scratch folder for generated data (VASK_BENCH_DIR, or the system temporary folder).
std::filesystem::path scratchFolder(const std::string& name);

}  // namespace vask::bench
