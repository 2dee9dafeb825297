// Inputs of extreme shape for every tool: one line of 50 MB, and millions of tiny lines
// (empty ones, and one-character ones). They are made once for the program and linked
// into each test's workspace. The sanitizer build uses smaller ones (VASK_SMALL_BIG_INPUTS).
#include <gtest/gtest.h>

#include <memory>

#include "robustness_support.h"

namespace vask::test {
namespace {

#ifdef VASK_SMALL_BIG_INPUTS
constexpr size_t kLongLineBytes = 8u << 20;
constexpr size_t kManyLines = 500000;
#else
constexpr size_t kLongLineBytes = 50u << 20;
constexpr size_t kManyLines = 3000000;
#endif
constexpr size_t kManyShortLines = kManyLines * 2 / 3;

std::string repeated(std::string_view part, size_t times) {
    std::string text;
    text.reserve(part.size() * times);
    for (size_t i = 0; i < times; ++i) text += part;
    return text;
}

// The files, made once: a line of Japanese text without any break or separator, line
// breaks alone (CR LF), and lines of one character (LF).
class BigFiles {
public:
    BigFiles() {
        const std::string text = sjis(u"長い行です");
        longLine_ = repeated(text, kLongLineBytes / text.size());
        writeBytes(folder_ / "long.txt", longLine_);
        writeBytes(folder_ / "breaks.txt", repeated("\r\n", kManyLines));
        writeBytes(folder_ / "short.txt", repeated("a\n", kManyShortLines));
    }
    const std::string& longLine() const { return longLine_; }
    // Links the file `name` into the workspace's input folder and returns its path.
    std::string link(const Workspace& ws, const std::string& name) const {
        std::filesystem::create_hard_link(folder_ / name, ws.in(name));
        return ws.in(name).string();
    }

private:
    TempDir folder_;
    std::string longLine_;
};

class BigInputs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { files_ = std::make_unique<BigFiles>(); }
    static void TearDownTestSuite() { files_.reset(); }

    // The header lines the converters write whatever their input.
    static const std::string& carte2Header() {
        static const std::string header =
            firstLine(referenceOutput([](const Tools& t) { return t.carte2Month(t.formOneFile()); }, kCarteName));
        return header;
    }
    static const std::string& linkHeader() {
        static const std::string header = firstLine(referenceOutput([](const Tools& t) { return t.ff1(); }, kLinkName));
        return header;
    }
    static std::string firstLine(const std::string& bytes) { return bytes.substr(0, bytes.find("\r\n") + 2); }

    // The FF1 folder holding `name` as its FF1 file.
    std::string ff1FolderWith(const std::string& name) {
        std::filesystem::create_directory(ws.in("ff1"));
        std::filesystem::create_hard_link(ws.in(name), ws.in("ff1") / "G_FF1_202404.txt");
        return tools.ff1Folder();
    }

    // Runs as Workspace::expectRun does, then removes the written files, so that the tree
    // compared at each run holds no more large files than it needs.
    void expectRun(const std::vector<std::string>& args, const Expected& expected) {
        ws.expectRun(args, expected);
        for (const auto& w : expected.written) std::filesystem::remove(w.file);
    }

    static inline std::unique_ptr<BigFiles> files_;
    Workspace ws;
    Tools tools{ws};
};

// One line of 50 MB: the claims tools and the copying tools pass it on whole; the second
// converter takes it for the header line it does not read, and the first, finding no
// record line, refuses the file; the FF1 link takes it for a header.
// (The tools left out read it as one of these does: strip-branch as anonymize, carte2
// and map as carte and the Movacal run, ff1-merge as ff1.)
TEST_F(BigInputs, OneLineOf50MB) {
    const std::string file = files_->link(ws, "long.txt");
    const std::string copied = files_->longLine() + "\r\n";
    expectRun(tools.anonymize(file), {0, nothingToCheck(file), {{ws.out("_1.UKE"), copied}}});
    expectRun(tools.carte(file), refusal("正しいFFファイルではありません。"));
    expectRun(tools.carte2Movacal(file),
              {0, "", {{ws.out("output.tsv"), copied}, {ws.out(kCarteName), carte2Header()}}});
    expectRun(tools.blankNames(file), {0, nothingToCheck(file), {{ws.out("longano.txt"), copied}}});
    expectRun(tools.replace(file), {0, "", {{ws.out("longR.txt"), copied}}});
    // As the definitions: one pair whose old value no line holds.
    expectRun(tools.replace(tools.formOneFile(), file),
              {0, "", {{ws.out("FF1_202404R.txt"), encodeLines(formOneLines(), Encoding::ShiftJis)}}});
    ff1FolderWith("long.txt");
    expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), linkHeader()}}});
}

// Millions of empty lines (CR LF alone): every line is kept, none is a record.
TEST_F(BigInputs, MillionsOfLineBreaks) {
    const std::string file = files_->link(ws, "breaks.txt");
    const std::string breaks = repeated("\r\n", kManyLines);
    expectRun(tools.anonymize(file), {0, nothingToCheck(file), {{ws.out("_1.UKE"), breaks}}});
    expectRun(tools.carte(file), refusal("正しいFFファイルではありません。"));
    expectRun(tools.carte2(file), refusal("範囲チェックエラー."));
    expectRun(tools.carte2Month(file),
              {0, "", {{ws.out(kCarteName), carte2Header() + repeated("\r\n", kManyLines - 1)}}});
    expectRun(tools.map(file), {0, "", {{tools.mapped(), breaks}}});
    expectRun(tools.blankNames(file), {0, "", {{ws.out("breaksano.txt"), breaks}}});
    expectRun(tools.replace(file), {0, "", {{ws.out("breaksR.txt"), breaks}}});
    ff1FolderWith("breaks.txt");
    expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), linkHeader()}}});
    expectRun(tools.ff1Merge(), {0, "", {{tools.merged(), ""}}});
}

// Millions of one-character lines (LF): the copying tools keep them all, with CR LF.
TEST_F(BigInputs, MillionsOfOneCharacterLines) {
    const std::string file = files_->link(ws, "short.txt");
    const std::string lines = repeated("a\r\n", kManyShortLines);
    expectRun(tools.anonymize(file), {0, nothingToCheck(file), {{ws.out("_1.UKE"), lines}}});
    expectRun(tools.carte(file), refusal("正しいFFファイルではありません。"));
    expectRun(tools.carte2(file), refusal("範囲チェックエラー."));
    expectRun(tools.carte2Month(file),
              {0, "", {{ws.out(kCarteName), carte2Header() + repeated("a\r\n", kManyShortLines - 1)}}});
    expectRun(tools.map(file), {0, "", {{tools.mapped(), lines}}});
    expectRun(tools.blankNames(file), {0, "", {{ws.out("shortano.txt"), lines}}});
    expectRun(tools.replace(file), {0, "", {{ws.out("shortR.txt"), lines}}});
    // Each line is a header line; the first one is kept.
    ff1FolderWith("short.txt");
    expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), linkHeader()}}});
    expectRun(tools.ff1Merge(), {0, "", {{tools.merged(), "a\r\n"}}});
}

}  // namespace
}  // namespace vask::test
