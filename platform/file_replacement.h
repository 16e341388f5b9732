#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/file_error.h"

/// A regular file written at `path` that replaces what stands there whole or
/// not at all: the new content goes to a file beside it that only Commit puts
/// in place, so a hard link elsewhere keeps the old content and an early end
/// leaves the old file. A link, FIFO or device at `path` is replaced, never
/// written through. Where nothing stands yet and the mode allows it, the file
/// is written in place, so that an early end leaves it as far as it got.
/// A regular file replaced passes its permissions on to the new one (on
/// Windows its read-only, hidden and system marks).
class FileReplacement {
 public:
  enum class Mode {
    Whole,           ///< always beside the target, also for a new file
    InPlaceWhenNew,  ///< a new file is written where it will stay
  };

  FileReplacement(std::string path, Mode mode);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  /// Without Commit the target stays as it was (a new file written in place:
  /// as far as it got) and the file beside it is gone.
  ~FileReplacement();

  /// The stream to write to, the file beside the target made at the first
  /// call; null when the file could not be made (Error()).
  std::FILE* Stream();
  FileError Error() const { return error_; }
  /// True when something was found at the target (in InPlaceWhenNew mode
  /// at once, else once Stream() was called): the content goes beside it.
  bool Replacing() const { return replacing_; }

  /// Flushes and puts the new content in place. False when anything failed,
  /// the target then as it was. Content equal to the old file's leaves the old
  /// file, and its time stamp, untouched.
  bool Commit();

 private:
  bool Fail(int error);  ///< `error` is the system's code: errno, GetLastError
  void MakeBeside();
  bool SameAsTarget();
  bool PutInPlace();

  std::string path_;
  std::string besideName_;  ///< the file beside the target, until it is renamed or gone
  std::FILE* stream_ = nullptr;
  bool inPlace_ = false;
  bool replacing_ = false;  ///< something stood at the target when we began
  int keptMode_ = -1;       ///< the permissions (attributes on Windows) of the file replaced
  FileError error_ = FileError::None;
};

/// How a WriteContentWhole ended: None, or why not, and whether the file could
/// be created at all (else it was its content that could not be written).
struct WholeWrite {
  FileError Error = FileError::None;
  bool Created = true;
};

/// Puts exactly `content` at `path` as a regular file, as FileReplacement does
/// in `mode`, with the fewest system calls that takes: a regular file that
/// holds `content` already is left untouched, time stamp and all. `probablyThere`
/// only orders the work: whether something is likely to stand there.
WholeWrite WriteContentWhole(const std::string& path, std::string_view content,
                             FileReplacement::Mode mode, bool probablyThere = true);

/// The name of a file written beside `path` before it is renamed over it,
/// unique in the process `processId`: "." NAME ".korvalo-" PID "-" COUNTER.
/// Hidden on Linux, and its extension keeps it out of every album.
std::string BesideName(std::string_view path, unsigned long processId);

/// True for a name BesideName gives: one a run that was killed may have
/// left, which the next run removes.
bool IsNameBeside(std::string_view name);

/// True when `path` is a regular file (not a link) holding exactly `content`.
bool RegularFileHolds(const std::string& path, std::string_view content);

/// True when `a` and `b` are both regular files (not links) with the same bytes.
bool RegularFilesEqual(const std::string& a, const std::string& b);

/// WriteContentWhole in Whole mode. None on success.
FileError ReplaceFileWhole(const std::string& path, std::string_view content);

/// Copies the regular file `source` to `target` whole (Whole mode). None on success.
FileError CopyFileWhole(const std::string& source, const std::string& target);
