// Every tool of vask-cli fed with contents it does not expect: binary files, the right
// text in the wrong encoding, records cut short, a lone lead byte, 0x1A in the middle,
// empty and header-only files. Each run either refuses with its message and leaves every
// file as it was, or writes what the rules say it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "robustness_support.h"

namespace vask::test {
namespace {

// The error about the line of the first offending byte, as the general error box shows it
// (with its full stop) and as the FF1 link window shows it (after its own prefix, without).
std::string notShiftJisText(const std::string& file, size_t line) {
    return fileError(file, kNotShiftJis) + "（" + std::to_string(line) + "行目）";
}
std::string notShiftJis(const std::string& file, size_t line) { return shownError("", notShiftJisText(file, line)); }

// The first line (from 1) holding a character that is not ASCII: where Japanese text saved
// as UTF-8 first offends.
size_t firstNonAsciiLine(const std::vector<std::u16string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (std::any_of(lines[i].begin(), lines[i].end(), [](char16_t c) { return c >= 0x80; })) return i + 1;
    }
    return 0;
}
const std::string linkFailed = "エラーが発生しました:";

std::string firstLine(const std::string& bytes) { return bytes.substr(0, bytes.find("\r\n") + 2); }

// --- Binary files.
std::string nulBytes() { return std::string(4096, '\0'); }

std::string executableBytes() {
    std::string bytes(
        "\x7F"
        "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x3E\0",
        20);
    for (int round = 0; round < 16; ++round) {
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

// 64 KiB from a fixed seed; no 0x1A, so that the claims reader sees it all.
std::string randomBytes() {
    std::mt19937 random(1932);
    std::string bytes(64 << 10, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    std::replace(bytes.begin(), bytes.end(), '\x1A', '\x1B');
    bytes[0] = 'B';     // no byte-order mark either
    bytes[1] = '\x80';  // and no character: the first line offends
    return bytes;
}

struct Blob {
    const char* name;
    std::string bytes;
};

std::vector<Blob> blobs() {
    return {{"nuls", nulBytes()}, {"executable", executableBytes()}, {"random", randomBytes()}};
}

class Content : public ::testing::Test {
protected:
    Workspace ws;
    Tools tools{ws};
};

// Every blob offends in its first line: every tool refuses it, the byte-level converters
// (the second converter, the mapping step and the replacement) included.
TEST_F(Content, BinaryFiles) {
    for (const auto& blob : blobs()) {
        SCOPED_TRACE(blob.name);
        const std::string file = ws.input("blob.txt", blob.bytes);
        for (const auto& args :
             {tools.anonymize(file), tools.stripBranch(file), tools.carte(file), tools.carte2(file),
              tools.carte2Month(file), tools.blankNames(file), tools.replace(file),
              tools.replace(tools.formOneFile(), file), tools.map(file), tools.map(tools.formOneFile(), file)}) {
            ws.expectRun(args, refusal(notShiftJis(file, 1)));
        }

        ws.expectRun(tools.ff1(file), refusal(linkFailed + notShiftJisText(file, 1)));
        ws.expectRun(tools.ff1({}, file), refusal(linkFailed + notShiftJisText(file, 1)));
        const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
        tools.ff1Folder();
        writeBytes(ff1File, blob.bytes);
        ws.expectRun(tools.ff1(), refusal(linkFailed + notShiftJisText(ff1File, 1)));
        ws.expectRun(tools.ff1Merge(), refusal(notShiftJis(ff1File, 1)));
        std::filesystem::remove_all(ws.in("ff1"));
    }
}

// --- The right text in the wrong encoding.

// What a run on a file in another encoding than Shift-JIS does.
enum class Verdict {
    Refused,  // "not Shift-JIS text" with the line of the first offending byte, nothing written
    Same,     // the output of the Shift-JIS file (the file is decoded by its mark)
};

struct EncodingCase {
    const char* role;
    std::vector<std::u16string> lines;  // the good content
    std::function<std::vector<std::string>(const Tools&, const std::string& file)> args;
    const char* output;  // name in out/
    std::map<Encoding, Verdict> verdicts;
};

constexpr Encoding kWrongEncodings[] = {Encoding::Utf8,       Encoding::Utf8Bom, Encoding::Utf16LE,
                                        Encoding::Utf16LEBom, Encoding::Utf16BE, Encoding::Utf16BEBom};

// The same verdict for every wrong encoding but the ones listed.
std::map<Encoding, Verdict> verdicts(Verdict rest, std::map<Encoding, Verdict> listed) {
    for (const Encoding e : kWrongEncodings) listed.try_emplace(e, rest);
    return listed;
}

// Where a refused file first offends: UTF-8 without its mark at its first Japanese text;
// UTF-16 LE without its mark at its first ASCII character (its second byte is NUL), or
// else at the NUL after the first CR, which starts line 2; a byte-order mark read as
// Shift-JIS, and UTF-16 BE (a NUL first), in line 1.
size_t offendingLine(const std::vector<std::u16string>& lines, Encoding encoding) {
    if (encoding == Encoding::Utf8) return firstNonAsciiLine(lines);
    if (encoding != Encoding::Utf16LE) return 1;
    const bool ascii = std::any_of(lines[0].begin(), lines[0].end(), [](char16_t c) { return c < 0x80; });
    return ascii ? 1 : 2;
}

// The files a user saves in the wrong encoding: without a byte-order mark only Shift-JIS
// text is read; with one, the readers of form-1 and data files decode it, the others refuse.
TEST_F(Content, TheRightTextInAWrongEncoding) {
    using V = Verdict;
    using E = Encoding;
    const auto byMark = verdicts(V::Same, {{E::Utf8, V::Refused}, {E::Utf16LE, V::Refused}, {E::Utf16BE, V::Refused}});
    const auto shiftJisOnly = verdicts(V::Refused, {});
    const EncodingCase cases[] = {
        {"claims, anonymize", claimsLines(), [](const Tools& t, const std::string& f) { return t.anonymize(f); },
         kAnonymisedName, shiftJisOnly},
        {"claims, strip-branch", claimsLines(), [](const Tools& t, const std::string& f) { return t.stripBranch(f); },
         kStrippedName, shiftJisOnly},
        {"form-1, carte", formOneLines(), [](const Tools& t, const std::string& f) { return t.carte(f); }, kCarteName,
         byMark},
        {"form-1, carte2", formOneLines(), [](const Tools& t, const std::string& f) { return t.carte2(f); }, kCarteName,
         byMark},
        {"form-1, carte2 --month", formOneLines(),
         [](const Tools& t, const std::string& f) { return t.carte2Month(f); }, kCarteName, byMark},
        {"form-1, map", formOneLines(), [](const Tools& t, const std::string& f) { return t.map(f); }, "mapped.tsv",
         byMark},
        {"form-1, blank-names", formOneLines(), [](const Tools& t, const std::string& f) { return t.blankNames(f); },
         "inano.txt", shiftJisOnly},
        {"form-1, replace", formOneLines(), [](const Tools& t, const std::string& f) { return t.replace(f); },
         "inR.txt", byMark},
        {"definitions, replace", definitionLines(),
         [](const Tools& t, const std::string& f) { return t.replace(t.formOneFile(), f); }, "FF1_202404R.txt",
         shiftJisOnly},
        {"mapping, map", mappingLines(), [](const Tools& t, const std::string& f) { return t.map(t.formOneFile(), f); },
         "mapped.tsv", shiftJisOnly},
    };
    for (const auto& c : cases) {
        const std::string reference = referenceOutput(
            [&](const Tools& t) { return c.args(t, t.ws().input("in.txt", encodeLines(c.lines, E::ShiftJis))); },
            c.output);
        for (const auto& [encoding, verdict] : c.verdicts) {
            SCOPED_TRACE(std::string(c.role) + " in " + std::string(encodingName(encoding)));
            const std::string file = ws.input("in.txt", encodeLines(c.lines, encoding));
            if (verdict == V::Refused) {
                ws.expectRun(c.args(tools, file), refusal(notShiftJis(file, offendingLine(c.lines, encoding))));
                continue;
            }
            ws.expectRun(c.args(tools, file), {0, "", {{ws.out(c.output), reference}}});
            std::filesystem::remove(ws.out(c.output));
        }
    }
}

// Real Shift-JIS files pass: a public sample claims file (kanji, full-width and half-width
// kana, CR LF, no end mark) comes out of the branch-number removal without a change, and
// half-width kana, whose pairs are two-byte UTF-8 sequences too (ﾃｽ is C3 BD), are Shift-JIS.
TEST_F(Content, RealShiftJisFilesAreAccepted) {
    const std::string sample = readBytes(VASK_CLAIMS_SAMPLE);
    const std::string file = ws.input("sample.UKE", sample);
    ws.expectRun({"strip-branch", file, "--mode", "none", "-o", ws.out().string()},
                 {0, "", {{ws.out("(202111提出_社保)RECEIPTC.uke"), sample}}});
    ws.expectRun(tools.anonymize(file), {0, "", {{ws.out("202111_1.UKE"), {}}}});
    std::vector<std::u16string> claims = claimsLines();
    claims[1] += u"ﾃｽﾄ";
    const std::string kana = encodeLines(claims, Encoding::ShiftJis);
    ASSERT_NE(kana.find("\xC3\xBD\xC4"), std::string::npos);
    const std::string kanaFile = ws.input("kana.UKE", kana);
    ws.expectRun({"strip-branch", kanaFile, "--mode", "none", "-o", ws.out().string()},
                 {0, "", {{ws.out(kStrippedName), kana}}});
}

// The FF1 link reads an FF1 file as Shift-JIS text unless it begins with the UTF-8 mark;
// the specification CSV and the append CSV are Shift-JIS text.
TEST_F(Content, TheFF1LinkInputsInAWrongEncoding) {
    const std::string reference = referenceOutput([](const Tools& t) { return t.ff1(); }, kLinkName);
    for (const Encoding encoding : kWrongEncodings) {
        SCOPED_TRACE(encodingName(encoding));
        const bool utf8 = encoding == Encoding::Utf8Bom;
        const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
        tools.ff1Folder();
        writeBytes(ff1File, encodeLines(ff1Lines(), encoding));
        // With the UTF-8 mark it is read as UTF-8; without, its Japanese header offends.
        ws.expectRun(tools.ff1(), utf8 ? Expected{0, "", {{ws.out(kLinkName), reference}}}
                                       : refusal(linkFailed + notShiftJisText(ff1File, 1)));
        std::filesystem::remove_all(ws.in("ff1"));
        std::filesystem::remove(ws.out(kLinkName));

        // UTF-8 without its mark is refused at its first Japanese text.
        const std::string spec = ws.input("spec8.csv", encodeLines(specLines(), encoding));
        ws.expectRun(tools.ff1(spec),
                     refusal(linkFailed + notShiftJisText(spec, offendingLine(specLines(), encoding))));
        const std::string append = ws.input("append8.csv", encodeLines(appendLines(), encoding));
        ws.expectRun(tools.ff1({}, append),
                     refusal(linkFailed + notShiftJisText(append, offendingLine(appendLines(), encoding))));
    }
    // A character that Shift-JIS cannot hold, in an FF1 file with the UTF-8 mark, is written
    // as "?" into the link CSV, and the run says how many and where; in a payload that the
    // CSV does not take, it is lost in the merged file (Shift-JIS after a first Shift-JIS
    // file) and counted all the same.
    std::vector<std::u16string> lines = ff1Lines();
    lines.back().replace(lines.back().find(u"160"), 3, u"\U00020BB7");
    tools.ff1Folder();
    writeBytes(ws.in("ff1") / "G_FF1_202404.txt", encodeLines(lines, Encoding::Utf8Bom));
    const CliResult inCsv = ws.expectRun(tools.ff1(), {0, std::nullopt, {{ws.out(kLinkName), {}}}});
    EXPECT_EQ(inCsv.err, "警告：Shift-JISにない文字1文字を「?」で書き出しました（出力の3行目）\n");
    lines = {ff1Lines()[0], ff1Lines()[2] + u"\U00020BB7"};
    writeBytes(ws.in("ff1") / "G_FF1_202404.txt", encodeLines({ff1Lines()[0], ff1Lines()[1]}, Encoding::ShiftJis));
    writeBytes(ws.in("ff1") / "G_FF1_202405.txt", encodeLines(lines, Encoding::Utf8Bom));
    const CliResult inMerged = ws.expectRun(tools.ff1(), {0, std::nullopt, {{ws.out(kLinkName), {}}}});
    EXPECT_EQ(inMerged.err, "警告：Shift-JISにない文字1文字を「?」で書き出しました\n");
}

// --- Records cut short, a lone lead byte, 0x1A in the middle.

// A tool that reads a form-1 file ("in.txt"), and the files it writes into out/.
struct FormOneTool {
    const char* name;
    std::function<std::vector<std::string>(const Tools&, const std::string& file)> args;
    std::vector<std::string> outputs;
};

std::vector<FormOneTool> formOneTools() {
    return {
        {"carte", [](const Tools& t, const std::string& f) { return t.carte(f); }, {"202404_carte.csv"}},
        {"carte2", [](const Tools& t, const std::string& f) { return t.carte2(f); }, {"202404_carte.csv"}},
        {"carte2 --movacal",
         [](const Tools& t, const std::string& f) { return t.carte2Movacal(f); },
         {"output.tsv", "202404_carte.csv"}},
        {"map", [](const Tools& t, const std::string& f) { return t.map(f); }, {"mapped.tsv"}},
        {"blank-names", [](const Tools& t, const std::string& f) { return t.blankNames(f); }, {"inano.txt"}},
        {"replace", [](const Tools& t, const std::string& f) { return t.replace(f); }, {"inR.txt"}},
    };
}

// The bytes of the files a successful run writes into out/, which are then removed.
std::vector<std::string> outputsOf(const Workspace& ws, const std::vector<std::string>& args,
                                   const std::vector<std::string>& names) {
    Expected expected;
    for (const auto& name : names) expected.written.push_back({ws.out(name), {}});
    ws.expectRun(args, expected);
    std::vector<std::string> bytes;
    for (const auto& name : names) {
        bytes.push_back(readBytes(ws.out(name)));
        std::filesystem::remove(ws.out(name));
    }
    return bytes;
}

std::string replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

// A record cut before a field that its rule needs stops the run with the index of that
// field; nothing is written.
TEST_F(Content, ClaimsRecordsCutShort) {
    const std::string index = "リストのインデックスが範囲を超えています ";
    const struct {
        std::u16string cut;     // in place of the record of its kind
        const char* anonymize;  // the message, or nullptr when the run succeeds
        const char* stripBranch;
    } cases[] = {
        {u"IR,1,13,1,765", "(7)", "(7)"},
        {u"RE,1,1127,50", "(4)", "(13)"},
        {u"RE,1,1127,50611,三浦　太郎,1,19700101,,,,,,,001", nullptr, nullptr},
        {u"HO,0613", "(2)", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.anonymize ? c.anonymize : "written"));
        std::vector<std::u16string> lines = claimsLines();
        for (auto& line : lines) {
            if (line.substr(0, 3) == c.cut.substr(0, 3)) line = c.cut;
        }
        const std::string file = ws.input("in.UKE", claimsBytes(lines));
        const auto expect = [&](const std::vector<std::string>& args, const char* message, const char* name) {
            if (message) {
                ws.expectRun(args, refusal(index + message));
            } else {
                outputsOf(ws, args, {name});
            }
        };
        expect(tools.anonymize(file), c.anonymize, kAnonymisedName);
        expect(tools.stripBranch(file), c.stripBranch, kStrippedName);
    }
}

// A lead byte with no byte after it (at the end of the file, before a line break or
// before 0x1A) is no character: every tool refuses the file at its line.
TEST_F(Content, ALoneLeadByte) {
    const std::string lead = "\x8E";
    for (const char* after : {"", "\r\n", "\x1A"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(after)));
        std::vector<std::u16string> claims = claimsLines();
        claims.pop_back();
        const std::string cutClaims =
            ws.input("in.UKE", encodeLines(claims, Encoding::ShiftJis) + "GO,1,2,99" + lead + after);
        for (const auto& args : {tools.anonymize(cutClaims), tools.stripBranch(cutClaims)}) {
            ws.expectRun(args, refusal(notShiftJis(cutClaims, claims.size() + 1)));
        }
        const std::string form1 = encodeLines(formOneLines(), Encoding::ShiftJis);
        const std::string form1Body = form1.substr(0, form1.size() - 2);  // the last field is empty
        const std::string cutForm1 = ws.input("in.txt", form1Body + lead + after);
        for (const auto& tool : formOneTools()) {
            SCOPED_TRACE(tool.name);
            ws.expectRun(tool.args(tools, cutForm1), refusal(notShiftJis(cutForm1, formOneLines().size())));
        }
        // The last definition, mapping title and FF1 payload.
        const std::string definitions = ws.input("definitions.csv", sjis(u"三浦　太郎,匿名") + lead + after);
        ws.expectRun(tools.replace(tools.formOneFile()), refusal(notShiftJis(definitions, 1)));
        const std::string mapping = ws.input("movacal.csv", sjis(u"患者氏名,氏名") + lead + after);
        ws.expectRun(tools.map(tools.formOneFile()), refusal(notShiftJis(mapping, 1)));
        const std::string ff1 = encodeLines(ff1Lines(), Encoding::ShiftJis);
        tools.ff1Folder();
        const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
        writeBytes(ff1File, ff1.substr(0, ff1.size() - 2) + lead + after);
        ws.expectRun(tools.ff1(), refusal(linkFailed + notShiftJisText(ff1File, ff1Lines().size())));
        std::filesystem::remove_all(ws.in("ff1"));
        std::filesystem::remove(definitions);
        std::filesystem::remove(mapping);
    }
}

// Every tool that reads a form-1 or data file by its byte-order mark writes a character
// that Shift-JIS cannot hold as "?", and says on standard error how many and where.
TEST_F(Content, ACharacterShiftJisCannotHoldIsReported) {
    std::vector<std::u16string> lines = formOneLines();
    lines[2].replace(lines[2].find(u"花子"), 2, u"\U00020BB7子");
    const std::string file = ws.input("in.txt", encodeLines(lines, Encoding::Utf8Bom));
    const std::string warning = "警告：Shift-JISにない文字1文字を「?」で書き出しました（出力の3行目）\n";
    for (const auto& tool : formOneTools()) {
        if (std::string_view(tool.name) == "blank-names") continue;  // reads Shift-JIS text only
        SCOPED_TRACE(tool.name);
        Expected expected{0, warning, {}};
        for (const auto& name : tool.outputs) expected.written.push_back({ws.out(name), {}});
        ws.expectRun(tool.args(tools, file), expected);
        for (const auto& name : tool.outputs) std::filesystem::remove(ws.out(name));
    }
}

// 0x1A ends a claims file and a definition file for good; in a form-1 file it is an
// ordinary character, kept where the field is kept.
TEST_F(Content, AnEndOfFileByteInTheMiddle) {
    std::vector<std::u16string> lines = claimsLines();
    const std::vector<std::u16string> head(lines.begin(), lines.begin() + 3);
    const std::vector<std::u16string> tail(lines.begin() + 3, lines.end());
    const std::string both = claimsBytes(head) + claimsBytes(tail);
    for (const auto& [args, name] :
         {std::pair{&Tools::anonymize, kAnonymisedName}, {&Tools::stripBranch, kStrippedName}}) {
        EXPECT_EQ(outputsOf(ws, (tools.*args)(ws.input("in.UKE", both)), {name}),
                  outputsOf(ws, (tools.*args)(ws.input("in.UKE", claimsBytes(head))), {name}));
    }
    std::vector<std::u16string> form1 = formOneLines();
    const size_t field2 = form1[1].find(u"\t\t") + 1;  // fields 1 and 2: the name, then an empty one
    const auto withField2 = [&](char16_t c) {
        std::vector<std::u16string> changed = form1;
        changed[1].insert(field2, 1, c);
        return encodeLines(changed, Encoding::ShiftJis);
    };
    for (const auto& tool : formOneTools()) {
        SCOPED_TRACE(tool.name);
        const auto withMark = outputsOf(ws, tool.args(tools, ws.input("in.txt", withField2(u'\x1A'))), tool.outputs);
        auto withHash = outputsOf(ws, tool.args(tools, ws.input("in.txt", withField2(u'#'))), tool.outputs);
        for (auto& bytes : withHash) bytes = replaced(bytes, '#', '\x1A');
        EXPECT_EQ(withMark, withHash);
    }
    // The definition after the byte is never read: nothing is replaced.
    const std::string data = tools.formOneFile();
    ws.input("definitions.csv", "\x1A" + encodeLines(definitionLines(), Encoding::ShiftJis));
    EXPECT_EQ(outputsOf(ws, tools.replace(data), {"FF1_202404R.txt"})[0], readBytes(data));
}

// After a lone CR the claims tools and the change definitions skip the rest of the physical
// line; a NUL byte there still makes the file no Shift-JIS text. After the end mark 0x1A
// nothing is read, a NUL byte included.
TEST_F(Content, ANulByteInThePartOfALineTheReaderSkips) {
    const std::string claims = ws.input("in.UKE", std::string("IR,1,13,1,1312345,,X,50611,00,0312345678\r"
                                                              "RE,1,1112,50610,NAME,1,3450101\0\r\n",
                                                              74));
    ws.expectRun(tools.anonymize(claims), refusal(notShiftJis(claims, 1)));
    ws.expectRun(tools.stripBranch(claims), refusal(notShiftJis(claims, 1)));
    const std::string definitions = ws.input("definitions.csv", std::string("1,2\r\nA,2\r\0", 10));
    ws.expectRun(tools.replace(tools.formOneFile(), definitions), refusal(notShiftJis(definitions, 2)));
    ws.input("in.UKE", claimsBytes(claimsLines()) + std::string("\0", 1));
    ws.expectRun(tools.anonymize(claims), {0, "", {{ws.out(kAnonymisedName), {}}}});
}

// --- Empty and header-only files.

TEST_F(Content, EmptyFiles) {
    const std::string empty = ws.input("in.txt", "");
    const std::string form1 = encodeLines(formOneLines(), Encoding::ShiftJis);
    const std::string notFormOne = "正しいFFファイルではありません。";
    const std::string link = referenceOutput([](const Tools& t) { return t.ff1(); }, kLinkName);
    // Without a clinic record the claims tools name the output without a month.
    ws.expectRun(tools.anonymize(empty), {0, nothingToCheck(empty), {{ws.out("_1.UKE"), ""}}});
    ws.expectRun(tools.stripBranch(empty), {0, "", {{ws.out("(提出_社保)RECEIPTC.uke"), ""}}});
    ws.expectRun(tools.carte(empty), refusal(notFormOne));
    ws.expectRun(tools.carte2(empty), refusal(notFormOne));
    ws.expectRun(tools.carte2Month(empty), {0, "", {{ws.out(kCarteName), ""}}});
    // The mapping step writes no intermediate file for an input without any line.
    ws.expectRun(tools.carte2Movacal(empty), refusal(shownError("", fileError(ws.out("output.tsv"), kCannotOpen))));
    ws.expectRun(tools.map(empty), {0, "", {}});
    ws.expectRun(tools.blankNames(empty), {0, nothingToCheck(empty), {{ws.out("inano.txt"), ""}}});
    ws.expectRun(tools.replace(empty), refusal(notFormOne));
    // Empty definitions replace nothing; an empty mapping renames nothing.
    ws.expectRun(tools.replace(tools.formOneFile(), empty), {0, "", {{ws.out("FF1_202404R.txt"), form1}}});
    ws.expectRun(tools.map(tools.formOneFile(), empty), {0, "", {{tools.mapped(), form1}}});
    ws.expectRun(tools.ff1(empty), refusal(linkFailed + "仕様CSVが空です。"));
    ws.expectRun(tools.ff1({}, empty), {0, "", {{ws.out(kLinkName), link}}});
    std::filesystem::remove(ws.out(kLinkName));
    std::filesystem::create_directory(ws.in("ff1"));
    writeBytes(ws.in("ff1") / "G_FF1_202404.txt", "");
    ws.expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), firstLine(link)}}});
    ws.expectRun(tools.ff1Merge(), {0, "", {{tools.merged(), ""}}});
}

