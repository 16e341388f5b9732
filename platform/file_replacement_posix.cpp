#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <utility>

#include "platform/file_error_posix.h"
#include "platform/unique_fd.h"

namespace {

constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY;
// A file made here never goes through a link that stands at its name.
constexpr int kCreateFlags = O_CREAT | O_EXCL | O_NOFOLLOW | kOpenFlags;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BesideOurs(const std::string& path) {
  return BesideName(path, static_cast<unsigned long>(getpid()));
}

// This process's umask, read once without changing it; -1 when unknown.
int ProcessUmask() {
  static const int mask = [] {
    std::ifstream status("/proc/self/status");
    std::string key;
    int value = -1;
    while (status >> key) {
      if (key == "Umask:") {
        status >> std::oct >> value;
        break;
      }
    }
    return value;
  }();
  return mask;
}

// A file made for `mode` has it only where the umask allowed it: what it took
// away is put back, so a page or take the user made group-writable stays so.
void KeepMode(int fd, int mode) {
  const int mask = ProcessUmask();
  if (mode >= 0 && (mask < 0 || (mode & mask) != 0)) {
    fchmod(fd, static_cast<mode_t>(mode));
  }
}

// An unnamed file in the target's folder, for a file written over a long
// time (an index page while its folder is walked): whatever ends the process
// before Commit, even a kill, leaves nothing behind. Not every file system
// has them, and naming one later needs /proc.
int UnnamedFileBeside(const std::string& path, int mode) {
  static const bool canName = access("/proc/self/fd", X_OK) == 0;
  if (!canName) {
    return -1;
  }
  const std::string folder = FolderOf(path);
  return open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_RDWR | kOpenFlags, mode);
}

// What a failure with the errno value `error` is called; never None.
FileError FailureOf(int error) {
  const FileError why = FileErrorFromErrno(error);
  return why == FileError::None ? FileError::Other : why;
}

// Writes all of `content`; 0 or the errno value of the failure.
int WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t wrote = write(fd, content.data(), content.size());
    if (wrote < 0 && errno == EINTR) {
      continue;
    }
    if (wrote <= 0) {
      return wrote < 0 ? errno : ENOSPC;
    }
    content.remove_prefix(static_cast<std::size_t>(wrote));
  }
  return 0;
}

// Writes `content` and closes `fd`; a full disk may only show at the close.
int WriteAndClose(UniqueFd fd, std::string_view content) {
  int error = WriteAll(fd.get(), content);
  if (close(fd.Release()) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

bool SameBytes(int a, int b) {
  char bufferA[16 * 1024];
  char bufferB[sizeof bufferA];
  for (off_t at = 0;;) {
    const ssize_t gotA = pread(a, bufferA, sizeof bufferA, at);
    const ssize_t gotB = pread(b, bufferB, sizeof bufferB, at);
    if (gotA < 0 || gotA != gotB || std::memcmp(bufferA, bufferB, static_cast<size_t>(gotA)) != 0) {
      return false;
    }
    if (gotA == 0) {
      return true;
    }
    at += gotA;
  }
}

// True when the open file `fd` of `size` bytes holds exactly `content`.
bool Holds(int fd, off_t size, std::string_view content) {
  bool same = static_cast<std::size_t>(size) == content.size();
  // Piece by piece, without an allocation per page.
  char buffer[16 * 1024];
  for (std::size_t at = 0; same && at < content.size();) {
    const ssize_t got = read(fd, buffer, std::min(sizeof buffer, content.size() - at));
    same = got > 0 && std::memcmp(buffer, content.data() + at, static_cast<std::size_t>(got)) == 0;
    at += static_cast<std::size_t>(std::max<ssize_t>(got, 0));
  }
  return same;
}

// The regular file at `path` itself, never through a link, a FIFO never waited on.
UniqueFd OpenRegularNoFollow(const std::string& path, struct stat& status) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | kOpenFlags));
  if (fd.valid() && (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))) {
    fd.Reset();
  }
  return fd;
}

// What stands at a path before it is replaced.
struct Present {
  int Error = 0;        ///< errno of the look; ENOENT for nothing, ELOOP for a link
  bool Holds = false;   ///< a regular file holding the content already
  int Mode = -1;        ///< a regular file's permissions, passed on
  bool Folder = false;  ///< a folder, which is never replaced
};

// One look at the name first: a page whose size changed, as most do when a
// template changed, is never opened.
Present Look(const std::string& path, std::string_view content) {
  Present present;
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) {
    present.Error = errno;
    return present;
  }
  present.Folder = S_ISDIR(status.st_mode);
  if (!S_ISREG(status.st_mode)) {
    present.Error = S_ISLNK(status.st_mode) ? ELOOP : 0;
    return present;
  }
  present.Mode = static_cast<int>(status.st_mode & 07777);
  if (static_cast<std::size_t>(status.st_size) != content.size()) {
    return present;
  }
  // Not through a link that took its place since; a FIFO reads as different.
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | kOpenFlags));
  present.Holds = fd.valid() && Holds(fd.get(), status.st_size, content);
  return present;
}

// Writes `content` beside `path` and renames it over: the old file, or a
// link, FIFO or device standing there, is replaced whole or not at all.
WholeWrite ReplaceBeside(const std::string& path, std::string_view content, int mode) {
  const std::string beside = BesideOurs(path);
  UniqueFd fd(open(beside.c_str(), O_WRONLY | kCreateFlags, mode >= 0 ? mode : 0666));
  if (!fd.valid()) {
    return {FileErrorFromErrno(errno), false};
  }
  KeepMode(fd.get(), mode);
  int error = WriteAndClose(std::move(fd), content);
  if (error == 0 && rename(beside.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    unlink(beside.c_str());
    return {FailureOf(error), true};
  }
  return {};
}

// A new file where nothing stands, written where it will stay; none when
// something stands there after all.
std::optional<WholeWrite> CreateInPlace(const std::string& path, std::string_view content) {
  UniqueFd fd(open(path.c_str(), O_WRONLY | kCreateFlags, 0666));
  if (!fd.valid()) {
    if (errno == EEXIST) {
      return std::nullopt;
    }
    return WholeWrite{FileErrorFromErrno(errno), false};
  }
  const int error = WriteAndClose(std::move(fd), content);
  return WholeWrite{error != 0 ? FailureOf(error) : FileError::None, true};
}

}  // namespace

