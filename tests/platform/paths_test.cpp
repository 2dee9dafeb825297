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

// Beyond 247 characters a full Windows path takes the form that has no length limit; what
// is no full path, or is already in a form the system takes as it is, stays as it is.
TEST(Paths, ALongFullWindowsPathTakesItsExtendedLengthForm) {
    std::u16string deep;  // 287 characters of folders with Japanese names
    for (int i = 0; i < 7; ++i) deep += u"\\" + std::u16string(40, u'\u3042');
    std::u16string longest = u"C:";  // 247 characters, the longest plain form
    while (longest.size() < 247) longest += (longest.size() % 10 == 2) ? u'\\' : u'x';
    const struct {
        std::u16string path;
        std::u16string expected;
    } cases[] = {
        {u"C:\\短い\\file.txt", u"C:\\短い\\file.txt"},
        {longest, longest},
        {longest + u"y", u"\\\\?\\" + longest + u"y"},
        {u"d:" + deep, u"\\\\?\\d:" + deep},
        {u"\\\\server\\share" + deep, u"\\\\?\\UNC\\server\\share" + deep},
        {u"\\\\?\\C:" + deep, u"\\\\?\\C:" + deep},
        {u"\\\\.\\pipe" + deep, u"\\\\.\\pipe" + deep},
        {u"folder" + deep, u"folder" + deep},
        {u"C:folder" + deep, u"C:folder" + deep},
        {u"1:" + deep, u"1:" + deep},
    };
    for (const auto& c : cases) EXPECT_EQ(utf16ToUtf8(extendedLengthForm(c.path)), utf16ToUtf8(c.expected));
}

TEST(Paths, TheExecutableFolderHoldsTheRunningProgram) {
    // Every test program is built into one folder with vask-cli.
    EXPECT_TRUE(sameFile(executableFolder(), test::cliProgram().parent_path()));
}

}  // namespace
}  // namespace vask
