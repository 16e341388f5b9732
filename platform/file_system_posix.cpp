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
#include "platform/unique_fd.h"

namespace {

bool IsRegular(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Opening a FIFO for reading would wait for a writer: the open never waits,
// and only a regular file is kept. O_NONBLOCK means nothing for a regular file.
UniqueFd OpenRegularDescriptor(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  return fd.valid() && IsRegular(fd.get()) ? std::move(fd) : UniqueFd();
}

}  // namespace

std::FILE* StreamOf(UniqueFd fd, const char* mode) {
  if (!fd.valid()) {
    return nullptr;
  }
  std::FILE* file = fdopen(fd.get(), mode);
  if (file != nullptr) {
    fd.Release();
  }
  return file;
}

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

OpenStream OpenRegularFile(const std::string& path) {
  return OpenStream(StreamOf(OpenRegularDescriptor(path), "rb"));
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
  UniqueFd folder(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat status {};
  while (folder.valid() && fstat(folder.get(), &status) == 0) {
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
    : fd_(listedRegular ? UniqueFd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))
                        : OpenRegularDescriptor(path)) {}

HeaderFile::operator bool() const {
  return fd_.valid();
}

std::size_t HeaderFile::Read(unsigned char* buffer, std::size_t size) {
  ssize_t got;
  do {
    got = read(fd_.get(), buffer, size);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool HeaderFile::Skip(std::uint64_t count) {
  return count <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) &&
         lseek(fd_.get(), static_cast<off_t>(count), SEEK_CUR) >= 0;
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
