#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_error.h"
#ifdef _WIN32
#include "platform/unique_handle.h"
#else
#include "platform/unique_fd.h"
#endif

/// True when anything exists at `path` (a file, a folder, ...).
bool PathExists(const std::string& path);

/// Size in bytes of what `path` names, or -1 when it cannot be learned.
std::int64_t PathSize(const std::string& path);

/// False when `path` leads, links followed, to something that is no regular
/// file: a folder, FIFO, socket or device, which must not be opened as a file
/// (a FIFO would wait for a writer). True for a regular file, and where
/// nothing can be found.
bool IsRegularFileOrMissing(const std::string& path);

/// Removes the file (or link) `path`. True when it is gone.
bool RemoveFile(const std::string& path);

/// Makes the folder `path` (its parent must exist); an existing folder is
/// fine. None on success.
FileError MakeFolder(const std::string& path);

/// Removes the folder `path` when it is empty. True when it is gone.
bool RemoveEmptyFolder(const std::string& path);

/// A regular file's size and time of its last change, enough to tell a
/// changed picture from an unchanged one; the same units on every system.
struct FileStamp {
  std::int64_t Size = 0;
  std::int64_t ModifiedNanoseconds = 0;  ///< since 1970-01-01 UTC
  bool operator==(const FileStamp&) const = default;
};

/// The stamp of the regular file `path` (links followed); none for anything else.
std::optional<FileStamp> StampOf(const std::string& path);

/// Closes a stream when it goes.
struct StreamCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenStream = std::unique_ptr<std::FILE, StreamCloser>;

/// Opens `path` for binary reading ("rb") only when it is a regular file,
/// links followed. A FIFO, socket, device or folder gives null at once,
/// without waiting for a writer.
OpenStream OpenRegularFile(const std::string& path);

/// A regular file open for reading straight from the system, with no stream
/// and no buffer in between: for a picture's header, where a few short reads
/// and seeks are all there is.
class HeaderFile {
 public:
  /// Opens `path` only when it is a regular file, links followed; a FIFO,
  /// socket, device or folder leaves it closed at once. Where the caller's
  /// listing saw a regular file there (`listedRegular`), that is not looked
  /// at again; whatever took its place since is still read without waiting.
  explicit HeaderFile(const std::string& path, bool listedRegular = false);
  HeaderFile(const HeaderFile&) = delete;
  HeaderFile& operator=(const HeaderFile&) = delete;

  explicit operator bool() const;
  /// Reads up to `size` bytes; how many came, 0 at the end or on a failure.
  std::size_t Read(unsigned char* buffer, std::size_t size);
  /// Moves forward by `count` bytes; false when the system refuses.
  bool Skip(std::uint64_t count);

 private:
#ifdef _WIN32
  UniqueHandle handle_;
#else
  UniqueFd fd_;
#endif
};

/// Which file or folder a path leads to: the same for every path to it.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

/// The identity of what `path` leads to, links followed; none when unknown.
std::optional<FileIdentity> IdentityOf(const std::string& path);

/// The identities of the folder `path` and of every folder above it, up to
/// the root, as the folders really are (through "..", not by the path's text).
std::vector<FileIdentity> FolderAndItsParents(const std::string& path);

/// Where `path` really is: an absolute path with every link (and on Windows
/// junction) followed and "." and ".." resolved, in the system's own form;
/// none when it cannot be found. Two paths to one file or folder give the same.
std::optional<std::string> RealPath(const std::string& path);

/// `path` made absolute against the current folder, with "." and ".." taken
/// out by its text, in the system's own form (backslashes on Windows).
std::string AbsolutePath(const std::string& path);

/// Why `path` cannot be made into an album: "no such folder", "not a folder"
/// or the system's own words; none when it is a folder (links followed).
std::optional<std::string> FolderProblem(const std::string& path);
