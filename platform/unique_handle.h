#pragma once

// Windows only. Handles are held as void* so that a header naming one needs no
// <windows.h>.

#include <cstdio>
#include <utility>

/// Owns one Windows HANDLE and closes it when it goes. Both null and
/// INVALID_HANDLE_VALUE mean none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(void* handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  void* get() const { return handle_; }
  bool valid() const;
  explicit operator bool() const { return valid(); }
  void* Release() { return std::exchange(handle_, nullptr); }
  void Reset(void* handle = nullptr);

 private:
  void* handle_ = nullptr;
};

/// A C stream over the file `handle` in binary `mode` ("rb", "w+b"), which then
/// owns the handle; null, with the handle closed, when none can be made.
std::FILE* StreamOf(UniqueHandle handle, const char* mode);
