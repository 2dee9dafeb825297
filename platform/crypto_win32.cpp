// Windows CNG (bcrypt) side of platform/crypto.h.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: bcrypt.h takes its types from it.
#include <bcrypt.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/crypto.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

[[noreturn]] void fail(std::u16string_view operation, NTSTATUS status) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    throw Error(msg::cryptoFailed(operation, u"NTSTATUS " + utf8ToUtf16(code)));
}

// An algorithm provider and one hash object on it, closed however the computation ends.
class Hash {
public:
    // With `reusable`, each digest leaves the hash as it was made, with its key, for the next.
    Hash(ULONG flags, std::string_view key, std::u16string_view operation, bool reusable = false)
        : operation_(operation) {
        check(BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, flags));
        // No hash object buffer: CNG allocates it.
        check(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, bytes(key), static_cast<ULONG>(key.size()),
                               reusable ? BCRYPT_HASH_REUSABLE_FLAG : 0));
    }
    ~Hash() {
        if (hash_) BCryptDestroyHash(hash_);
        if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    std::string digest(std::string_view data) {
        while (!data.empty()) {
            const ULONG chunk = static_cast<ULONG>(std::min<size_t>(data.size(), ULONG_MAX));
            check(BCryptHashData(hash_, bytes(data), chunk, 0));
            data.remove_prefix(chunk);
        }
        std::string out(kSha256Size, '\0');
        check(BCryptFinishHash(hash_, reinterpret_cast<PUCHAR>(out.data()), static_cast<ULONG>(out.size()), 0));
        return out;
    }

private:
    void check(NTSTATUS status) const {
        if (!BCRYPT_SUCCESS(status)) fail(operation_, status);
    }
    // CNG only reads these bytes, though its parameters are not const.
    static PUCHAR bytes(std::string_view data) {
        return data.empty() ? nullptr : reinterpret_cast<PUCHAR>(const_cast<char*>(data.data()));
    }

    std::u16string_view operation_;
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

}  // namespace

struct HmacSha256::State {
    explicit State(std::string_view key) : hash(BCRYPT_ALG_HANDLE_HMAC_FLAG, key, u"HMAC-SHA-256", true) {}
    Hash hash;
};

HmacSha256::HmacSha256(std::string_view key) {
    if (key.size() > ULONG_MAX) throw Error(msg::cryptoFailed(u"HMAC-SHA-256", u"鍵が長すぎます"));
    state_ = std::make_unique<State>(key);
}

HmacSha256::~HmacSha256() = default;
HmacSha256::HmacSha256(HmacSha256&&) noexcept = default;
HmacSha256& HmacSha256::operator=(HmacSha256&&) noexcept = default;

std::string HmacSha256::mac(std::string_view message) { return state_->hash.digest(message); }

std::string sha256(std::string_view bytes) { return Hash(0, {}, u"SHA-256").digest(bytes); }

// The system's preferred generator, with no algorithm provider of our own to open.
std::string randomBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t done = 0; done < count;) {
        const ULONG chunk = static_cast<ULONG>(std::min<size_t>(count - done, ULONG_MAX));
        const NTSTATUS status = BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data() + done), chunk,
                                                BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (!BCRYPT_SUCCESS(status)) fail(u"乱数", status);
        done += chunk;
    }
    return bytes;
}

}  // namespace vask
