// The file edge with names beyond ASCII: UTF-16 texts become paths and back, and files so
// named are written, found, read and deleted. On Windows the names reach the system as
// UTF-16; on Linux as UTF-8.
#include <gtest/gtest.h>

#include <algorithm>

#include "../support/test_support.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace vask {
namespace {

using test::listFolder;
using test::TempDir;

TEST(Paths, FilesWithJapaneseNamesAreWrittenFoundAndRemoved) {
    TempDir dir;
    const std::u16string names[] = {u"診療データ.csv", u"ｶﾙﾃ 番号.txt", u"\U00020BB7野家.UKE", u"①髙橋～.tsv"};
    std::vector<std::string> listed;
    for (const auto& name : names) {
        const std::filesystem::path file = dir.path() / toPath(name);
        EXPECT_EQ(fromPath(file.filename()), name);
        writeFileAtomically(file, utf16ToUtf8(name));
        EXPECT_TRUE(fileExists(file));
        EXPECT_TRUE(sameFile(file, toPath(fromPath(dir.path()) + u"/./" + name)));
        EXPECT_EQ(readAllBytes(file), utf16ToUtf8(name));
        listed.push_back(utf16ToUtf8(name));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listFolder(dir.path()), listed);
    for (const auto& name : names) {
        removeFileIfExists(dir.path() / toPath(name));
        EXPECT_FALSE(fileExists(dir.path() / toPath(name)));
    }
}

TEST(Paths, AJapaneseFolderNameIsKeptWhole) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / toPath(u"出力 フォルダ");
    std::filesystem::create_directory(folder);
    EXPECT_TRUE(folderExists(folder));
    EXPECT_FALSE(fileExists(folder));
    EXPECT_EQ(
        fromPath(folder),
        fromPath(dir.path()) + static_cast<char16_t>(std::filesystem::path::preferred_separator) + u"出力 フォルダ");
}

TEST(Paths, TheExecutableFolderHoldsTheRunningProgram) {
    // Every test program is built into one folder with vask-cli.
    EXPECT_TRUE(sameFile(executableFolder(), test::cliProgram().parent_path()));
}

}  // namespace
}  // namespace vask
