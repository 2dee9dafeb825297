// Helpers of the bad-input suite: a workspace whose whole tree is compared before and
// after every run of vask-cli, good sample files of every tool, and their text in the
// encodings a user may save them in by mistake.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../support/test_support.h"

namespace vask::test {

// A folder tree as it is on disk, by path relative to its root: every file (hidden ones
// too) with its content, every folder as "name/" with no content. Files above 64 KiB are
// held as their size and a digest, which is enough to tell whether they changed.
using Tree = std::map<std::string, std::string>;
Tree snapshot(const std::filesystem::path& root);

// A file a run is expected to write, and its bytes (nothing: any content, which the test
// then checks itself).
struct Written {
    std::filesystem::path file;
    std::optional<std::string> bytes;
};

// What a run of vask-cli is expected to do.
struct Expected {
    int status = 0;
    std::optional<std::string> err;  // standard error, exactly (nothing: checked by the test)
    std::vector<Written> written;    // in the order the run prints them
    // Files the run deletes as it is documented to (the second converter's intermediate
    // file of an earlier run).
    std::vector<std::filesystem::path> removed = {};
};

// A refusal or an error: exit status 1, `message` and a line break on standard error,
// nothing written.
Expected refusal(const std::string& message);

// The file errors of the program: "ファイル "<file>" " + `what`.
std::string fileError(const std::filesystem::path& file, std::string_view what);
inline constexpr char kCannotOpen[] = "を開けません";
inline constexpr char kCannotCreate[] = "を作成できません";
inline constexpr char kCannotWrite[] = "に書き込めません";
inline constexpr char kNotShiftJis[] = "はShift-JISのテキストではありません";
inline constexpr char kInputReplaced[] = "は入力ファイルのため上書きできません";
// An error as `tool` prints it: after "エラーが発生しました:" for the FF1 link, else as the
// general error box shows it, with a full stop after a last character above ".".
std::string shownError(std::string_view tool, const std::string& message);
// The warning of anonymize and blank-names on an input that holds no record the check of
// what they wrote knows (nothing of the claims layout, no line after a form-1 header).
std::string nothingToCheck(const std::string& input);

// One test's folders: inputs in in/, outputs in out/, both under one root whose tree is
// compared before and after each run.
class Workspace {
public:
    explicit Workspace(std::string_view inName = "in", std::string_view outName = "out");
    const std::filesystem::path& root() const { return root_.path(); }
    std::filesystem::path in(std::string_view name = {}) const { return name.empty() ? in_ : in_ / name; }
    std::filesystem::path out(std::string_view name = {}) const { return name.empty() ? out_ : out_ / name; }
    // Writes an input file and returns its path as an argument.
    std::string input(std::string_view name, std::string_view bytes) const;

