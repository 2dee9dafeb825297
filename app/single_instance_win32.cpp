#include <windows.h>

#include "app/single_instance.h"

namespace vask {

// The mutex handle; Windows closes it, and so frees the name, when the process ends in
// any way.
struct SingleInstance::Lock {
    HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance() : lock_(std::make_unique<Lock>()) {}

SingleInstance::~SingleInstance() {
    if (lock_->mutex) CloseHandle(lock_->mutex);
}

// Creating a mutex whose name another process already holds opens that one and reports
// ERROR_ALREADY_EXISTS. Without a handle (the name taken by another kind of object, or
// access denied) the program cannot tell whether another copy runs and ends too.
bool SingleInstance::acquire() {
    lock_->mutex = CreateMutexW(nullptr, FALSE, L"VaskMutex");
    return lock_->mutex && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace vask
