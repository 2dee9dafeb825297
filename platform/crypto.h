// Keyed hash, digest and random bytes, from the system's maintained libraries (OpenSSL's
// libcrypto on Linux, CNG on Windows; crypto_openssl.cpp / crypto_win32.cpp), never made
// here. Bytes in and out are byte strings, as file contents are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vask {

inline constexpr size_t kSha256Size = 32;

// HMAC-SHA-256 of `message` under `key` (any length): 32 bytes. Raises Error when the
// library fails.
std::string hmacSha256(std::string_view key, std::string_view message);
// SHA-256 of `bytes`: 32 bytes. Raises Error when the library fails.
std::string sha256(std::string_view bytes);
// `count` bytes from the operating system's cryptographic random generator. Raises Error
// when it gives none.
std::string randomBytes(size_t count);

}  // namespace vask