// A file of its first line alone: the claims clinic record, the form-1 header, the FF1
// header. Every tool writes its header, or the line as it writes it, and nothing else;
// the first converter, which has no record line to convert, refuses the file.
TEST_F(Content, HeaderOnlyFiles) {
    const auto ref = [](const std::function<std::vector<std::string>(const Tools&)>& args, std::string_view name) {
        return firstLine(referenceOutput(args, name));
    };
    const std::string clinic = ws.input("in.UKE", claimsBytes({claimsLines().front()}));
    ws.expectRun(tools.anonymize(clinic),
                 {0,
                  "",
                  {{ws.out(kAnonymisedName),
                    ref([](const Tools& t) { return t.anonymize(t.claimsFile()); }, kAnonymisedName)}}});
    ws.expectRun(tools.stripBranch(clinic),
                 {0, "", {{ws.out(kStrippedName), encodeLines({claimsLines().front()}, Encoding::ShiftJis)}}});

    const std::string header = encodeLines({formOneLines().front()}, Encoding::ShiftJis);
    const std::string form1 = ws.input("in.txt", header);
    const std::string carte2Header = ref([](const Tools& t) { return t.carte2Month(t.formOneFile()); }, kCarteName);
    ws.expectRun(tools.carte(form1), refusal("正しいFFファイルではありません。"));  // no record to convert
    ws.expectRun(tools.carte2(form1), refusal("リストのインデックスが範囲を超えています (1)"));
    ws.expectRun(tools.carte2Month(form1), {0, "", {{ws.out(kCarteName), carte2Header}}});
    const std::string mappedHeader = ref([](const Tools& t) { return t.map(t.formOneFile()); }, "mapped.tsv");
    ws.expectRun(tools.carte2Movacal(form1),
                 {0, "", {{ws.out("output.tsv"), mappedHeader}, {ws.out(kCarteName), carte2Header}}});
    ws.expectRun(tools.map(form1), {0, "", {{tools.mapped(), mappedHeader}}});
    ws.expectRun(tools.blankNames(form1), {0, nothingToCheck(form1), {{ws.out("inano.txt"), header}}});
    ws.expectRun(tools.replace(form1), {0, "", {{ws.out("inR.txt"), header}}});

    std::filesystem::create_directory(ws.in("ff1"));
    const std::string ff1Header = encodeLines({ff1Lines().front()}, Encoding::ShiftJis);
    writeBytes(ws.in("ff1") / "G_FF1_202404.txt", ff1Header);
    ws.expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), ref([](const Tools& t) { return t.ff1(); }, kLinkName)}}});
    ws.expectRun(tools.ff1Merge(), {0, "", {{tools.merged(), ff1Header}}});
}

}  // namespace
}  // namespace vask::test
