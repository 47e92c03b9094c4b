#pragma once
// A kernel handle (file, device, event, thread), closed when the owner ends.
// Both null and INVALID_HANDLE_VALUE mean "no handle", as the functions that
// make handles use one or the other.
#include <windows.h>

#include <utility>

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Gives the handle up: the caller closes it.
  HANDLE Release() { return std::exchange(handle_, nullptr); }
  // False when the system reports a failure of the closing.
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(std::exchange(handle_, nullptr)) != 0;
    return closed;
  }

 private:
  HANDLE handle_ = nullptr;
};
