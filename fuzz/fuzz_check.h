#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// Stops the run with a message when a property of the code under test fails,
// so that libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

/// The fuzz input as a read-only stream, closed when it goes; null when empty.
inline auto OpenInput(const std::uint8_t* data, std::size_t size) {
  const auto close = [](std::FILE* file) { std::fclose(file); };
  return std::unique_ptr<std::FILE, decltype(close)>(
      size == 0 ? nullptr : fmemopen(const_cast<std::uint8_t*>(data), size, "rb"), close);
}
