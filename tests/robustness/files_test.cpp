// Every tool of vask-cli against the file system a clinic user meets: folders with spaces
// and Japanese names, missing inputs, folders and FIFOs given as files, output folders that
// cannot be written or are files, outputs that cannot be replaced, an output that is one of
// the inputs, writes that fail half way, and a standard output that cannot be written.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "robustness_support.h"

namespace vask::test {
namespace {

// The message of `tool` when its first output cannot be made in `folder`.
std::string cannotCreateFirst(const ToolRun& tool, const std::filesystem::path& folder) {
    return shownError(tool.name, fileError(folder / tool.outputs.front(), kCannotCreate));
}

// Lets every user read the tree and enter its folders, as the permission tests need.
void openToOthers(const std::filesystem::path& root) {
    std::filesystem::permissions(root, std::filesystem::perms(0755));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms(entry.is_directory() ? 0755 : 0644));
    }
}

TEST(Files, FoldersAndFilesWithSpacesAndJapaneseNames) {
    const Workspace ws("入力 フォルダ", "出力 先（２０２４年）");
    const Tools tools(ws);
    const std::string claims = ws.input("レセ電 データ 4月.UKE", claimsBytes(claimsLines()));
    const std::string form1 = ws.input("外来 様式１ 4月.txt", encodeLines(formOneLines(), Encoding::ShiftJis));
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        std::vector<std::string> args = tool.args(tools);
        std::vector<std::string> outputs = tool.outputs;
        // The tools that name the copy after the input.
        if (tool.name == std::string("blank-names")) outputs = {"外来 様式１ 4月ano.txt"};
        if (tool.name == std::string("replace")) outputs = {"外来 様式１ 4月R.txt"};
        for (auto& arg : args) {
            if (arg == tools.claimsFile()) arg = claims;
            if (arg == tools.formOneFile()) arg = form1;
        }
        Expected expected;
        for (size_t i = 0; i < outputs.size(); ++i) {
            expected.written.push_back({ws.out(outputs[i]), referenceOutput(tool.args, tool.outputs[i])});
        }
        ws.expectRun(args, expected);
    }
}

// Names made under another code page (Shift-JIS bytes, which are no UTF-8), as files copied
// from a Windows disk may have: the files are found, the outputs made under names of the
// same bytes, and the printed paths are those bytes.
TEST(Files, NamesInAnotherCodePage) {
    const Workspace ws("in", "\x8F\x6F\x97\xCD");  // 出力
    const Tools tools(ws);
    const std::string claims = ws.input("\x83\x8C\x83\x5A\x93\x64.UKE", claimsBytes(claimsLines()));  // レセ電
    const std::string form1 = ws.input("\x83\x65\x83\x58\x83\x67.txt", encodeLines(formOneLines(), Encoding::ShiftJis));
    const auto reference = [](const char* tool, std::string_view output) {
        for (const auto& t : allTools()) {
            if (t.name == std::string_view(tool)) return referenceOutput(t.args, output);
        }
        return std::string();
    };
    ws.expectRun(tools.anonymize(claims),
                 {0, "", {{ws.out(kAnonymisedName), reference("anonymize", kAnonymisedName)}}});
    ws.expectRun(tools.blankNames(form1), {0,
                                           "",
                                           {{ws.out("\x83\x65\x83\x58\x83\x67"
                                                    "ano.txt"),
                                             reference("blank-names", "FF1_202404ano.txt")}}});
    ws.expectRun(tools.replace(form1), {0,
                                        "",
                                        {{ws.out("\x83\x65\x83\x58\x83\x67"
                                                 "R.txt"),
                                          reference("replace", "FF1_202404R.txt")}}});
}

