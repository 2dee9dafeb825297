// Names made from file content or typed text never leave the output folder: the billing
// month of a claims file, the year-month of a form-1 file or of the FF1 link, the name of
// an input file, and the clinic name that names the sub-folder of the save folder.
#include <gtest/gtest.h>

#include <random>

#include "core/result_handoff.h"
#include "platform/paths.h"
#include "platform/utf.h"
#include "robustness_support.h"

namespace vask::test {
namespace {

std::string invalidName(std::string_view tool, const std::string& name) {
    return shownError(tool, "ファイル名に使えない文字が含まれています：" + name);
}

// A name no other run uses, for paths outside the workspace that must stay unmade.
std::string uniqueName() {
    std::random_device seed;
    return "vask-escape-" + std::to_string(std::mt19937_64(seed())());
}

// Months and year-months that try to name a file elsewhere, with their text as the
// message shows it (a control character as its visible symbol).
struct Hostile {
    std::u16string text;
    std::string shown;
};

std::vector<Hostile> hostileNames(const std::string& outside) {
    return {
        {u"..\\..\\x", "..\\..\\x"},
        {u"../../" + utf8ToUtf16(outside), "../../" + outside},
        {u"/tmp/" + utf8ToUtf16(outside), "/tmp/" + outside},
        {u"C:\\Windows\\x", "C:\\Windows\\x"},
        {u"C:x", "C:x"},
        {u"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {u"20\u000104", "20␁04"},
        {u"x*?<>|", "x*?<>|"},
    };
}

// The files that `name`, taken as a path from the output folder, would have made.
void expectNothingOutside(const Workspace& ws, const std::string& outside) {
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / (outside + "_1.UKE")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / (outside + "_carte.csv")));
    EXPECT_FALSE(std::filesystem::exists(ws.root().parent_path() / (outside + "_ff1all.csv")));
}

std::vector<std::u16string> claimsWith(std::u16string_view month, std::u16string_view code = u"7654321",
                                       std::u16string_view clinic = u"山田内科") {
    std::vector<std::u16string> lines = claimsLines();
    lines[0] = u"IR,1,13,1," + std::u16string(code) + u",," + std::u16string(clinic) + u"," + std::u16string(month) +
               u",00,03-1111-2222";
    return lines;
}

TEST(Escape, BillingMonthsOfAClaimsFile) {
    const Workspace ws;
    const Tools tools(ws);
    const std::string outside = uniqueName();
    for (const auto& month : hostileNames(outside)) {
        SCOPED_TRACE(month.shown);
        const std::string file = ws.input("claims.UKE", claimsBytes(claimsWith(month.text)));
        ws.expectRun(tools.anonymize(file), refusal(invalidName("", month.shown + "_1.UKE")));
        ws.expectRun(tools.stripBranch(file), refusal(invalidName("", "(" + month.shown + "提出_社保)RECEIPTC.uke")));
    }
    expectNothingOutside(ws, outside);
    // ".." alone is a plain part of a name.
    const std::string dots = ws.input("claims.UKE", claimsBytes(claimsWith(u"..")));
    ws.expectRun(tools.anonymize(dots), {0, "", {{ws.out(".._1.UKE"), {}}}});
}

// A billing month of a million digits makes a name that no file system takes: the error
// names the file, shortened in its middle.
TEST(Escape, ABillingMonthTooLongForAName) {
    const Workspace ws;
    const Tools tools(ws);
    const std::string file = ws.input("claims.UKE", claimsBytes(claimsWith(std::u16string(1 << 20, u'5'))));
    const CliResult result = ws.expectRun(tools.anonymize(file), {1, std::nullopt, {}});
    const std::string head = "ファイル \"" + ws.out().string() + "/5555";
    EXPECT_EQ(result.err.substr(0, head.size()), head);
    EXPECT_NE(result.err.find("5…5"), std::string::npos);
    EXPECT_TRUE(result.err.ends_with("55555_1.UKE\" を作成できません.\n")) << result.err.substr(result.err.size() - 60);
    EXPECT_LT(result.err.size(), 1000u);
}

TEST(Escape, YearMonthsOfAFormOneFileAndTyped) {
    const Workspace ws;
    const Tools tools(ws);
    const std::string outside = uniqueName();
    tools.ff1Folder();
    for (const auto& month : hostileNames(outside)) {
        SCOPED_TRACE(month.shown);
        std::vector<std::u16string> lines = formOneLines();
        for (auto& line : {&lines[1], &lines[2]}) line->replace(line->find(u"202404"), 6, month.text);
        const std::string file = ws.input("form1.txt", encodeLines(lines, Encoding::ShiftJis));
        const std::string carteName = month.shown + "_carte.csv";
        ws.expectRun(tools.carte(file), refusal(invalidName("", carteName)));
        ws.expectRun(tools.carte2(file), refusal(invalidName("", carteName)));
        const std::string typed = utf16ToUtf8(month.text);
        ws.expectRun({"carte2", tools.formOneFile(), "--month", typed, "-o", ws.out().string()},
                     refusal(invalidName("", carteName)));
        // The FF1 link takes a year-month of six digits only: the text never reaches a name.
        ws.expectRun({"ff1", tools.ff1Folder(), "--month", typed, "--spec", tools.specFile(), "-o", ws.out().string()},
                     refusal("連携ファイル該当年月を入力してください"));
    }
    expectNothingOutside(ws, outside);
}

// The anonymised copy and the replaced copy are named after the input's file-name part:
// the text after its last "\", "/" or ":", which on this system may all be in a name.
TEST(Escape, NamesOfInputFiles) {
    const Workspace ws;
    const Tools tools(ws);
    const std::string form1 = encodeLines(formOneLines(), Encoding::ShiftJis);
    const struct {
        std::string input;
        std::string copy;  // without the marker, or "" when refused with `refused`
        std::string refused;
    } cases[] = {
        {"a\\..\\..\\b.txt", "b", ""},
        {"c:..txt", ".", ""},
        {"d*e.txt", "", "d*e"},
        {"f\ng.txt", "", "f␊g"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string file = ws.input(c.input, form1);
        if (c.copy.empty()) {
            ws.expectRun(tools.blankNames(file), refusal(invalidName("", c.refused + "ano.txt")));
            ws.expectRun(tools.replace(file), refusal(invalidName("", c.refused + "R.txt")));
            continue;
        }
        ws.expectRun(tools.blankNames(file), {0, "", {{ws.out(c.copy + "ano.txt"), {}}}});
        ws.expectRun(tools.replace(file), {0, "", {{ws.out(c.copy + "R.txt"), {}}}});
    }
}

// The result window's button moves the files into the save folder, into a sub-folder
// named from the clinic record when the clinic rule is on. Whatever the record holds,
// the sub-folder is one plain name inside the save folder.
TEST(Escape, TheClinicSubFolderOfTheSaveFolder) {
    const Workspace ws;
    const Tools tools(ws);
    const auto save = ws.root() / "save";
    std::filesystem::create_directory(save);
    const struct {
        std::u16string code;
        std::u16string clinic;
        std::string folder;
    } cases[] = {
        {u"..", u"..", ".._.."},
        {u"..\\..", u"../../x", ".._.._.._.._x"},
        {u"/etc", u"C:\\Windows", "_etc_C__Windows"},
        // The comma split of the record drops the double quote.
        {u"\\\\server\\share", u"a:b*c?d\"e<f>g|h", "__server_share_a_b_c_de_f_g_h"},
        {u"\u0001", u"\u001F", "___"},
        {u"", u"", "_"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string file = ws.input("claims.UKE", claimsBytes(claimsWith(u"50611", c.code, c.clinic)));
        ws.expectRun(tools.stripBranch(file), {0, "", {{ws.out(kStrippedName), {}}}});
        const Tree before = snapshot(ws.root());
        const std::u16string name = fromPath(std::filesystem::path(kStrippedName));
        const auto target = resultTarget(ws.out(), ws.root() / "downloads", {fromPath(save), u"1"}, name);
        EXPECT_EQ(target, save / c.folder);
        EXPECT_TRUE(moveResultFiles(ws.out(), target, {name, u""}).empty());
        Tree wanted = before;
        wanted[("save/" + c.folder + "/")] = "";
        wanted["save/" + c.folder + "/" + kStrippedName] = before.at(std::string("out/") + kStrippedName);
        wanted.erase(std::string("out/") + kStrippedName);
        EXPECT_EQ(snapshot(ws.root()), wanted);
        std::filesystem::remove_all(save / c.folder);
    }
}

}  // namespace
}  // namespace vask::test
