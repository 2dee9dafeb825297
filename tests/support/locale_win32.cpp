#include <clocale>
#include <cstring>

#include "test_support.h"

namespace vask::test {

// The C runtime of Windows keeps the C locale unless a program sets another.
bool useCommaDecimalLocale() {
    return std::setlocale(LC_ALL, "German_Germany.1252") != nullptr &&
           std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

void useCLocale() { std::setlocale(LC_ALL, "C"); }

}  // namespace vask::test
