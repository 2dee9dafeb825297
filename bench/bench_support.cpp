#include "bench_support.h"

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "platform/cp932.h"

namespace vask::bench {

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

std::string mixedJapaneseText(size_t bytes) {
    static const std::u16string pieces[] = {
        u"カルテ番号", u"山田　太郎", u"ﾔﾏﾀﾞ ﾀﾛｳ", u"202404", u"高血圧症", u"①", u"髙橋", u"ABC-123",
        u"東京都千代田区", u"糖尿病の有無", u"0123456", u"テスト社１２", u",", u"\t", u"65.5", u"患者の状態"};
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
    auto folder = (base ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) / ("vask-bench-" + name);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace vask::bench
