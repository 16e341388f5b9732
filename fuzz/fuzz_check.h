#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run with a message when a property of the code under test fails,
// so that libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

#include <cstddef>
#include <cstdint>
#include <memory>

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

/// The fuzz input as a read-only stream, closed when it goes; null when empty.
inline std::unique_ptr<std::FILE, FileCloser> OpenInput(const std::uint8_t* data,
                                                        std::size_t size) {
  if (size == 0) {
    return nullptr;
  }
  return std::unique_ptr<std::FILE, FileCloser>(
      fmemopen(const_cast<std::uint8_t*>(data), size, "rb"));
}
