#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>

/// A forward-only walk over an open binary stream that counts the bytes it has
/// passed, so that a reader can stay inside a segment it knows the length of.
/// The stream stays owned by the caller.
struct ByteStream {
  std::FILE* File = nullptr;
  std::uint64_t Position = 0;

  /// Reads exactly `count` bytes into `out`; false when fewer came.
  bool Read(unsigned char* out, std::size_t count) {
    const std::size_t got = std::fread(out, 1, count, File);
    Position += got;
    return got == count;
  }

  /// Moves forward by `count` bytes with one seek; false when the stream
  /// refuses. A seek past the end succeeds on a file; the next Read fails.
  bool Skip(std::uint64_t count) {
    if (count == 0) {
      return true;
    }
    if (count > static_cast<std::uint64_t>(LONG_MAX) ||
        std::fseek(File, static_cast<long>(count), SEEK_CUR) != 0) {
      return false;
    }
    Position += count;
    return true;
  }
};

/// The 16-bit value of two bytes, most significant first.
inline int BigEndian16(const unsigned char* bytes) {
  return (bytes[0] << 8) | bytes[1];
}

/// The 16-bit value of two bytes, least significant first.
inline int LittleEndian16(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8);
}
