#include "platform/atomic_file.h"

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {
namespace {
constexpr size_t kBufferSize = 1 << 20;
}

AtomicFile::AtomicFile(std::filesystem::path target, FileAccess access) : target_(std::move(target)) {
    std::filesystem::path folder = target_.parent_path();
    if (folder.empty()) folder = ".";
    handle_ = detail::createTempFile(folder, temp_, access);
    if (handle_ == kNoFile) throw Error(msg::cannotCreate(target_));
    // The buffer grows with what is written, up to kBufferSize: a small file takes no
    // megabyte of memory.
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize) {
        // The full buffer is written on a thread of its own while the next is filled.
        if (!behind_) {
            behind_ = std::make_unique<HandOff<std::string>>([this](std::string& full) {
                if (!detail::writeAll(handle_, full.data(), full.size())) throw Error(msg::cannotWrite(target_));
            });
        }
        behind_->hand(buffer_);
        buffer_.clear();
        if (bytes.size() >= kBufferSize) {
            behind_->finish();
            if (!detail::writeAll(handle_, bytes.data(), bytes.size())) throw Error(msg::cannotWrite(target_));
            return;
        }
    }
    buffer_.append(bytes);
}

// Writes what is buffered and waits for every write handed before.
void AtomicFile::flushBuffer() {
    if (behind_) behind_->finish();
    if (buffer_.empty()) return;
    if (!detail::writeAll(handle_, buffer_.data(), buffer_.size())) throw Error(msg::cannotWrite(target_));
    buffer_.clear();
}

void AtomicFile::commit(const std::filesystem::path& target) {
    if (behind_) behind_->finish();  // the writing thread names target_ in its errors
    target_ = target;
    commit();
}

void AtomicFile::commit() {
    flushBuffer();
    const FileHandle handle = handle_;
    handle_ = kNoFile;
    if (!detail::flushAndClose(handle)) throw Error(msg::cannotWrite(target_));
    if (!retryWhileBusy([this] { return detail::replaceFile(temp_, target_); }))
        throw Error(msg::cannotCreate(target_));
    done_ = true;
}

void AtomicFile::discard() noexcept {
    behind_.reset();  // a write under way ends before the file is closed
    if (done_) return;
    done_ = true;
    if (handle_ != kNoFile) detail::closeQuietly(handle_);
    handle_ = kNoFile;
    deleteFile(temp_);
}

bool canCreateFilesIn(const std::filesystem::path& folder) {
    std::filesystem::path temp;
    const FileHandle handle = detail::createTempFile(folder, temp);
    if (handle == kNoFile) return false;
    detail::closeQuietly(handle);
    deleteFile(temp);
    return true;
}

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes, FileAccess access) {
    AtomicFile file(target, access);
    file.write(bytes);
    file.commit();
}

void copyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    InputFile in(source);
    AtomicFile out(target);
    std::string buffer(1 << 18, '\0');
    for (size_t n; (n = in.read(buffer.data(), buffer.size())) > 0;) out.write(std::string_view(buffer.data(), n));
    out.commit();
}

}  // namespace vask
