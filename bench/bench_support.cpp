#include "bench_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "core/shift_jis_text.h"
#include "platform/cp932.h"

namespace vask::bench {
namespace {

double seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// Keeps the shortest times of the runs taken and the highest peak memory; false when
// `run` failed.
bool keepFastest(const ChildRun& run, ChildRun& fastest) {
    if (!run.ok()) {
        fastest = run;
        return false;
    }
    if (!fastest.ok() || run.seconds < fastest.seconds) fastest.seconds = run.seconds;
    if (fastest.processorSeconds <= 0 || run.processorSeconds < fastest.processorSeconds) {
        fastest.processorSeconds = run.processorSeconds;
    }
    fastest.peakMiB = std::max(fastest.peakMiB, run.peakMiB);
    return true;
}

}  // namespace

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double timeShell(const std::string& command) {
    Stopwatch watch;
    const int status = std::system(command.c_str());
    return status == 0 ? watch.seconds() : -1.0;
}

double bestShell(int runs, const std::string& command) {
    double fastest = -1;
    for (int i = 0; i < runs; ++i) {
        const double t = timeShell(command);
        if (t < 0) return -1;
        if (fastest < 0 || t < fastest) fastest = t;
    }
    return fastest;
}

ChildRun runInChild(const std::function<bool()>& work) {
    Stopwatch watch;
    const pid_t pid = fork();
    if (pid == 0) {
        bool done = false;
        try {
            done = work();
        } catch (...) {
            done = false;
        }
        _exit(done ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return {};
    ChildRun run;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) run.seconds = watch.seconds();
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.processorSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return run;
}

ChildRun bestInChild(int runs, const std::function<bool()>& work) {
    ChildRun fastest;
    for (int i = 0; i < runs; ++i) {
        if (!keepFastest(runInChild(work), fastest)) break;
    }
    return fastest;
}

bool printTableRow(const TableRow& row) {
    const bool ran = row.seconds > 0 && row.baselineSeconds > 0;
    const double ratio = ran ? row.seconds / row.baselineSeconds : 0;
    char ratioText[32] = "failed";
    if (ran) std::snprintf(ratioText, sizeof ratioText, "%.2fx", ratio);
    char catText[32] = "-";
    if (row.seconds > 0 && row.catSeconds > 0)
        std::snprintf(catText, sizeof catText, "%.1fx", row.seconds / row.catSeconds);
    std::string target;
    char part[64];
    if (row.maxRatio > 0) {
        std::snprintf(part, sizeof part, "<= %.2fx", row.maxRatio);
        target = part;
    }
    if (row.maxPeakMiB > 0) {
        std::snprintf(part, sizeof part, "%s< %.0f MiB", target.empty() ? "" : ", ", row.maxPeakMiB);
        target += part;
    }
    const bool met =
        ran && (row.maxRatio <= 0 || ratio <= row.maxRatio) && (row.maxPeakMiB <= 0 || row.peakMiB < row.maxPeakMiB);
    const char* verdict = target.empty() ? "-" : (met ? "met" : "NOT met");
    char peakText[32] = "-";  // a command timed by the shell: its memory is not measured
    if (row.peakMiB > 0) std::snprintf(peakText, sizeof peakText, "%.1f MiB", row.peakMiB);
    std::printf("@row\t%s\t%.1f MiB, %s\t%.3f s\t%s\t%s\t%.3f s\t%s\t%s\t%s\t%s\n", row.operation.c_str(), row.mib,
                row.input.c_str(), row.seconds, peakText, row.baseline.c_str(), row.baselineSeconds, ratioText, catText,
                target.empty() ? "-" : target.c_str(), verdict);
    std::fflush(stdout);
    return ran && (target.empty() || met);
}

bool printRefusalRow(const std::string& operation, double mib, const std::string& input,
                     const std::function<bool()>& work) {
    constexpr int kPairs = 9;
    const auto without = [&] {
#ifdef VASK_BENCH_TEXT_CHECK_SWITCH
        textCheckOff = true;
        return work();
#else
        return false;  // a build without the switch cannot run the tool without the refusal
#endif
    };
    ChildRun with;
    ChildRun plain;
    double lowest = 1e9;
    double highest = 0;
    for (int i = 0; i < kPairs; ++i) {
        const ChildRun a = runInChild(without);
        const ChildRun b = runInChild(work);
        if (!keepFastest(a, plain) || !keepFastest(b, with)) break;
        lowest = std::min(lowest, b.seconds / a.seconds);
        highest = std::max(highest, b.seconds / a.seconds);
    }
    if (with.ok() && plain.ok()) {
        std::printf("  %s: ratios of the pairs %.2f to %.2f; processor time with the refusal %.3f s, without %.3f s\n",
                    operation.c_str(), lowest, highest, with.processorSeconds, plain.processorSeconds);
    }
    return printTableRow({operation + ": Shift-JIS refusal", mib, input, with.seconds, with.peakMiB,
                          "the same without it", plain.seconds, -1, 1.05});
}

double catSeconds(int runs, const std::string& files) { return bestShell(runs, "cat " + files + " > /dev/null"); }

std::string mixedJapaneseText(size_t bytes) {
    static const std::u16string pieces[] = {
        u"カルテ番号",     u"山田　太郎",   u"ﾔﾏﾀﾞ ﾀﾛｳ", u"202404",       u"高血圧症", u"①",  u"髙橋", u"ABC-123",
        u"東京都千代田区", u"糖尿病の有無", u"0123456",  u"テスト社１２", u",",        u"\t", u"65.5", u"患者の状態"};
    std::mt19937 random(42);
    std::string out;
    out.reserve(bytes + 256);
    std::u16string line;
    while (out.size() < bytes) {
        line.clear();
        const int count = 8 + static_cast<int>(random() % 16);
        for (int i = 0; i < count; ++i) line += pieces[random() % std::size(pieces)];
        line += u"\r\n";
        cp932::encodeAppend(line, out);
    }
    return out;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::filesystem::path scratchFolder(const std::string& name) {
    const char* base = std::getenv("VASK_BENCH_DIR");
    auto folder =
        (base ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) / ("vask-bench-" + name);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace vask::bench
