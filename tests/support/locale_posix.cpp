#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "test_support.h"

namespace vask::test {

// A desktop program on Unix takes its locale from the environment (QCoreApplication calls
// setlocale(LC_ALL, "")). de_DE.UTF-8 is made with localedef into a folder of the test's
// own, which LOCPATH names, so that no system locale needs to be installed.
bool useCommaDecimalLocale() {
    static const TempDir folder;
    static const bool made = [] {
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        std::system(command.c_str());  // exits with 1 after mere warnings; the locale decides
        return std::filesystem::exists(folder / "de_DE.UTF-8" / "LC_NUMERIC");
    }();
    if (!made) return false;
    setenv("LOCPATH", folder.path().c_str(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    return std::setlocale(LC_ALL, "") != nullptr && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

void useCLocale() {
    unsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
}

}  // namespace vask::test
