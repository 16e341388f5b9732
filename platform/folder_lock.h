#pragma once

#include <string>

#include "platform/file_error.h"

/// A hold on one folder that no other run, of this program or another
/// process, can take while it lives. Nothing is added to the folder. It goes
/// with the process, however that ends.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  /// None when held; InUse when another holds it; else why the folder could not be opened.
  FileError Error() const { return error_; }

 private:
#ifdef _WIN32
  void* held_ = nullptr;  ///< the folder's semaphore, taken
#else
  int fd_ = -1;
#endif
  FileError error_ = FileError::None;
};
