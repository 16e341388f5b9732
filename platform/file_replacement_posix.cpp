#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "platform/file_error_posix.h"

namespace {

constexpr int kCreateFlags = O_CLOEXEC | O_NOCTTY;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name beside `path`, unique in this process; the walk leaves
// hidden names out, so an album never shows one.
std::string BesideName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(path) + "." + NameOf(path) + ".korvalo-" + std::to_string(getpid()) + "-" +
         std::to_string(counter++);
}

std::FILE* StreamOf(int fd) {
  if (fd < 0) {
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "w+b");
  if (file == nullptr) {
    close(fd);
  }
  return file;
}

// An unnamed file in the target's folder: whatever ends the process before
// Commit, even a kill, leaves nothing behind. Not every file system has them.
int UnnamedFileBeside(const std::string& path) {
  if (access("/proc/self/fd", X_OK) != 0) {
    return -1;  // no way to give it a name later
  }
  return open(FolderOf(path).c_str(), O_TMPFILE | O_RDWR | kCreateFlags, 0666);
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

// The regular file at `path` itself, never through a link, a FIFO never waited on.
int OpenRegularNoFollow(const std::string& path, struct stat& status) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | kCreateFlags);
  if (fd >= 0 && (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

FileReplacement::FileReplacement(std::string path, Mode mode) : path_(std::move(path)) {
  if (mode == Mode::Whole) {
    return;
  }
  // O_EXCL refuses any link, even a dangling one: it is replaced beside.
  const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | kCreateFlags, 0666);
  if (fd >= 0) {
    inPlace_ = true;
    stream_ = StreamOf(fd);
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
// gets here, and an unchanged page costs no more than reading it.
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
  int fd = UnnamedFileBeside(path_);
  if (fd < 0) {
    besideName_ = BesideName(path_);
    fd = open(besideName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | kCreateFlags, 0666);
    if (fd < 0) {
      besideName_.clear();
      Fail(errno);
      return;
    }
  }
  // A take or page a user made read-only for others stays so.
  if (keptMode_ >= 0) {
    fchmod(fd, static_cast<mode_t>(keptMode_));
  }
  stream_ = StreamOf(fd);
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
  error_ = FileErrorFromErrno(error);
  if (error_ == FileError::None) {
    error_ = FileError::Other;
  }
  return false;
}

bool FileReplacement::SameAsTarget() {
  struct stat status {};
  const int old = OpenRegularNoFollow(path_, status);
  if (old < 0) {
    return false;
  }
  const bool same = SameBytes(fileno(stream_), old);
  close(old);
  return same;
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
    besideName_ = BesideName(path_);
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
  const int fd = OpenRegularNoFollow(path, status);
  if (fd < 0) {
    return false;
  }
  bool same = static_cast<std::size_t>(status.st_size) == content.size();
  // Piece by piece, without an allocation per page.
  char buffer[16 * 1024];
  for (std::size_t at = 0; same && at < content.size();) {
    const ssize_t got = read(fd, buffer, std::min(sizeof buffer, content.size() - at));
    same = got > 0 && std::memcmp(buffer, content.data() + at, static_cast<std::size_t>(got)) == 0;
    at += static_cast<std::size_t>(std::max<ssize_t>(got, 0));
  }
  close(fd);
  return same;
}

bool RegularFilesEqual(const std::string& a, const std::string& b) {
  struct stat statusA {};
  struct stat statusB {};
  const int fdA = OpenRegularNoFollow(a, statusA);
  const int fdB = OpenRegularNoFollow(b, statusB);
  const bool same =
      fdA >= 0 && fdB >= 0 && statusA.st_size == statusB.st_size && SameBytes(fdA, fdB);
  for (const int fd : {fdA, fdB}) {
    if (fd >= 0) {
      close(fd);
    }
  }
  return same;
}
