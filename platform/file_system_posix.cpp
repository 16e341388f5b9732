#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

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
  /// Closes now and reports whether the close succeeded.
  bool Close() { return close(Release()) == 0; }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, static_cast<size_t>(size));
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

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

// Removes what stands at `path` when it is neither a regular file nor a
// folder (a link, a FIFO, a socket, a device), so the file made next is our own.
bool RemoveNonRegular(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) {
    return errno == ENOENT;
  }
  return S_ISREG(status.st_mode) ||
         (!S_ISDIR(status.st_mode) && (unlink(path.c_str()) == 0 || errno == ENOENT));
}

int CreateRegularDescriptor(const std::string& path) {
  // A few rounds, in case something else puts a link or FIFO there meanwhile.
  for (int round = 0; round < 3; ++round) {
    // No link is followed and no FIFO waited for; O_TRUNC empties only a regular file.
    Descriptor fd(
        open(path.c_str(),
             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0 && errno != ELOOP && errno != ENXIO) {
      return -1;
    }
    if (fd.get() >= 0 && IsRegular(fd.get())) {
      return fd.Release();
    }
    fd.Reset(-1);
    if (!RemoveNonRegular(path)) {
      return -1;
    }
  }
  return -1;
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

bool IsRegularFileOrMissing(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

std::FILE* OpenRegularFile(const std::string& path) {
  return StreamOf(OpenRegularDescriptor(path), "rb");
}

std::FILE* CreateRegularFile(const std::string& path) {
  return StreamOf(CreateRegularDescriptor(path), "wb");
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  Descriptor in(OpenRegularDescriptor(source));
  if (in.get() < 0) {
    return false;
  }
  Descriptor out(CreateRegularDescriptor(target));
  if (out.get() < 0) {
    return false;
  }
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = read(in.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      break;
    }
    if (!WriteAll(out.get(), buffer, got)) {
      return false;
    }
  }
  return out.Close();
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
