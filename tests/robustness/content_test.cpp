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

// The error, as the general error box shows it (with its full stop) and as the FF1 link
// window shows it (after its own prefix, without).
std::string notShiftJisText(const std::string& file) { return fileError(file, kNotShiftJis); }
std::string notShiftJis(const std::string& file) { return shownError("", notShiftJisText(file)); }
const std::string linkFailed = "エラーが発生しました:";

// The lines of bytes as the form-1 tools split them: CR LF, LF or a lone CR ends a line.
size_t lineCount(std::string_view bytes) {
    size_t lines = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
    }
    const char last = bytes.empty() ? '\n' : bytes.back();
    return lines + (last != '\n' && last != '\r' ? 1 : 0);
}

std::vector<std::string> outputLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(bytes.substr(start, at - start));
    }
    EXPECT_EQ(start, bytes.size()) << "the output does not end with CR LF";
    return lines;
}

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
    bytes[0] = 'B';  // no byte-order mark either
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

// Every blob holds NUL bytes: every tool refuses it, the byte-level converters (the second
// converter, the mapping step and the replacement) included.
TEST_F(Content, BinaryFiles) {
    for (const auto& blob : blobs()) {
        SCOPED_TRACE(blob.name);
        const std::string file = ws.input("blob.txt", blob.bytes);
        for (const auto& args :
             {tools.anonymize(file), tools.stripBranch(file), tools.carte(file), tools.carte2(file),
              tools.carte2Month(file), tools.blankNames(file), tools.replace(file),
              tools.replace(tools.formOneFile(), file), tools.map(file), tools.map(tools.formOneFile(), file)}) {
            ws.expectRun(args, refusal(notShiftJis(file)));
        }

        ws.expectRun(tools.ff1(file), refusal(linkFailed + notShiftJisText(file)));
        ws.expectRun(tools.ff1({}, file), refusal(linkFailed + notShiftJisText(file)));
        const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
        tools.ff1Folder();
        writeBytes(ff1File, blob.bytes);
        ws.expectRun(tools.ff1(), refusal(linkFailed + notShiftJisText(ff1File)));
        ws.expectRun(tools.ff1Merge(), refusal(notShiftJis(ff1File)));
        std::filesystem::remove_all(ws.in("ff1"));
    }
}

// --- The right text in the wrong encoding.

// What a run on a file in another encoding than Shift-JIS does.
enum class Verdict {
    Refused,        // "not Shift-JIS text", nothing written
    Same,           // the output of the Shift-JIS file (the file is decoded by its mark)
    SameButNames,   // that output but for the patient-name column, which is mojibake
    SameLineCount,  // passed through byte by byte: one output line per line of bytes
    Unchanged,      // the output is the form-1 input itself (the definitions match nothing)
    NoNames,        // the names are blanked: no byte sequence of any name is left
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

// The comma-separated fields of every line but field 1 (the name).
std::vector<std::vector<std::string>> withoutNames(const std::string& bytes) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : outputLines(bytes)) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t at; (at = line.find(',', start)) != std::string::npos; start = at + 1) {
            fields.push_back(line.substr(start, at - start));
        }
        fields.push_back(line.substr(start));
        if (fields.size() > 1) fields[1].clear();
        rows.push_back(fields);
    }
    return rows;
}

bool holdsAnyName(const std::string& bytes) {
    for (const auto* name : {u"三浦", u"太郎", u"山田", u"花子"}) {
        for (const Encoding e : {Encoding::ShiftJis, Encoding::Utf8, Encoding::Utf16LE, Encoding::Utf16BE}) {
            if (bytes.find(encodeText(name, e)) != std::string::npos) return true;
        }
    }
    return false;
}

