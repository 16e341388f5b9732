#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

/// Where a ByteStream's bytes come from.
struct ByteSource {
  virtual ~ByteSource() = default;
  /// Reads up to `size` bytes; how many came, 0 at the end or on a failure.
  virtual std::size_t Read(unsigned char* buffer, std::size_t size) = 0;
  /// Moves forward by `count` bytes; false when the source refuses.
  virtual bool Skip(std::uint64_t count) = 0;
};

/// An open C stream as a ByteSource; the stream stays the caller's.
struct StreamSource : ByteSource {
  explicit StreamSource(std::FILE* file) : File(file) {}
  std::size_t Read(unsigned char* buffer, std::size_t size) override {
    return std::fread(buffer, 1, size, File);
  }
  bool Skip(std::uint64_t count) override {
    return count <= static_cast<std::uint64_t>(LONG_MAX) &&
           std::fseek(File, static_cast<long>(count), SEEK_CUR) == 0;
  }
  std::FILE* File;
};

/// A forward-only walk over a ByteSource that counts the bytes it has
/// passed, so that a reader can stay inside a segment it knows the length of.
/// It reads through a small buffer of its own, so that many short reads cost
/// few system calls; a skip beyond the buffer is one seek. The source stays
/// the caller's, and its position is past what the buffer holds.
struct ByteStream {
  explicit ByteStream(ByteSource& source) : Source(source) {}

  ByteSource& Source;
  std::uint64_t Position = 0;  ///< Bytes passed, read or skipped.

  /// Reads exactly `count` bytes into `out`; false when fewer came.
  bool Read(unsigned char* out, std::size_t count) {
    while (count > 0) {
      if (next_ == end_ && !Refill()) {
        return false;
      }
      const std::size_t take = std::min(count, end_ - next_);
      std::memcpy(out, buffer_ + next_, take);
      next_ += take;
      out += take;
      count -= take;
      Position += take;
    }
    return true;
  }

  /// Moves forward by `count` bytes, within the buffer or with one seek;
  /// false when the stream refuses. A seek past the end succeeds on a file;
  /// the next Read fails.
  bool Skip(std::uint64_t count) {
    const std::size_t buffered = end_ - next_;
    if (count <= buffered) {
      next_ += static_cast<std::size_t>(count);
      Position += count;
      return true;
    }
    if (!Source.Skip(count - buffered)) {
      return false;
    }
    next_ = end_ = 0;
    Position += count;
    return true;
  }

 private:
  bool Refill() {
    next_ = 0;
    end_ = Source.Read(buffer_, sizeof buffer_);
    return end_ > 0;
  }

  // A few KiB: a header's segments mostly lie within the first block.
  unsigned char buffer_[4096];
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

/// The 16-bit value of two bytes, most significant first.
inline int BigEndian16(const unsigned char* bytes) {
  return (bytes[0] << 8) | bytes[1];
}

/// The 16-bit value of two bytes, least significant first.
inline int LittleEndian16(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8);
}
