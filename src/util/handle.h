// RAII owners for Windows handles.
#pragma once

#include <windows.h>

#include <utility>

// Owns a kernel handle (file, process, thread, ...); INVALID_HANDLE_VALUE and null
// both mean "none".
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  void reset(HANDLE handle = nullptr) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Owns an open registry key.
class UniqueKey {
 public:
  UniqueKey() = default;
  explicit UniqueKey(HKEY key) : key_(key) {}
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;
  UniqueKey(UniqueKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  UniqueKey& operator=(UniqueKey&& other) noexcept {
    if (this != &other) reset(std::exchange(other.key_, nullptr));
    return *this;
  }
  ~UniqueKey() { reset(); }

  HKEY get() const { return key_; }
  HKEY* out() {
    reset();
    return &key_;
  }
  explicit operator bool() const { return key_ != nullptr; }
  void reset(HKEY key = nullptr) {
    if (key_) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

// Owns a directory search started with FindFirstFile.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE handle) : handle_(handle) {}
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  ~UniqueFind() {
    if (valid()) FindClose(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};