TEST_F(Content, TheRightTextInAWrongEncoding) {
    using V = Verdict;
    using E = Encoding;
    const std::string form1 = encodeLines(formOneLines(), E::ShiftJis);
    const EncodingCase cases[] = {
        {"claims, anonymize", claimsLines(), [](const Tools& t, const std::string& f) { return t.anonymize(f); },
         kAnonymisedName, verdicts(V::Refused, {{E::Utf8, V::Same}})},
        {"form-1, carte", formOneLines(), [](const Tools& t, const std::string& f) { return t.carte(f); }, kCarteName,
         verdicts(V::Same, {{E::Utf8, V::SameButNames}, {E::Utf16LE, V::Refused}, {E::Utf16BE, V::Refused}})},
        {"form-1, carte2", formOneLines(), [](const Tools& t, const std::string& f) { return t.carte2(f); }, kCarteName,
         verdicts(V::Refused, {{E::Utf8, V::SameButNames}, {E::Utf8Bom, V::SameButNames}})},
        {"form-1, carte2 --month", formOneLines(),
         [](const Tools& t, const std::string& f) { return t.carte2Month(f); }, kCarteName,
         verdicts(V::Refused, {{E::Utf8, V::SameButNames}, {E::Utf8Bom, V::SameButNames}})},
        {"form-1, map", formOneLines(), [](const Tools& t, const std::string& f) { return t.map(f); }, "mapped.tsv",
         verdicts(V::Refused, {{E::Utf8, V::SameLineCount}, {E::Utf8Bom, V::SameLineCount}})},
        {"form-1, blank-names", formOneLines(), [](const Tools& t, const std::string& f) { return t.blankNames(f); },
         "inano.txt", verdicts(V::Refused, {{E::Utf8, V::NoNames}})},
        {"form-1, replace", formOneLines(), [](const Tools& t, const std::string& f) { return t.replace(f); },
         "inR.txt",
         verdicts(V::Same, {{E::Utf8, V::SameLineCount}, {E::Utf16LE, V::Refused}, {E::Utf16BE, V::Refused}})},
        {"definitions, replace", definitionLines(),
         [](const Tools& t, const std::string& f) { return t.replace(t.formOneFile(), f); }, "FF1_202404R.txt",
         verdicts(V::Refused, {{E::Utf8, V::Unchanged}})},
        {"mapping, map", mappingLines(), [](const Tools& t, const std::string& f) { return t.map(t.formOneFile(), f); },
         "mapped.tsv", verdicts(V::Refused, {{E::Utf8, V::Unchanged}, {E::Utf8Bom, V::Unchanged}})},
    };
    for (const auto& c : cases) {
        const std::string reference = referenceOutput(
            [&](const Tools& t) { return c.args(t, t.ws().input("in.txt", encodeLines(c.lines, E::ShiftJis))); },
            c.output);
        for (const auto& [encoding, verdict] : c.verdicts) {
            SCOPED_TRACE(std::string(c.role) + " in " + std::string(encodingName(encoding)));
            const std::string bytes = encodeLines(c.lines, encoding);
            const std::string file = ws.input("in.txt", bytes);
            const auto output = ws.out(c.output);
            if (verdict == V::Refused) {
                ws.expectRun(c.args(tools, file), refusal(notShiftJis(file)));
                continue;
            }
            ws.expectRun(c.args(tools, file), {0, "", {{output, {}}}});
            const std::string written = readBytes(output);
            std::filesystem::remove(output);
            switch (verdict) {
                case V::Same:
                    EXPECT_EQ(written, reference);
                    break;
                case V::SameButNames:
                    EXPECT_EQ(withoutNames(written), withoutNames(reference));
                    break;
                case V::SameLineCount:
                    EXPECT_EQ(outputLines(written).size(), lineCount(bytes));
                    break;
                case V::Unchanged:
                    EXPECT_EQ(written, form1);
                    break;
                case V::NoNames:
                    EXPECT_EQ(outputLines(written).size(), 3u);
                    EXPECT_FALSE(holdsAnyName(written));
                    break;
                case V::Refused:
                    break;
            }
        }
    }
}

