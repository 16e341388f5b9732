#pragma once

#include <windows.h>

#include "platform/file_error.h"

// Codes this mingw-w64's <winerror.h> does not name yet.
inline constexpr DWORD kErrorDiskQuotaExceeded = 1295;
inline constexpr DWORD kErrorDirectoryNotSupported = 336;

/// The program's word for the Windows error `code` (GetLastError).
inline FileError FileErrorFromWin32(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return FileError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FileError::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return FileError::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::DiskFull;
    case kErrorDiskQuotaExceeded:
      return FileError::QuotaExceeded;
    case ERROR_WRITE_PROTECT:
      return FileError::ReadOnly;
    case ERROR_FILENAME_EXCED_RANGE:
      return FileError::NameTooLong;
    case ERROR_DIRECTORY:
      return FileError::NotAFolder;
    case kErrorDirectoryNotSupported:
      return FileError::IsAFolder;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::HeldOpen;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
      return FileError::IoError;
    default:
      return FileError::Other;
  }
}