WholeWrite WriteContentWhole(const std::string& path, std::string_view content,
                             FileReplacement::Mode mode, bool probablyThere) {
  const bool inPlace = mode == FileReplacement::Mode::InPlaceWhenNew;
  // Where a file is probably new, trying to create it comes first, which saves a look.
  if (inPlace && !probablyThere) {
    if (const std::optional<WholeWrite> created = CreateInPlace(path, content)) {
      return *created;
    }
  }
  const Present present = Look(path, content);
  if (present.Holds) {
    return {};
  }
  if (present.Folder) {
    return {FileError::IsAFolder, false};
  }
  if (present.Error == ENOENT && inPlace) {
    if (const std::optional<WholeWrite> created = CreateInPlace(path, content)) {
      return *created;
    }
  }
  // Whatever else stands there, a file unreadable to us included, is replaced.
  return ReplaceBeside(path, content, present.Mode);
}

FileReplacement::FileReplacement(std::string path, Mode mode) : path_(std::move(path)) {
  if (mode == Mode::Whole) {
    return;
  }
  // O_EXCL refuses any link, even a dangling one: it is replaced beside.
  UniqueFd fd(open(path_.c_str(), O_RDWR | kCreateFlags, 0666));
  if (fd.valid()) {
    inPlace_ = true;
    stream_ = StreamOf(std::move(fd), "w+b");
  } else if (errno == EEXIST) {
    replacing_ = true;
  } else {
    Fail(errno);
  }
}

std::FILE* FileReplacement::Stream() {
  if (stream_ == nullptr && error_ == FileError::None) {
    MakeBeside();
  }
  return stream_;
}

// Looked at only now: a caller that finds the old content unchanged never
// gets here, and an unchanged file costs no more than reading it.
void FileReplacement::MakeBeside() {
  struct stat status {};
  if (lstat(path_.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) {
      Fail(EISDIR);
      return;
    }
    replacing_ = true;
    if (S_ISREG(status.st_mode)) {
      keptMode_ = static_cast<int>(status.st_mode & 07777);
    }
  } else if (errno != ENOENT) {
    Fail(errno);
    return;
  }
  const int mode = keptMode_ >= 0 ? keptMode_ : 0666;
  UniqueFd fd(UnnamedFileBeside(path_, mode));
  if (!fd.valid()) {
    besideName_ = BesideOurs(path_);
    fd.Reset(open(besideName_.c_str(), O_RDWR | kCreateFlags, mode));
    if (!fd.valid()) {
      besideName_.clear();
      Fail(errno);
      return;
    }
  }
  KeepMode(fd.get(), keptMode_);
  stream_ = StreamOf(std::move(fd), "w+b");
  if (stream_ == nullptr) {
    Fail(errno);
  }
}

FileReplacement::~FileReplacement() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
  }
  if (!besideName_.empty()) {
    unlink(besideName_.c_str());
  }
}

bool FileReplacement::Fail(int error) {
  error_ = FailureOf(error);
  return false;
}

bool FileReplacement::SameAsTarget() {
  struct stat status {};
  const UniqueFd old = OpenRegularNoFollow(path_, status);
  return old.valid() && SameBytes(fileno(stream_), old.get());
}

// Gives the finished file its name: a new name for a new file, or a name
// beside the target that is then renamed over it in one step.
bool FileReplacement::PutInPlace() {
  if (besideName_.empty()) {
    const std::string unnamed = "/proc/self/fd/" + std::to_string(fileno(stream_));
    if (!replacing_ &&
        linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (!replacing_ && errno != EEXIST) {
      return Fail(errno);
    }
    besideName_ = BesideOurs(path_);
    if (linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, besideName_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      const int error = errno;
      besideName_.clear();
      return Fail(error);
    }
  }
  if (rename(besideName_.c_str(), path_.c_str()) != 0) {
    return Fail(errno);
  }
  besideName_.clear();
  return true;
}

bool FileReplacement::Commit() {
  if (Stream() == nullptr) {
    return false;
  }
  // A full disk may only show when the buffer is written out.
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) {
    return Fail(errno);
  }
  // An unchanged file keeps its name and time stamp; what was written beside
  // it goes with the stream, or in the destructor.
  bool done = inPlace_ || (replacing_ && SameAsTarget()) || PutInPlace();
  const int closeError = std::fclose(stream_) == 0 ? 0 : errno;
  stream_ = nullptr;
  if (done && closeError != 0) {
    done = Fail(closeError);
  }
  return done;
}

bool RegularFileHolds(const std::string& path, std::string_view content) {
  struct stat status {};
  const UniqueFd fd = OpenRegularNoFollow(path, status);
  return fd.valid() && Holds(fd.get(), status.st_size, content);
}

bool RegularFilesEqual(const std::string& a, const std::string& b) {
  struct stat statusA {};
  struct stat statusB {};
  const UniqueFd fdA = OpenRegularNoFollow(a, statusA);
  const UniqueFd fdB = OpenRegularNoFollow(b, statusB);
  return fdA.valid() && fdB.valid() && statusA.st_size == statusB.st_size &&
         SameBytes(fdA.get(), fdB.get());
}