// The claims tools must recognise the clinic record: a UTF-8 file without its mark is
// read byte by byte, and only its Japanese text turns into other characters.
TEST_F(Content, StripBranchReadsAUtf8ClaimsFileByItsRecords) {
    const std::string file = ws.input("in.UKE", encodeLines(claimsLines(), Encoding::Utf8));
    ws.expectRun(tools.stripBranch(file), {0, "", {{ws.out(kStrippedName), {}}}});
    const auto lines = outputLines(readBytes(ws.out(kStrippedName)));
    ASSERT_EQ(lines.size(), claimsLines().size());
    EXPECT_TRUE(lines[1].starts_with("RE,1,1127,50611,")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(",,,,,,,0012345")) << lines[1];
    for (const auto encoding : {Encoding::Utf8Bom, Encoding::Utf16LE, Encoding::Utf16BEBom}) {
        ws.input("in.UKE", encodeLines(claimsLines(), encoding));
        ws.expectRun(tools.stripBranch(file), refusal(notShiftJis(file)));
    }
}

// The FF1 link reads an FF1 file as Shift-JIS unless it begins with the UTF-8 mark; the
// specification CSV and the append CSV are Shift-JIS.
TEST_F(Content, TheFF1LinkInputsInAWrongEncoding) {
    const std::string reference = referenceOutput([](const Tools& t) { return t.ff1(); }, kLinkName);
    const std::string withAppend = referenceOutput(
        [](const Tools& t) {
            return t.ff1({}, t.ws().input("append.csv", encodeLines(appendLines(), Encoding::ShiftJis)));
        },
        kLinkName);
    for (const Encoding encoding : kWrongEncodings) {
        SCOPED_TRACE(encodingName(encoding));
        const bool utf8 = encoding == Encoding::Utf8 || encoding == Encoding::Utf8Bom;
        const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
        tools.ff1Folder();
        writeBytes(ff1File, encodeLines(ff1Lines(), encoding));
        // Its data lines are ASCII: they read the same in UTF-8 as in Shift-JIS.
        ws.expectRun(tools.ff1(), utf8 ? Expected{0, "", {{ws.out(kLinkName), reference}}}
                                       : refusal(linkFailed + notShiftJisText(ff1File)));
        std::filesystem::remove_all(ws.in("ff1"));
        std::filesystem::remove(ws.out(kLinkName));

        // UTF-8 without its mark is told from Shift-JIS by nothing but its text.
        const bool shiftJisLike = encoding == Encoding::Utf8;
        const std::string spec = ws.input("spec8.csv", encodeLines(specLines(), encoding));
        const std::string noTitles = "仕様CSVの1行目に「ヘッダー名/コード/ペイロード番号」が見つかりません。";
        ws.expectRun(tools.ff1(spec), refusal(linkFailed + (shiftJisLike ? noTitles : notShiftJisText(spec))));
        const std::string append = ws.input("append8.csv", encodeLines(appendLines(), encoding));
        if (!shiftJisLike) {
            ws.expectRun(tools.ff1({}, append), refusal(linkFailed + notShiftJisText(append)));
            continue;
        }
        // Its date is ASCII and matches: the line is appended, its Japanese text mangled.
        ws.expectRun(tools.ff1({}, append), {0, "", {{ws.out(kLinkName), {}}}});
        const std::string written = readBytes(ws.out(kLinkName));
        std::filesystem::remove(ws.out(kLinkName));
        EXPECT_EQ(written.substr(0, reference.size()), reference);
        EXPECT_TRUE(written.substr(reference.size()).starts_with("ID99,,20240401,"))
            << written.substr(reference.size());
        EXPECT_EQ(outputLines(written).size(), outputLines(withAppend).size());
    }
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
// before 0x1A) is one unknown character, written as "?": every tool writes what it
// writes for the same file with "?" in its place.
TEST_F(Content, ALoneLeadByte) {
    const std::string lead = "\x8E";
    for (const char* after : {"", "\r\n", "\x1A"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(after)));
        const auto claimsWith = [&](const std::string& last) {
            std::vector<std::u16string> lines = claimsLines();
            lines.pop_back();
            return encodeLines(lines, Encoding::ShiftJis) + "GO,1,2,99" + last + after;
        };
        for (const auto& [args, name] :
             {std::pair{&Tools::anonymize, kAnonymisedName}, {&Tools::stripBranch, kStrippedName}}) {
            const auto cut = outputsOf(ws, (tools.*args)(ws.input("in.UKE", claimsWith(lead))), {name});
            EXPECT_EQ(cut, outputsOf(ws, (tools.*args)(ws.input("in.UKE", claimsWith("?"))), {name}));
        }
        if (std::string_view(after) == "\x1A") continue;  // an ordinary byte in the other files
        const std::string form1 = encodeLines(formOneLines(), Encoding::ShiftJis);
        const std::string form1Body = form1.substr(0, form1.size() - 2);  // the last field is empty
        for (const auto& tool : formOneTools()) {
            SCOPED_TRACE(tool.name);
            const auto cut =
                outputsOf(ws, tool.args(tools, ws.input("in.txt", form1Body + lead + after)), tool.outputs);
            EXPECT_EQ(cut, outputsOf(ws, tool.args(tools, ws.input("in.txt", form1Body + "?" + after)), tool.outputs));
        }
        // The last definition, mapping title and FF1 payload.
        const auto writeOthers = [&](const std::string& last) {
            ws.input("definitions.csv", sjis(u"三浦　太郎,匿名") + last + after);
            ws.input("movacal.csv", sjis(u"患者氏名,氏名") + last + after);
            const std::string ff1 = encodeLines(ff1Lines(), Encoding::ShiftJis);
            tools.ff1Folder();
            writeBytes(ws.in("ff1") / "G_FF1_202404.txt", ff1.substr(0, ff1.size() - 2) + last + after);
        };
        const auto others = [&] {
            return std::vector{outputsOf(ws, tools.replace(tools.formOneFile()), {"FF1_202404R.txt"}),
                               outputsOf(ws, tools.map(tools.formOneFile()), {"mapped.tsv"}),
                               outputsOf(ws, tools.ff1(), {kLinkName})};
        };
        writeOthers("?");
        const auto withQuestionMark = others();
        writeOthers(lead);
        EXPECT_EQ(others(), withQuestionMark);
        std::filesystem::remove_all(ws.in("ff1"));
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
    ws.expectRun(tools.anonymize(claims), refusal(notShiftJis(claims)));
    ws.expectRun(tools.stripBranch(claims), refusal(notShiftJis(claims)));
    const std::string definitions = ws.input("definitions.csv", std::string("1,2\r\nA,2\r\0", 10));
    ws.expectRun(tools.replace(tools.formOneFile(), definitions), refusal(notShiftJis(definitions)));
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
    ws.expectRun(tools.anonymize(empty), {0, "", {{ws.out("_1.UKE"), ""}}});
    ws.expectRun(tools.stripBranch(empty), {0, "", {{ws.out("(提出_社保)RECEIPTC.uke"), ""}}});
    ws.expectRun(tools.carte(empty), refusal(notFormOne));
    ws.expectRun(tools.carte2(empty), refusal(notFormOne));
    ws.expectRun(tools.carte2Month(empty), {0, "", {{ws.out(kCarteName), ""}}});
    // The mapping step writes no intermediate file for an input without any line.
    ws.expectRun(tools.carte2Movacal(empty), refusal(shownError("", fileError(ws.out("output.tsv"), kCannotOpen))));
    ws.expectRun(tools.map(empty), {0, "", {}});
    ws.expectRun(tools.blankNames(empty), {0, "", {{ws.out("inano.txt"), ""}}});
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
    ws.expectRun(tools.blankNames(form1), {0, "", {{ws.out("inano.txt"), header}}});
    ws.expectRun(tools.replace(form1), {0, "", {{ws.out("inR.txt"), header}}});

    std::filesystem::create_directory(ws.in("ff1"));
    const std::string ff1Header = encodeLines({ff1Lines().front()}, Encoding::ShiftJis);
    writeBytes(ws.in("ff1") / "G_FF1_202404.txt", ff1Header);
    ws.expectRun(tools.ff1(), {0, "", {{ws.out(kLinkName), ref([](const Tools& t) { return t.ff1(); }, kLinkName)}}});
    ws.expectRun(tools.ff1Merge(), {0, "", {{tools.merged(), ff1Header}}});
}

}  // namespace
}  // namespace vask::test
