#include "robustness_support.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>

#include "platform/utf.h"

namespace vask::test {
namespace {

constexpr size_t kHeldWhole = 64 << 10;

// Content as a tree holds it: the bytes, or their size and a digest of the hashes of
// their blocks (enough to tell whether a file changed within one test).
class Digest {
public:
    void add(std::string_view bytes) {
        for (size_t at = 0; at < bytes.size(); at += kBlock) {
            digest_ = (digest_ ^ std::hash<std::string_view>{}(bytes.substr(at, kBlock))) * 1099511628211ULL;
        }
        size_ += bytes.size();
    }
    std::string text() const { return "<" + std::to_string(size_) + " bytes, digest " + std::to_string(digest_) + ">"; }

private:
    static constexpr size_t kBlock = 1 << 20;
    uint64_t digest_ = 14695981039346656037ULL;
    size_t size_ = 0;
};

std::string held(const std::string& bytes) {
    if (bytes.size() <= kHeldWhole) return bytes;
    Digest digest;
    digest.add(bytes);
    return digest.text();
}

// A file as a tree holds it, read in blocks: a large file never sits whole in memory.
std::string heldFile(const std::filesystem::path& file) {
    if (std::filesystem::file_size(file) <= kHeldWhole) return readBytes(file);
    std::ifstream in(file, std::ios::binary);
    std::string block(1 << 20, '\0');  // the digest's block: a file hashes as its bytes do
    Digest digest;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        digest.add(std::string_view(block.data(), static_cast<size_t>(in.gcount())));
    }
    return digest.text();
}

std::string key(const std::filesystem::path& root, const std::filesystem::path& file) {
    return std::filesystem::absolute(file).lexically_normal().lexically_relative(root).generic_string();
}

std::string joined(const std::vector<std::string>& words) {
    std::string text = "vask-cli";
    for (const auto& word : words) text += " '" + word + "'";
    return text;
}

// The differences of two trees, one line each, for the failure message.
std::string differences(const Tree& wanted, const Tree& found) {
    std::ostringstream text;
    auto shown = [](const std::string& bytes) { return bytes.size() > 200 ? bytes.substr(0, 200) + "..." : bytes; };
    for (const auto& [name, bytes] : wanted) {
        const auto it = found.find(name);
        if (it == found.end()) {
            text << "  missing: " << name << "\n";
        } else if (it->second != bytes) {
            text << "  changed: " << name << "\n    wanted: " << shown(bytes) << "\n    found:  " << shown(it->second)
                 << "\n";
        }
    }
    for (const auto& [name, bytes] : found) {
        if (!wanted.count(name)) text << "  unexpected: " << name << " (" << shown(bytes) << ")\n";
    }
    return text.str();
}

std::u16string joinTabs(const std::vector<std::u16string>& fields) {
    std::u16string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? u"\t" : u"") + fields[i];
    return line;
}

std::u16string formOneRecord(std::u16string_view chart, std::u16string_view name) {
    std::vector<std::u16string> fields(141);
    fields[0] = chart;
    fields[1] = name;
    fields[3] = u"202404";
    fields[5] = u"1234567";
    fields[6] = u"170.5";
    fields[7] = u"65";
    fields[22] = u"6.5";
    fields[31] = u"120";
    fields[32] = u"80";
    fields[37] = u"100";
    fields[52] = u"5";
    return joinTabs(fields);
}

std::string writeWhenMissing(const std::filesystem::path& file, const std::string& bytes) {
    if (!std::filesystem::exists(file)) writeBytes(file, bytes);
    return file.string();
}

}  // namespace

Tree snapshot(const std::filesystem::path& root) {
    Tree tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_symlink()) {
            tree[name] = "-> " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            tree[name + "/"] = "";
        } else if (entry.is_regular_file()) {
            tree[name] = heldFile(entry.path());
        } else {
            tree[name] = "<special file>";
        }
    }
    return tree;
}

Expected refusal(const std::string& message) { return {1, message + "\n", {}}; }

std::string fileError(const std::filesystem::path& file, std::string_view what) {
    return "ファイル \"" + file.string() + "\" " + std::string(what);
}

