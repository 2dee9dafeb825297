#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>

#include "platform/utf.h"
#include "process.h"

namespace vask::test {
namespace {

// An argument quoted as CommandLineToArgvW and the C runtime read it back: backslashes
// count double only before a quote.
std::wstring quotedArgument(std::u16string_view arg) {
    if (!arg.empty() && arg.find_first_of(u" \t\"") == std::u16string_view::npos) return {arg.begin(), arg.end()};
    std::wstring text = L"\"";
    size_t backslashes = 0;
    for (const char16_t c : arg) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == u'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        text += static_cast<wchar_t>(c);
        backslashes = 0;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

// A handle that the child inherits as one of its standard handles.
class ChildHandle {
public:
    ChildHandle(const wchar_t* name, DWORD access, DWORD disposition) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        handle_ = CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~ChildHandle() {
        if (valid()) CloseHandle(handle_);
    }
    ChildHandle(const ChildHandle&) = delete;
    ChildHandle& operator=(const ChildHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

// _wgetenv: getenv gives the ANSI code page, which cannot hold every name.
std::filesystem::path pathFromEnvironment(const char* name) {
    const std::string ascii(name);
    const wchar_t* value = _wgetenv(std::wstring(ascii.begin(), ascii.end()).c_str());
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& workingFolder, const std::filesystem::path& out,
               const std::filesystem::path& err) {
    std::wstring commandLine = L"\"" + program.native() + L"\"";
    for (const auto& a : args) commandLine += L" " + quotedArgument(utf8ToUtf16(a));
    const ChildHandle input(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const ChildHandle output(out.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
    const ChildHandle error(err.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
    if (!input.valid() || !output.valid() || !error.valid()) return 127;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output.get();
    startup.hStdError = error.get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process)) {
        return 127;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    // A crash ends the child with an exception code such as 0xC0000005.
    return status >= 0xC0000000 ? -1 : static_cast<int>(status);
}

}  // namespace vask::test
