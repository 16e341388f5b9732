#pragma once

/// Why a file or folder operation failed, in the program's own words: each
/// platform turns its error codes into these.
enum class FileError {
  None,
  NotFound,
  AccessDenied,
  DiskFull,
  QuotaExceeded,
  ReadOnly,
  NameTooLong,
  NotAFolder,
  IsAFolder,
  InUse,     ///< another run holds the folder
  HeldOpen,  ///< another program has the file open and shares it with no one
  IoError,
  Other,
};
