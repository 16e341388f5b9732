#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/file_error_posix.h"

// flock on the folder itself: it goes with the process however that ends,
// and leaves no lock file in the user's folder.
FolderLock::FolderLock(const std::string& folder)
    : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ < 0) {
    error_ = FileErrorFromErrno(errno);
  } else if (flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    // A file system without locks still gets its album.
    error_ = FileError::InUse;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) {
    close(fd_);
  }
}
