#pragma once

#include <cerrno>

#include "platform/file_error.h"

/// The program's word for the POSIX error `code`.
inline FileError FileErrorFromErrno(int code) {
  switch (code) {
    case 0:
      return FileError::None;
    case ENOENT:
      return FileError::NotFound;
    case EACCES:
    case EPERM:
      return FileError::AccessDenied;
    case ENOSPC:
    case EFBIG:
      return FileError::DiskFull;
    case EDQUOT:
      return FileError::QuotaExceeded;
    case EROFS:
      return FileError::ReadOnly;
    case ENAMETOOLONG:
      return FileError::NameTooLong;
    case ENOTDIR:
      return FileError::NotAFolder;
    case EISDIR:
      return FileError::IsAFolder;
    case EWOULDBLOCK:
      return FileError::InUse;
    case EIO:
      return FileError::IoError;
    default:
      return FileError::Other;
  }
}