TEST(Files, AMissingInputOrAFolderGivenAsInput) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const std::string missing = ws.in("gone.txt").string();
    const std::string folder = ws.in().string();
    const std::string noFile = "ファイルがありません。";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {tools.anonymize(missing), noFile},
        {tools.anonymize(folder), noFile},
        {tools.stripBranch(folder), noFile},
        {tools.carte(missing), noFile},
        {tools.carte(folder), noFile},
        {tools.carte2(missing), shownError("", fileError(missing, kCannotOpen))},
        {tools.carte2(folder), shownError("", fileError(folder, kCannotOpen))},
        {tools.carte2Month(folder), shownError("", fileError(folder, kCannotOpen))},
        {tools.map(missing), shownError("", fileError(missing, kCannotOpen))},
        {tools.map(tools.formOneFile(), folder), shownError("", fileError(folder, kCannotOpen))},
        {tools.blankNames(missing), shownError("", fileError(missing, kCannotOpen))},
        {tools.replace(missing), noFile},
        {tools.replace(folder), noFile},
        {tools.replace(tools.formOneFile(), missing), "変更定義ファイルがファイルがありません。"},
        {tools.ff1(missing), shownError("ff1", fileError(missing, kCannotOpen))},
        {tools.ff1(folder), shownError("ff1", fileError(folder, kCannotOpen))},
        {{"ff1", missing, "--month", "202404", "-o", ws.out().string()},
         shownError("ff1", "入力フォルダが見つかりません：" + missing + "/")},
        {{"ff1-merge", missing, tools.merged()}, shownError("", "入力フォルダが見つかりません：" + missing + "/")},
    };
    for (const auto& c : cases) ws.expectRun(c.args, refusal(c.message));
    // An append file that is not there is refused before the link starts.
    ws.expectRun(tools.ff1({}, missing), refusal(noFile));
    ws.expectRun(tools.ff1({}, folder), refusal(noFile));
}

// A FIFO would block the open and a device never end (or be empty): only regular files are
// read, so both are refused at once.
TEST(Files, AFifoOrADeviceGivenAsInput) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const std::string fifo = ws.in("fifo.txt").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    CliOptions quick;
    quick.timeoutSeconds = 20;
    for (const std::string& special : {fifo, std::string("/dev/null")}) {
        SCOPED_TRACE(special);
        const std::string noFile = "ファイルがありません。";
        const std::string cannotOpen = shownError("", fileError(special, kCannotOpen));
        const struct {
            std::vector<std::string> args;
            std::string message;
        } cases[] = {
            {tools.anonymize(special), noFile},
            {tools.carte(special), noFile},
            {tools.carte2(special), cannotOpen},
            {tools.carte2Month(special), cannotOpen},
            {tools.map(special), cannotOpen},
            {tools.map(tools.formOneFile(), special), cannotOpen},
            {tools.blankNames(special), cannotOpen},
            {tools.replace(special), noFile},
            {tools.replace(tools.formOneFile(), special), "変更定義ファイルがファイルがありません。"},
            {tools.ff1(special), shownError("ff1", fileError(special, kCannotOpen))},
        };
        for (const auto& c : cases) ws.expectRun(c.args, refusal(c.message), quick);
    }
}

// Every tool run by another user (`unprivileged`) on inputs open to all, with older
// outputs of root's in an output folder of the given mode, which that user cannot write
// into: each run is refused and leaves the older outputs as they were.
void expectEveryToolRefusedToAnotherUser(const CliOptions& unprivileged, std::filesystem::perms outMode) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    for (const auto& tool : allTools()) {
        for (const auto& name : tool.outputs) writeBytes(ws.out(name), "older " + name);
    }
    openToOthers(ws.root());
    std::filesystem::permissions(ws.in("ff1"), std::filesystem::perms(0777));  // the merged file is made there
    std::filesystem::permissions(ws.out(), outMode);
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        // The run of the second converter first deletes the intermediate file of an
        // earlier run, which the other user may not do.
        const std::string message = tool.name == std::string("carte2") || tool.name == std::string("carte2 --movacal")
                                        ? shownError("", fileError(ws.out("output.tsv"), "を削除できません"))
                                        : cannotCreateFirst(tool, ws.out());
        ws.expectRun(tool.args(tools), refusal(message), unprivileged);
    }
    std::filesystem::permissions(ws.out(), std::filesystem::perms(0755));
}

// Root ignores permission bits: as root the tools run as nobody (setpriv), which may read
// the inputs but not write into the output folder.
TEST(Files, AReadOnlyOutputFolderKeepsItsOlderOutputs) {
    const auto unprivileged = unprivilegedRun();
    if (!unprivileged)
        GTEST_SKIP() << "running as root without /usr/bin/setpriv: no user to whom a folder is read-only";
    expectEveryToolRefusedToAnotherUser(*unprivileged, std::filesystem::perms(0555));
}

