// OpenSSL's libcrypto (3.x) side of platform/crypto.h.
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include <algorithm>
#include <climits>

#include "platform/crypto.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace vask {
namespace {

// The library's reason for its latest failure, taken off its error queue, which is left
// empty for the next call.
[[noreturn]] void fail(std::u16string_view operation) {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    std::u16string reason;
    if (code != 0) {
        char text[256];
        ERR_error_string_n(code, text, sizeof text);
        reason = utf8ToUtf16(text);
    }
    throw Error(msg::cryptoFailed(operation, reason));
}

// A pointer for bytes that may be empty: the library takes none as null.
const unsigned char* bytesOf(std::string_view bytes) {
    static const unsigned char none = 0;
    return bytes.empty() ? &none : reinterpret_cast<const unsigned char*>(bytes.data());
}

}  // namespace

std::string sha256(std::string_view bytes) {
    std::string digest(EVP_MAX_MD_SIZE, '\0');
    unsigned int size = 0;
    if (EVP_Digest(bytesOf(bytes), bytes.size(), reinterpret_cast<unsigned char*>(digest.data()), &size, EVP_sha256(),
                   nullptr) != 1 ||
        size != kSha256Size)
        fail(u"SHA-256");
    digest.resize(size);
    return digest;
}

// The MAC algorithm fetched once and a context that holds the key: each message starts it
// again with the key it has.
struct HmacSha256::State {
    EVP_MAC* mac = nullptr;
    EVP_MAC_CTX* context = nullptr;
    ~State() {
        EVP_MAC_CTX_free(context);
        EVP_MAC_free(mac);
    }
};

HmacSha256::HmacSha256(std::string_view key) : state_(std::make_unique<State>()) {
    state_->mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    if (state_->mac == nullptr) fail(u"HMAC-SHA-256");
    state_->context = EVP_MAC_CTX_new(state_->mac);
    char digest[] = "SHA256";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string("digest", digest, 0), OSSL_PARAM_construct_end()};
    if (state_->context == nullptr || EVP_MAC_init(state_->context, bytesOf(key), key.size(), params) != 1)
        fail(u"HMAC-SHA-256");
}

HmacSha256::~HmacSha256() = default;
HmacSha256::HmacSha256(HmacSha256&&) noexcept = default;
HmacSha256& HmacSha256::operator=(HmacSha256&&) noexcept = default;

std::string HmacSha256::mac(std::string_view message) {
    std::string out(kSha256Size, '\0');
    size_t size = 0;
    // No key given: the context starts again with the one it holds.
    if (EVP_MAC_init(state_->context, nullptr, 0, nullptr) != 1 ||
        EVP_MAC_update(state_->context, bytesOf(message), message.size()) != 1 ||
        EVP_MAC_final(state_->context, reinterpret_cast<unsigned char*>(out.data()), &size, out.size()) != 1 ||
        size != kSha256Size)
        fail(u"HMAC-SHA-256");
    return out;
}

// RAND_bytes draws from the library's generator, which the operating system seeds.
std::string randomBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t done = 0; done < count;) {
        const int chunk = static_cast<int>(std::min<size_t>(count - done, INT_MAX));
        if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data() + done), chunk) != 1) fail(u"乱数");
        done += static_cast<size_t>(chunk);
    }
    return bytes;
}

}  // namespace vask
