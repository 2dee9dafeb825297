// An open file of the operating system, held the one way the platform files share: a POSIX
// file descriptor or a Win32 HANDLE as an integer, kNoFile when none is open (-1, which is
// INVALID_HANDLE_VALUE on Windows as well).
#pragma once

#include <cstdint>

namespace vask {

using FileHandle = intptr_t;
inline constexpr FileHandle kNoFile = -1;

}  // namespace vask