std::string shownError(std::string_view tool, const std::string& message) {
    if (tool == "ff1") return "エラーが発生しました:" + message;
    const char last = message.empty() ? '.' : message.back();
    return (static_cast<unsigned char>(last) > '.' ? message + "." : message);
}

std::string nothingToCheck(const std::string& input) {
    return "警告: 匿名化したファイルを確認できませんでした: " + fileError(input, "には確認できるレコードがありません") +
           ".\n";
}

Workspace::Workspace(std::string_view inName, std::string_view outName) : in_(root_ / inName), out_(root_ / outName) {
    std::filesystem::create_directory(in_);
    std::filesystem::create_directory(out_);
}

std::string Workspace::input(std::string_view name, std::string_view bytes) const {
    writeBytes(in(name), bytes);
    return in(name).string();
}

namespace {

// A strip-branch run that wrote its file checks it for submission and may say so in one
// warning line: what the check finds in these inputs is not what these tests look at.
std::string withoutSubmissionWarning(const std::vector<std::string>& args, const std::string& err) {
    const bool stripped = !args.empty() && args[0] == "strip-branch";
    const bool oneLine = !err.empty() && err.find('\n') == err.size() - 1;
    return stripped && oneLine && err.starts_with("警告: 提出用ファイル") ? std::string() : err;
}

}  // namespace

CliResult Workspace::expectRun(const std::vector<std::string>& args, const Expected& expected,
                               const CliOptions& options) const {
    SCOPED_TRACE(joined(args));
    const Tree before = snapshot(root());
    const CliResult result = runCli(args, options);
    EXPECT_EQ(result.signal, 0) << "vask-cli ended by signal " << result.signal;
    EXPECT_EQ(result.status, expected.status);
    if (expected.err) {
        EXPECT_EQ(withoutSubmissionWarning(args, result.err), *expected.err);
    }
    const Tree after = snapshot(root());
    Tree wanted = before;
    std::string printed;
    for (const Written& w : expected.written) {
        printed += std::filesystem::absolute(w.file).lexically_normal().string() + "\n";
        const std::string name = key(root(), w.file);
        const auto found = after.find(name);
        wanted[name] = w.bytes ? held(*w.bytes) : found != after.end() ? found->second : "<written>";
        for (auto folder = std::filesystem::path(name).parent_path(); !folder.empty(); folder = folder.parent_path()) {
            wanted[folder.generic_string() + "/"] = "";
        }
    }
    for (const auto& file : expected.removed) wanted.erase(key(root(), file));
    if (options.standardOutput.empty()) {
        EXPECT_EQ(result.out, printed);
    }
    EXPECT_TRUE(after == wanted) << "the folders changed otherwise than by the written files:\n"
                                 << differences(wanted, after);
    return result;
}

std::string encodeLines(const std::vector<std::u16string>& lines, Encoding encoding) {
    std::u16string text;
    for (const auto& line : lines) text += line + u"\r\n";
    return encodeText(text, encoding);
}

std::string encodeText(std::u16string_view text, Encoding encoding) {
    switch (encoding) {
        case Encoding::ShiftJis:
            return sjis(text);
        case Encoding::Utf8:
            return utf16ToUtf8(text);
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF" + utf16ToUtf8(text);
        case Encoding::Utf16LE:
            return utf16ToUtf16le(text);
        case Encoding::Utf16LEBom:
            return "\xFF\xFE" + utf16ToUtf16le(text);
        case Encoding::Utf16BE:
            return utf16be(text);
        case Encoding::Utf16BEBom:
            return "\xFE\xFF" + utf16be(text);
    }
    return {};
}

std::string_view encodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::ShiftJis:
            return "Shift-JIS";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Utf8Bom:
            return "UTF-8 with its mark";
        case Encoding::Utf16LE:
            return "UTF-16 LE";
        case Encoding::Utf16LEBom:
            return "UTF-16 LE with its mark";
        case Encoding::Utf16BE:
            return "UTF-16 BE";
        case Encoding::Utf16BEBom:
            return "UTF-16 BE with its mark";
    }
    return {};
}

std::vector<std::u16string> claimsLines() {
    return {u"IR,1,13,1,7654321,,山田内科,50611,00,03-1111-2222",
            u"RE,1,1127,50611,三浦　太郎,1,19700101,,,,,,,0012345-01",
            u"HO,06139999,記号,12345",
            u"SN,1,2,06139999,記号,12345,01,7777777",
            u"CO,1,三浦さんへの連絡事項",
            u"GO,1,2,99"};
}

