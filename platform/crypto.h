// Keyed hash, digest and random bytes, from the system's maintained libraries (OpenSSL's
// libcrypto on Linux, CNG on Windows; crypto_openssl.cpp / crypto_win32.cpp), never made
// here. Bytes in and out are byte strings, as file contents are.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vask {

inline constexpr size_t kSha256Size = 32;

// HMAC-SHA-256 of many messages under one key, which is prepared once: for a run that
// makes a pseudonym of every patient of a file.
class HmacSha256 {
public:
    // Raises Error when the library fails.
    explicit HmacSha256(std::string_view key);
    ~HmacSha256();
    HmacSha256(HmacSha256&&) noexcept;
    HmacSha256& operator=(HmacSha256&&) noexcept;
    // The 32 bytes of `message`'s HMAC, as hmacSha256 gives them. Raises Error when the
    // library fails.
    std::string mac(std::string_view message);

private:
    struct State;  // the library's prepared state (crypto_openssl.cpp / crypto_win32.cpp)
    std::unique_ptr<State> state_;
};
// HMAC-SHA-256 of one `message` under `key` (any length): 32 bytes. Raises Error when the
// library fails.
inline std::string hmacSha256(std::string_view key, std::string_view message) { return HmacSha256(key).mac(message); }
// SHA-256 of `bytes`: 32 bytes. Raises Error when the library fails.
std::string sha256(std::string_view bytes);
// `count` bytes from the operating system's cryptographic random generator. Raises Error
// when it gives none.
std::string randomBytes(size_t count);

}  // namespace vask