// An output whose name is taken by a folder with files in it cannot be replaced: the run
// fails at its last step, and leaves neither the new file nor its temporary file.
TEST(Files, AnOutputNameTakenByAFolder) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        const auto taken = ws.out(tool.outputs.front());
        std::filesystem::create_directory(taken);
        writeBytes(taken / "keep", "kept");
        ws.expectRun(tool.args(tools), refusal(cannotCreateFirst(tool, ws.out())));
        std::filesystem::remove_all(taken);
    }
}

// In a sticky folder (as /tmp) a user may add files but not replace another user's: the
// older outputs, owned by root, stay; the new file is made and removed again.
TEST(Files, AnOlderOutputOfAnotherUserInAStickyFolder) {
    if (!runningAsRoot()) GTEST_SKIP() << "needs root to own the older outputs that another user cannot replace";
    const auto unprivileged = unprivilegedRun();
    if (!unprivileged) GTEST_SKIP() << "running as root without /usr/bin/setpriv";
    expectEveryToolRefusedToAnotherUser(*unprivileged, std::filesystem::perms(01777));
}

// An older output that is a link to a file elsewhere is replaced as a link: the file it
// points to is never written.
TEST(Files, AnOlderOutputThatLinksElsewhere) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const auto victim = ws.root() / "victim";
    writeBytes(victim, "not to be written");
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        const auto link = ws.out(tool.outputs.back());
        std::filesystem::create_symlink(victim, link);
        Expected expected;
        for (const auto& name : tool.outputs)
            expected.written.push_back({ws.out(name), referenceOutput(tool.args, name)});
        ws.expectRun(tool.args(tools), expected);
        EXPECT_FALSE(std::filesystem::is_symlink(link));
        for (const auto& name : tool.outputs) std::filesystem::remove(ws.out(name));
    }
}

// The output folder given as the claims input itself, as a folder under that file, or as
// a folder that is not there.
TEST(Files, AnOutputFolderThatIsAFileOrIsMissing) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const auto theInput = std::filesystem::path(tools.claimsFile());
    const auto underAFile = theInput / "out";
    const auto missing = ws.root() / "missing" / "out";
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        for (const auto& folder : {theInput, underAFile, missing}) {
            std::vector<std::string> args = tool.args(tools);
            for (auto& arg : args) {
                if (arg == ws.out().string()) arg = folder.string();
                if (arg == tools.mapped()) arg = (folder / "mapped.tsv").string();
                if (arg == tools.merged()) arg = (folder / "G_FF1_all.txt").string();
            }
            // The FF1 link makes its output folder, as the merge does for its file.
            const bool makesFolder = tool.name == std::string("ff1") || tool.name == std::string("ff1-merge");
            if (makesFolder && folder == missing) {
                ws.expectRun(
                    args, {0, "", {{folder / tool.outputs.front(), referenceOutput(tool.args, tool.outputs.front())}}});
                std::filesystem::remove_all(ws.root() / "missing");
            } else if (makesFolder) {
                ws.expectRun(args,
                             refusal(shownError(tool.name, "フォルダ \"" + folder.string() + "\" を作成できません")));
            } else {
                ws.expectRun(args, refusal(cannotCreateFirst(tool, folder)));
            }
        }
    }
}