std::vector<std::u16string> formOneLines() {
    std::vector<std::u16string> titles(141);
    for (size_t i = 0; i < titles.size(); ++i) titles[i] = u"項目" + utf8ToUtf16(std::to_string(i));
    titles[0] = u"カルテ番号";
    titles[1] = u"患者氏名";
    return {joinTabs(titles), formOneRecord(u"0012", u"三浦　太郎"), formOneRecord(u"0013", u"山田　花子")};
}

std::vector<std::u16string> mappingLines() { return {u"患者氏名,氏名"}; }

std::vector<std::u16string> definitionLines() { return {u"三浦　太郎,匿名"}; }

std::vector<std::u16string> ff1Lines() {
    return {u"施設コード\tデータ識別番号\t年月\t項目コード\t連番\tP1\tP2\tP3\tP4\tP5\tP6\tP7\tP8\tP9",
            u"1310000\tID01\t202404\tCPF0001\t1\t170\t65\t\t\t\t\t\t\t",
            u"1310000\tID02\t202404\tCPF0001\t1\t160\t50\t\t\t\t\t\t\t"};
}

std::vector<std::u16string> specLines() {
    return {u"ヘッダー名称,コード,ペイロード番号", u"[0] データ識別番号,,", u"[4] 身長,CPF0001,1",
            u"[5] 体重,CPF0001,2"};
}

std::vector<std::u16string> appendLines() { return {u"見出し", u"ID99,,20240401,追記"}; }

