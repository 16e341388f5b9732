#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// Stops the run with a message when a property of the code under test fails,
// so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void FuzzCheckFailed(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}
#define FUZZ_CHECK(c) ((c) ? void() : FuzzCheckFailed(__FILE__, __LINE__, #c))

/// The fuzz input as a read-only stream, closed when it goes.
inline auto OpenInput(const std::uint8_t* data, std::size_t size) {
  static std::uint8_t none;  // an empty input may come without a buffer
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(size == 0 ? &none : data), size, "rb");
  FUZZ_CHECK(file != nullptr);
  const auto close = [](std::FILE* opened) { std::fclose(opened); };
  return std::unique_ptr<std::FILE, decltype(close)>(file, close);
}
