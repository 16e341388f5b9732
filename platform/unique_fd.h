#pragma once

// POSIX only: a file descriptor owned, as UniqueHandle owns a Windows handle.

#include <unistd.h>

#include <cstdio>
#include <utility>

/// Owns one file descriptor and closes it when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset(other.Release());
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  /// Closes what it holds and holds `fd` instead.
  void Reset(int fd = -1) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

/// A C stream over `fd` in binary `mode` ("rb", "w+b"), which then owns the
/// descriptor; null, with the descriptor closed, when none can be made.
std::FILE* StreamOf(UniqueFd fd, const char* mode);