std::vector<std::string> Tools::anonymize(const std::string& claims) const {
    return {"anonymize", claims, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::stripBranch(const std::string& claims) const {
    return {"strip-branch", claims, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::carte(const std::string& form1) const {
    return {"carte", form1, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::carte2(const std::string& form1) const {
    return {"carte2", form1, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::carte2Month(const std::string& form1) const {
    return {"carte2", form1, "--month", "202404", "-o", ws_.out().string()};
}

std::vector<std::string> Tools::carte2Movacal(const std::string& form1, const std::string& mapping) const {
    return {"carte2",          form1, "--month", "202404", "--movacal", mapping.empty() ? mappingFile() : mapping, "-o",
            ws_.out().string()};
}

std::vector<std::string> Tools::map(const std::string& form1, const std::string& mapping) const {
    return {"map", form1, mapping.empty() ? mappingFile() : mapping, mapped()};
}

std::vector<std::string> Tools::blankNames(const std::string& form1) const {
    return {"blank-names", form1, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::replace(const std::string& data, const std::string& definitions) const {
    return {"replace", data, definitions.empty() ? definitionFile() : definitions, "-o", ws_.out().string()};
}

std::vector<std::string> Tools::ff1(const std::string& spec, const std::string& append) const {
    std::vector<std::string> args{"ff1", ff1Folder(), "--month", "202404", "--spec", spec.empty() ? specFile() : spec};
    if (!append.empty()) args.insert(args.end(), {"--append", append});
    args.insert(args.end(), {"-o", ws_.out().string()});
    return args;
}

std::vector<std::string> Tools::ff1Merge() const { return {"ff1-merge", ff1Folder(), merged()}; }

std::string Tools::ff1Folder() const {
    const auto folder = ws_.in("ff1");
    if (std::filesystem::create_directory(folder)) {
        writeBytes(folder / "G_FF1_202404.txt", encodeLines(ff1Lines(), Encoding::ShiftJis));
    }
    return folder.string();
}

std::string Tools::claimsFile() const { return writeWhenMissing(ws_.in("claims.UKE"), claimsBytes(claimsLines())); }

std::string Tools::formOneFile() const {
    return writeWhenMissing(ws_.in("FF1_202404.txt"), encodeLines(formOneLines(), Encoding::ShiftJis));
}

std::string Tools::mappingFile() const {
    return writeWhenMissing(ws_.in("movacal.csv"), encodeLines(mappingLines(), Encoding::ShiftJis));
}

std::string Tools::definitionFile() const {
    return writeWhenMissing(ws_.in("definitions.csv"), encodeLines(definitionLines(), Encoding::ShiftJis));
}

std::string Tools::specFile() const {
    return writeWhenMissing(ws_.in("spec.csv"), encodeLines(specLines(), Encoding::ShiftJis));
}

std::vector<ToolRun> allTools() {
    return {
        {"anonymize", [](const Tools& t) { return t.anonymize(t.claimsFile()); }, {kAnonymisedName}},
        {"strip-branch", [](const Tools& t) { return t.stripBranch(t.claimsFile()); }, {kStrippedName}},
        {"carte", [](const Tools& t) { return t.carte(t.formOneFile()); }, {kCarteName}},
        {"carte2", [](const Tools& t) { return t.carte2(t.formOneFile()); }, {kCarteName}},
        {"carte2 --movacal",
         [](const Tools& t) { return t.carte2Movacal(t.formOneFile()); },
         {"output.tsv", kCarteName}},
        {"map", [](const Tools& t) { return t.map(t.formOneFile()); }, {"mapped.tsv"}},
        {"blank-names", [](const Tools& t) { return t.blankNames(t.formOneFile()); }, {"FF1_202404ano.txt"}},
        {"replace", [](const Tools& t) { return t.replace(t.formOneFile()); }, {"FF1_202404R.txt"}},
        {"ff1", [](const Tools& t) { return t.ff1(); }, {kLinkName}},
        {"ff1-merge", [](const Tools& t) { return t.ff1Merge(); }, {"G_FF1_all.txt"}},
    };
}

void writeAllInputs(const Tools& tools) {
    for (const auto& tool : allTools()) tool.args(tools);
}

void writeLargeInputs(const Tools& tools) {
    std::vector<std::u16string> claims = claimsLines();
    claims.insert(claims.end() - 1, 20000, u"SY,1," + std::u16string(100, u'症'));
    writeBytes(tools.claimsFile(), claimsBytes(claims));
    std::vector<std::u16string> form1 = formOneLines();
    const std::u16string afterChart = form1.back().substr(4) + u"\t" + std::u16string(400, u'x');
    for (int chart = 0; chart < 4000; ++chart)
        form1.push_back(utf8ToUtf16(std::to_string(100000 + chart)) + afterChart);
    writeBytes(tools.formOneFile(), encodeLines(form1, Encoding::ShiftJis));
    tools.ff1Folder();
    std::vector<std::u16string> ff1 = ff1Lines();
    for (int id = 0; id < 20000; ++id) {
        ff1.push_back(u"1310000\tID" + utf8ToUtf16(std::to_string(100000 + id)) + u"\t202404\tCPF0001\t1\t170\t65" +
                      std::u16string(7, u'\t') + std::u16string(40, u'x'));
    }
    writeBytes(tools.ws().in("ff1") / "G_FF1_202404.txt", encodeLines(ff1, Encoding::ShiftJis));
    writeAllInputs(tools);
}

std::string referenceOutput(const std::function<std::vector<std::string>(const Tools&)>& args,
                            std::string_view output) {
    const Workspace ws;
    const CliResult result = runCli(args(Tools(ws)));
    EXPECT_EQ(result.status, 0) << result.err;
    return readBytes(ws.out(output));
}

bool runningAsRoot() { return geteuid() == 0; }

namespace {

// A copy of vask-cli that every user may run, made once per test program.
std::filesystem::path cliOpenToAll() {
    static const TempDir folder;
    const auto copy = folder.path() / "vask-cli";
    if (!std::filesystem::exists(copy)) {
        std::filesystem::copy_file(cliProgram(), copy);
        std::filesystem::permissions(folder.path(), std::filesystem::perms(0755));
        std::filesystem::permissions(copy, std::filesystem::perms(0755));
    }
    return copy;
}

}  // namespace

std::optional<CliOptions> unprivilegedRun() {
    if (!runningAsRoot()) return CliOptions{};
    const std::filesystem::path setpriv = "/usr/bin/setpriv";
    if (!std::filesystem::exists(setpriv)) return std::nullopt;
    CliOptions options;
    options.program = cliOpenToAll();
    options.launcher = {setpriv.string(), "--reuid=65534", "--regid=65534", "--clear-groups"};
    return options;
}

}  // namespace vask::test
