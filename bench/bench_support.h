// Helpers of the benchmark programs: clocks, peak memory, timing shell commands, data.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace vask::bench {

class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }

private:
    std::chrono::steady_clock::time_point start_;
};

// Peak resident memory of this process so far, in MiB.
double peakResidentMiB();
// Runs a shell command and returns its wall-clock time in seconds (negative on failure).
double timeShell(const std::string& command);
// The fastest of `runs` runs of a shell command (negative when one fails).
double bestShell(int runs, const std::string& command);

// A run in a child process of its own, so that the peak resident memory is the work's
// alone. seconds is negative when the work failed (returned false, threw or crashed).
struct ChildRun {
    double seconds = -1;
    double processorSeconds = 0;  // user and system time of the child
    double peakMiB = 0;
    bool ok() const { return seconds >= 0; }
};
ChildRun runInChild(const std::function<bool()>& work);
// The fastest of `runs` child runs, with the highest peak memory seen; failed at the first failure.
ChildRun bestInChild(int runs, const std::function<bool()>& work);

// One line of the table that make bench prints: an operation on an input of `mib` MiB
// beside a baseline tool on the same data and beside `cat` of the same input (the floor:
// reading the file). Printed as a tab-separated line starting with "@row" for
// tools/run-benchmarks.sh to collect; ratio = time / baseline time.
struct TableRow {
    std::string operation;
    double mib = 0;
    std::string input;  // what the input is (lines, files)
    double seconds = -1;
    double peakMiB = 0;
    std::string baseline;
    double baselineSeconds = -1;
    double catSeconds = -1;  // negative: not measured (an operation in memory)
    double maxRatio = 0;     // the target: ratio at most this; 0 for none
    double maxPeakMiB = 0;   // the target: peak resident memory below this; 0 for none
};
// Prints the row; returns whether its targets are met (a failed run meets none).
bool printTableRow(const TableRow& row);
// What the refusal of files that are no Shift-JIS text adds to `work`, a tool's run named
// `operation`: nine pairs of child runs, one with the refusal and one with it switched off
// (the benchmark build's switch), taken in turns so that both meet the same swings of this
// machine's speed. Prints the row of the fastest run with the refusal against the fastest
// without (at most 1.05: the refusal costs at most 5 % of the tool's wall-clock time), and
// in the log the spread of the pairs' ratios and the processor times; returns whether the
// target is met. A benchmark measures it after its own rows, so that these runs (most
// write their file to disk) do not slow the rows' own.
bool printRefusalRow(const std::string& operation, double mib, const std::string& input,
                     const std::function<bool()>& work);
// The fastest of `runs` reads of `files` (paths quoted and joined by blanks) by cat.
double catSeconds(int runs, const std::string& files);
// Code page 932 text of mixed Japanese and ASCII lines, about `bytes` long.
std::string mixedJapaneseText(size_t bytes);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string quote(const std::filesystem::path& path);
// A scratch folder for generated data (VASK_BENCH_DIR, or the system temporary folder).
std::filesystem::path scratchFolder(const std::string& name);

}  // namespace vask::bench
