#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
  /// Closes now and reports whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

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

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  Descriptor in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) {
    return false;
  }
  Descriptor out(open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
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
