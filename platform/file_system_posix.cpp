#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <utility>

#include "platform/file_error_posix.h"
#include "platform/file_system.h"

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  /// Closes what it holds and holds `fd` instead.
  void Reset(int fd) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = fd;
  }

 private:
  int fd_;
};

bool IsRegular(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Opening a FIFO for reading would wait for a writer: the open never waits,
// and only a regular file is kept. O_NONBLOCK means nothing for a regular file.
int OpenRegularDescriptor(const std::string& path) {
  Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  return fd.get() >= 0 && IsRegular(fd.get()) ? fd.Release() : -1;
}

std::FILE* StreamOf(int fd, const char* mode) {
  if (fd < 0) {
    return nullptr;
  }
  std::FILE* file = fdopen(fd, mode);
  if (file == nullptr) {
    close(fd);
  }
  return file;
}

}  // namespace

bool PathExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

std::int64_t PathSize(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return -1;
  }
  return status.st_size;
}

bool RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool IsRegularFileOrMissing(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

std::FILE* OpenRegularFile(const std::string& path) {
  return StreamOf(OpenRegularDescriptor(path), "rb");
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return std::nullopt;
  }
  return FileIdentity{status.st_dev, status.st_ino};
}

std::vector<FileIdentity> FolderAndItsParents(const std::string& path) {
  std::vector<FileIdentity> identities;
  // O_PATH needs no read permission on the folders, only the way through them.
  Descriptor folder(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat status {};
  while (folder.get() >= 0 && fstat(folder.get(), &status) == 0) {
    const FileIdentity identity{status.st_dev, status.st_ino};
    if (!identities.empty() && identities.back() == identity) {
      break;  // The root is its own parent.
    }
    identities.push_back(identity);
    folder.Reset(openat(folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
  }
  return identities;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::absolute(path, ignored).lexically_normal().string();
}

std::optional<std::string> FolderProblem(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return std::nullopt;
  }
  const bool exists = std::filesystem::exists(path, error);
  // A path too long or a folder above it shut: the system's reason, not "no such folder".
  return exists ? "not a folder" : error ? error.message() : "no such folder";
}

std::optional<std::string> RealPath(const std::string& path) {
  // realpath looks at each part of the path, never inside the last one, so a
  // folder that can be listed but not entered has one too.
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                         &std::free);
  return real ? std::optional<std::string>(real.get()) : std::nullopt;
}

HeaderFile::HeaderFile(const std::string& path, bool listedRegular)
    : fd_(listedRegular ? open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)
                        : OpenRegularDescriptor(path)),
      open_(fd_ >= 0) {}

HeaderFile::~HeaderFile() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

std::size_t HeaderFile::Read(unsigned char* buffer, std::size_t size) {
  ssize_t got;
  do {
    got = read(fd_, buffer, size);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool HeaderFile::Skip(std::uint64_t count) {
  return count <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) &&
         lseek(fd_, static_cast<off_t>(count), SEEK_CUR) >= 0;
}

FileError MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) {
    return FileError::None;
  }
  const int error = errno;
  struct stat status {};
  if (error == EEXIST && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    return FileError::None;
  }
  return error == EEXIST ? FileError::NotAFolder : FileErrorFromErrno(error);
}

bool RemoveEmptyFolder(const std::string& path) {
  return rmdir(path.c_str()) == 0 || errno == ENOENT;
}

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return FileStamp{status.st_size,
                   std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}
