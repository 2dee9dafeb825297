#include "platform/atomic_file.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/errors.h"
#include "platform/paths.h"

namespace vask {
namespace {
constexpr size_t kBufferSize = 1 << 20;
}

// Writes one buffer at a time to the file on a thread of its own, in the order handed.
class AtomicFile::WriteBehind {
public:
    explicit WriteBehind(FileHandle handle) : handle_(handle), thread_([this] { run(); }) {}
    ~WriteBehind() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // Waits for the buffer handed before, then takes `buffer` to write and gives back an
    // empty one in its place. False when a write has failed.
    bool hand(std::string& buffer) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        if (!written_) return false;
        writing_.swap(buffer);
        buffer.clear();
        pending_ = true;
        changed_.notify_all();
        return true;
    }
    // Waits for the buffer handed last; false when a write has failed.
    bool finish() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        return written_;
    }

private:
    void run() {
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || pending_; });
                if (!pending_) return;
            }
            const bool written = detail::writeAll(handle_, writing_.data(), writing_.size());
            {
                const std::lock_guard lock(mutex_);
                written_ = written_ && written;
                pending_ = false;
            }
            changed_.notify_all();
        }
    }

    FileHandle handle_;
    std::string writing_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool pending_ = false;  // writing_ is handed and not yet written
    bool written_ = true;   // every write so far succeeded
    bool stop_ = false;
    std::thread thread_;
};

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
        if (!behind_) behind_ = std::make_unique<WriteBehind>(handle_);
        if (!behind_->hand(buffer_)) throw Error(msg::cannotWrite(target_));
        if (bytes.size() >= kBufferSize) {
            if (!behind_->finish() || !detail::writeAll(handle_, bytes.data(), bytes.size())) {
                throw Error(msg::cannotWrite(target_));
            }
            return;
        }
    }
    buffer_.append(bytes);
}

// Writes what is buffered and waits for every write handed before.
void AtomicFile::flushBuffer() {
    if (behind_ && !behind_->finish()) throw Error(msg::cannotWrite(target_));
    if (buffer_.empty()) return;
    if (!detail::writeAll(handle_, buffer_.data(), buffer_.size())) throw Error(msg::cannotWrite(target_));
    buffer_.clear();
}

void AtomicFile::commit(const std::filesystem::path& target) {
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