    // Runs vask-cli and checks the contract: the exit status; standard error; standard
    // output naming the written files, one absolute path per line; and that the tree
    // under the root changed by exactly the written and removed files: no temporary file left, no
    // partial output, inputs and older outputs byte for byte as before, nothing written
    // anywhere else.
    CliResult expectRun(const std::vector<std::string>& args, const Expected& expected,
                        const CliOptions& options = {}) const;

private:
    TempDir root_;
    std::filesystem::path in_;
    std::filesystem::path out_;
};

// --- Text in the encodings a file may come in.
enum class Encoding { ShiftJis, Utf8, Utf8Bom, Utf16LE, Utf16LEBom, Utf16BE, Utf16BEBom };
// The text, or the lines each followed by CR LF, in `encoding` (with its mark, if any).
std::string encodeText(std::u16string_view text, Encoding encoding);
std::string encodeLines(const std::vector<std::u16string>& lines, Encoding encoding);
std::string_view encodingName(Encoding encoding);

// --- Good inputs of every tool, as lines.
// A claims file of an employee-insurance clinic, billing month 50611: IR, RE (chart
// number 0012345-01), HO, SN, CO and GO. Its file ends with 0x1A after the last CR LF.
std::vector<std::u16string> claimsLines();
inline constexpr char kAnonymisedName[] = "50611_1.UKE";
inline constexpr char kStrippedName[] = "(50611提出_社保)RECEIPTC.uke";
// A form-1 file: a header of 141 titles and two patient records of the month 202404.
std::vector<std::u16string> formOneLines();
inline constexpr char kCarteName[] = "202404_carte.csv";
// A mapping file that renames 患者氏名; change definitions that replace the first name.
std::vector<std::u16string> mappingLines();
std::vector<std::u16string> definitionLines();
// An FF1 file of two data IDs of 202404 under a header; a specification CSV for it; an
// append CSV of the same consultation date.
std::vector<std::u16string> ff1Lines();
std::vector<std::u16string> specLines();
std::vector<std::u16string> appendLines();
inline constexpr char kLinkName[] = "202404_ff1all.csv";

// The arguments of each tool with its usual inputs in `ws` (written there, Shift-JIS,
// by the first call) and its outputs in ws.out().
class Tools {
public:
    explicit Tools(const Workspace& ws) : ws_(ws) {}
    const Workspace& ws() const { return ws_; }
    std::vector<std::string> anonymize(const std::string& claims) const;
    std::vector<std::string> stripBranch(const std::string& claims) const;
    std::vector<std::string> carte(const std::string& form1) const;
    std::vector<std::string> carte2(const std::string& form1) const;       // the month from line 2
    std::vector<std::string> carte2Month(const std::string& form1) const;  // --month 202404
    std::vector<std::string> carte2Movacal(const std::string& form1, const std::string& mapping = {}) const;
    std::vector<std::string> map(const std::string& form1, const std::string& mapping = {}) const;
    std::vector<std::string> blankNames(const std::string& form1) const;
    std::vector<std::string> replace(const std::string& data, const std::string& definitions = {}) const;
    // ff1 and ff1-merge over the FF1 folder ws.in("ff1").
    std::vector<std::string> ff1(const std::string& spec = {}, const std::string& append = {}) const;
    std::vector<std::string> ff1Merge() const;
    std::string mapped() const { return ws_.out("mapped.tsv").string(); }
    std::string merged() const { return ws_.out("G_FF1_all.txt").string(); }

    // The good input files, written when missing. The FF1 folder gets G_FF1_202404.txt
    // only when the folder itself is missing, so that a test may fill it first.
    std::string ff1Folder() const;
    std::string claimsFile() const;
    std::string formOneFile() const;
    std::string mappingFile() const;
    std::string definitionFile() const;
    std::string specFile() const;

private:
    const Workspace& ws_;
};

// One run of a tool on its good inputs, and the names of the files it writes into
// ws.out() (or, for map, the file it is given), in the order it prints them.
struct ToolRun {
    const char* name;
    std::function<std::vector<std::string>(const Tools&)> args;
    std::vector<std::string> outputs;
};
// Every subcommand of vask-cli that writes files.
std::vector<ToolRun> allTools();

// The good inputs of every tool written into the workspace, so that a test can change the
// tree around them before it runs the tools.
void writeAllInputs(const Tools& tools);
// Inputs of every tool whose outputs take a few MiB (more than the writer's buffer).
void writeLargeInputs(const Tools& tools);

// The bytes of `output` (a name in out/) that a run writes in a workspace of its own, with
// the arguments `args` makes there: the reference to compare a run of other inputs with.
std::string referenceOutput(const std::function<std::vector<std::string>(const Tools&)>& args, std::string_view output);

// Whether this process runs as root, which ignores permission bits.
bool runningAsRoot();
// How to run vask-cli as a user without rights on the test's files: as nobody through
// setpriv when root, plainly otherwise; no value when root has no setpriv. Nobody runs a
// copy of vask-cli in a folder open to all, since the build folder may lie in a home
// that only its owner may enter.
std::optional<CliOptions> unprivilegedRun();

}  // namespace vask::test
