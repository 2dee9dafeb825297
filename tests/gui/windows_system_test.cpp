// The application context as the program builds it on Windows: the folders Windows
// reports, and documents (the manual) opened through the shell with their Japanese,
// spaced names whole.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "gui/qt_text.h"
#include "gui_test_support.h"

namespace vask::test {
namespace {

std::filesystem::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &folder))) return {};
    std::filesystem::path path(folder);
    CoTaskMemFree(folder);
    return path;
}

std::filesystem::path thisProgram() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return name;
}

TEST(WindowsSystem, FoldersAreTheOnesWindowsReports) {
    ScriptedDialogs dialogs;
    const AppContext context = systemContext(dialogs);
    const auto downloads = knownFolder(FOLDERID_Downloads);
    ASSERT_FALSE(downloads.empty());
    EXPECT_EQ(context.downloadsFolder().lexically_normal(), downloads.lexically_normal());
    EXPECT_EQ(context.programFolder, thisProgram().parent_path());
}

// The shell opens a document with what Windows registers for its kind; a command file it
// runs, and this one leaves a mark beside itself: the shell was given the whole name.
TEST(WindowsSystem, TheShellOpensADocumentWithAJapaneseSpacedName) {
    TempDir dir;
    const auto document = dir / "取扱 説明書.cmd";
    writeBytes(document, "@echo opened> \"%~dp0opened.txt\"\r\n");
    ScriptedDialogs dialogs;
    systemContext(dialogs).openDocument(qsPath(document));

    // The command runs in a process of its own: its mark is awaited whole.
    const auto mark = [&] {
        std::error_code error;
        return std::filesystem::file_size(dir / "opened.txt", error) == 8 ? readBytes(dir / "opened.txt") : "";
    };
    QElapsedTimer waited;
    waited.start();
    while (mark().empty() && waited.elapsed() < 20000) QThread::msleep(50);
    EXPECT_EQ(mark(), "opened\r\n");
}

}  // namespace
}  // namespace vask::test