// No output replaces one of the run's inputs, whatever names the user gives.
TEST(Files, AnOutputThatWouldReplaceAnInput) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const std::string claims = ws.out(kAnonymisedName).string();
    writeBytes(claims, claimsBytes(claimsLines()));
    const std::string stripped = ws.out(kStrippedName).string();
    writeBytes(stripped, claimsBytes(claimsLines()));
    const std::string carteNamed = ws.out(kCarteName).string();
    writeBytes(carteNamed, encodeLines(formOneLines(), Encoding::ShiftJis));
    const std::string ff1File = (ws.in("ff1") / "G_FF1_202404.txt").string();
    const std::string linkNamed = ws.out(kLinkName).string();
    writeBytes(linkNamed, encodeLines(appendLines(), Encoding::ShiftJis));
    const auto replaced = [](std::string_view tool, const std::string& file) {
        return refusal(shownError(tool, fileError(file, kInputReplaced)));
    };
    ws.expectRun(tools.anonymize(claims), replaced("", claims));
    ws.expectRun(tools.stripBranch(stripped), replaced("", stripped));
    ws.expectRun(tools.carte(carteNamed), replaced("", carteNamed));
    ws.expectRun(tools.carte2(carteNamed), replaced("", carteNamed));
    ws.expectRun(tools.carte2Movacal(tools.formOneFile(), carteNamed), replaced("", carteNamed));
    ws.expectRun({"map", tools.formOneFile(), tools.mappingFile(), tools.formOneFile()},
                 replaced("", tools.formOneFile()));
    ws.expectRun({"map", tools.formOneFile(), tools.mappingFile(), tools.mappingFile()},
                 replaced("", tools.mappingFile()));
    ws.expectRun(tools.ff1({}, linkNamed), replaced("ff1", linkNamed));
    writeBytes(linkNamed, encodeLines(specLines(), Encoding::ShiftJis));
    ws.expectRun(tools.ff1(linkNamed), replaced("ff1", linkNamed));
    ws.expectRun({"ff1-merge", tools.ff1Folder(), ff1File}, replaced("", ff1File));
    // The merged file of an earlier run matches "G_FF1*.txt": it is an input now.
    const std::string merged = (ws.in("ff1") / "G_FF1_all.txt").string();
    ws.expectRun({"ff1-merge", tools.ff1Folder(), merged}, {0, "", {{merged, {}}}});
    ws.expectRun({"ff1-merge", tools.ff1Folder(), merged}, replaced("", merged));
}

// OUTDIR plays the program folder, which holds the program's own files: no output named
// after its input may replace one of them. The claims tools, the converters and the FF1 link
// name their outputs with fixed endings (_1.UKE, RECEIPTC.uke, _carte.csv, _ff1all.csv),
// which no program file has; the copies named after their input can take any name.
TEST(Files, AnOutputThatWouldReplaceAProgramFile) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const std::string form1 = encodeLines(formOneLines(), Encoding::ShiftJis);
    for (const char* file : {"user.ini", "siyo4.csv", "movacal.csv", "vask", "vask-cli", "vask.png"}) {
        writeBytes(ws.out(file), "the program's own file");
    }
    std::filesystem::create_directory(ws.out("manual"));
    writeBytes(ws.out("manual") / "index.html", "<html></html>");
    const std::string programFile = "はプログラムのファイルのため上書きできません";
    const struct {
        const char* input;
        const char* copy;  // the written copy's name, or nullptr when refused
    } cases[] = {
        {"user.ini", nullptr},        {"siyo4.csv", nullptr},
        {"movacal.csv", nullptr},     {"vask", nullptr},
        {"vask-cli", nullptr},        {"manual", nullptr},
        {"vask.desktop", nullptr},    {"vask.png", nullptr},
        {"vask-cli.exe", nullptr},    {"Qt6Core.dll", nullptr},
        {"user.ini.txt", "user.ini"}, {"USER.INI", "USER.INI"},  // POSIX tells letter case apart
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string file = ws.input(c.input, form1);
        for (const auto& [args, marker] : {std::pair{tools.blankNames(file), "ano"}, {tools.replace(file), "R"}}) {
            if (!c.copy) {
                ws.expectRun(args, refusal(shownError("", fileError(ws.out(c.input), programFile))));
                continue;
            }
            const std::string copy =
                std::string(c.copy) + (std::string(c.input).ends_with(".txt") ? marker + std::string(".txt") : "");
            ws.expectRun(args, {0, "", {{ws.out(copy), {}}}});
            std::filesystem::remove(ws.out(copy));
        }
        std::filesystem::remove(file);
    }
    // The program's own settings file given as the input itself gets a copy beside it.
    const std::string settings = ws.out("user.ini").string();
    ws.expectRun(tools.blankNames(settings), {0, nothingToCheck(settings), {{ws.out("userano.ini"), {}}}});
}

// The second converter's intermediate file output.tsv of an earlier run, chosen as the
// input: the standard run converts it and keeps it; the Movacal run would write it anew
// from itself and is refused.
TEST(Files, TheIntermediateFileChosenAsInput) {
    const Workspace ws;
    const Tools tools(ws);
    const std::string intermediate = ws.out("output.tsv").string();
    writeBytes(intermediate, encodeLines(formOneLines(), Encoding::ShiftJis));
    const std::string converted =
        referenceOutput([](const Tools& t) { return t.carte2Month(t.formOneFile()); }, kCarteName);
    ws.expectRun(tools.carte2Month(intermediate), {0, "", {{ws.out(kCarteName), converted}}});
    ws.expectRun(tools.carte2Movacal(intermediate), refusal(shownError("", fileError(intermediate, kInputReplaced))));
    ws.expectRun(tools.carte2Movacal(tools.formOneFile(), intermediate),
                 refusal(shownError("", fileError(intermediate, kInputReplaced))));
}

// A merge that fails (here on a file that is no text) keeps the merged file of an earlier
// run as it was.
TEST(Files, AFailedMergeKeepsTheOlderMergedFile) {
    const Workspace ws;
    const Tools tools(ws);
    tools.ff1Folder();
    writeBytes(tools.merged(), "older merged file");
    const auto binary = ws.in("ff1") / "G_FF1_202405.txt";
    writeBytes(binary, std::string("\0\1\2", 3));
    ws.expectRun(tools.ff1Merge(), refusal(shownError("", fileError(binary, kNotShiftJis) + "（1行目）")));
}

// A write that fails half way (the file-size limit makes it fail as a full disk does)
// leaves no partial file, no temporary file, and the older output.
TEST(Files, AWriteThatFailsHalfWay) {
    const Workspace ws;
    const Tools tools(ws);
    writeLargeInputs(tools);
    for (const auto& tool : allTools()) {
        for (const auto& name : tool.outputs) writeBytes(ws.out(name), "older " + name);
    }
    CliOptions limited;
    limited.fileSizeLimit = 64 << 10;
    for (const auto& tool : allTools()) {
        SCOPED_TRACE(tool.name);
        // The FF1 link first writes the merged file into the FF1 folder.
        const auto first =
            tool.name == std::string("ff1") ? ws.in("ff1") / "G_FF1_all.txt" : ws.out(tool.outputs.front());
        Expected failed = refusal(shownError(tool.name, fileError(first, kCannotWrite)));
        // The second converter deletes the intermediate file of an earlier run first.
        const bool secondConverter = std::string_view(tool.name).starts_with("carte2");
        if (secondConverter) failed.removed = {ws.out("output.tsv")};
        ws.expectRun(tool.args(tools), failed, limited);
        if (secondConverter) writeBytes(ws.out("output.tsv"), "older output.tsv");
    }
}

// Arguments typed wrong are usage errors (status 2, the usage text, nothing written); an
// empty path is a missing file; after "--" a name may start with "-".
TEST(Files, ArgumentsTypedWrong) {
    const Workspace ws;
    const Tools tools(ws);
    writeAllInputs(tools);
    const std::string claims = tools.claimsFile();
    const std::string out = ws.out().string();
    const std::vector<std::vector<std::string>> usage = {
        {},
        {"anonymise", claims},
        {"anonymize"},
        {"anonymize", claims, claims},
        {"anonymize", claims, "-o"},
        {"anonymize", claims, "-o", out, "-o", out},
        {"anonymize", claims, "--out", out},
        {"map", tools.formOneFile(), tools.mappingFile()},
        {"ff1", tools.ff1Folder(), "-o", out},
        {"strip-branch", claims, "--mode", "1"},
    };
    for (const auto& args : usage) {
        const CliResult result = ws.expectRun(args, {2, std::nullopt, {}});
        EXPECT_NE(result.err.find("usage: vask-cli SUBCOMMAND"), std::string::npos) << result.err;
    }
    ws.expectRun({"anonymize", "", "-o", out}, refusal("ファイルがありません。"));
    ws.input("-o.UKE", claimsBytes(claimsLines()));
    CliOptions inInputFolder;
    inInputFolder.workingFolder = ws.in();
    ws.expectRun({"anonymize", "-o", out, "--", "-o.UKE"}, {0, "", {{ws.out(kAnonymisedName), {}}}}, inInputFolder);
}

// The printed paths are the result a caller reads: when they cannot be written the run
// fails, although its file is written.
TEST(Files, AStandardOutputThatCannotBeWritten) {
    const Workspace ws;
    const Tools tools(ws);
    CliOptions full;
    full.standardOutput = "/dev/full";
    ws.expectRun(tools.anonymize(tools.claimsFile()),
                 {1, "標準出力に書き込めません.\n", {{ws.out(kAnonymisedName), {}}}}, full);
}

}  // namespace
}  // namespace vask::test
