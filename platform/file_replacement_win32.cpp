#include <windows.h>

#include <io.h>
#include <cstring>
#include <utility>

#include "platform/file_error_win32.h"
#include "platform/file_replacement.h"
#include "platform/path_syntax.h"
#include "platform/unique_handle.h"
#include "platform/utf16.h"

namespace {

// What a replaced file passes on: a page or comment the user made read-only
// or hidden stays so. The new file is marked for backup as any new file is.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// `extraAccess` DELETE lets the file be marked for deletion while it is open.
UniqueHandle CreateNew(const std::string& path, DWORD extraAccess = 0) {
  // Not through a link: one that stands there, even a dangling one, counts as a file.
  return UniqueHandle(
      CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE | extraAccess,
                  FILE_SHARE_READ | (extraAccess & DELETE ? FILE_SHARE_DELETE : 0), nullptr,
                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// While marked, the file goes when its last handle closes, however the
// process ends: a kill or a fatal error leaves nothing beside the target.
bool MarkForDeletion(HANDLE file, bool marked) {
  FILE_DISPOSITION_INFO disposition{marked};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// The regular file at `path` itself, never through a link or junction, and
// never a device such as CON.
UniqueHandle OpenRegularNoFollow(const std::string& path, std::uint64_t& size) {
  UniqueHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(file.get(), &information) ||
      (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
          0) {
    return UniqueHandle();
  }
  size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
  return file;
}

// Reads up to `size` bytes; the count read, short only at the end of the file.
DWORD ReadSome(HANDLE file, char* buffer, DWORD size) {
  DWORD total = 0;
  DWORD got = 0;
  while (total < size && ReadFile(file, buffer + total, size - total, &got, nullptr) && got > 0) {
    total += got;
  }
  return total;
}

bool SameBytes(HANDLE a, HANDLE b) {
  char bufferA[16 * 1024];
  char bufferB[sizeof bufferA];
  for (;;) {
    const DWORD gotA = ReadSome(a, bufferA, sizeof bufferA);
    const DWORD gotB = ReadSome(b, bufferB, sizeof bufferB);
    if (gotA != gotB || std::memcmp(bufferA, bufferB, gotA) != 0) {
      return false;
    }
    if (gotA == 0) {
      return true;
    }
  }
}

// A virus scanner, an indexer or an editor may hold a file open for a moment,
// sharing it with no one: tried again for about a second.
constexpr int kHeldOpenTries = 10;
constexpr DWORD kHeldOpenPause = 100;

bool MaybeHeldOpen(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

// Windows refuses to rename over a file held open as "access denied": one that
// cannot even be opened for deletion, sharing everything, is held by another.
bool HeldByAnother(const std::wstring& path) {
  const UniqueHandle probe(
      CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// MoveFileExW over `target`, waiting a while for a program that holds it.
// On failure GetLastError tells why, ERROR_SHARING_VIOLATION for a holder.
bool MoveWaitingForHolder(const std::wstring& beside, const std::wstring& target) {
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return true;
    }
    error = GetLastError();
    if (!MaybeHeldOpen(error) || attempt == kHeldOpenTries) {
      break;
    }
    Sleep(kHeldOpenPause);
  }
  SetLastError(error == ERROR_ACCESS_DENIED && HeldByAnother(target) ? ERROR_SHARING_VIOLATION
                                                                     : error);
  return false;
}

HANDLE HandleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

FileReplacement::FileReplacement(std::string path, Mode mode) : path_(std::move(path)) {
  if (mode == Mode::InPlaceWhenNew) {
    if (UniqueHandle file = CreateNew(path_)) {
      inPlace_ = true;
      stream_ = StreamOf(std::move(file), "w+b");
      if (stream_ == nullptr) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
      }
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      Fail(static_cast<int>(GetLastError()));
      return;
    }
  }
  // Of what stands there itself: a link or junction is not followed.
  const DWORD attributes = GetFileAttributesW(WidePath(path_).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      Fail(static_cast<int>(error));
    }
    return;
  }
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !link) {
    Fail(kErrorDirectoryNotSupported);
    return;
  }
  replacing_ = true;
  if (!link) {
    keptMode_ = static_cast<int>(attributes & kKeptAttributes);
  }
}

std::FILE* FileReplacement::Stream() {
  if (stream_ == nullptr && error_ == FileError::None) {
    MakeBeside();
  }
  return stream_;
}

void FileReplacement::MakeBeside() {
  besideName_ = BesideName(path_, GetCurrentProcessId());
  UniqueHandle file = CreateNew(besideName_, DELETE);
  if (!file) {
    const DWORD error = GetLastError();
    besideName_.clear();
    Fail(static_cast<int>(error));
    return;
  }
  // Where a file system cannot mark it, the destructor removes it by name.
  MarkForDeletion(file.get(), true);
  stream_ = StreamOf(std::move(file), "w+b");
  if (stream_ == nullptr) {
    Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
}

FileReplacement::~FileReplacement() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
  }
  if (!besideName_.empty()) {
    DeleteFileW(WidePath(besideName_).c_str());
  }
}

bool FileReplacement::Fail(int error) {
  error_ = FileErrorFromWin32(static_cast<DWORD>(error));
  if (error_ == FileError::None) {
    error_ = FileError::Other;
  }
  return false;
}

bool FileReplacement::SameAsTarget() {
  std::uint64_t size = 0;
  const UniqueHandle old = OpenRegularNoFollow(path_, size);
  const HANDLE written = HandleOf(stream_);
  LARGE_INTEGER start{};
  return old && SetFilePointerEx(written, start, nullptr, FILE_BEGIN) &&
         SameBytes(written, old.get());
}

// Renames the finished file over the target. Windows refuses to rename over a
// read-only file or a folder's link, which Linux does not: the one loses its
// mark for the moment, the other goes first, leaving what it leads to alone.
bool FileReplacement::PutInPlace() {
  const std::wstring target = WidePath(path_);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool present = attributes != INVALID_FILE_ATTRIBUTES;
  if (present && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RemoveDirectoryW(target.c_str());
  }
  const bool readOnly = present && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly) {
    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  const std::wstring beside = WidePath(besideName_);
  if (!MoveWaitingForHolder(beside, target)) {
    const DWORD error = GetLastError();
    if (readOnly) {
      SetFileAttributesW(target.c_str(), attributes);
    }
    // Gone at once: a fatal error that follows ends the process without destructors.
    DeleteFileW(beside.c_str());
    besideName_.clear();
    return Fail(static_cast<int>(error));
  }
  besideName_.clear();
  if (keptMode_ > 0) {
    SetFileAttributesW(target.c_str(), static_cast<DWORD>(keptMode_) | FILE_ATTRIBUTE_ARCHIVE);
  }
  return true;
}

bool FileReplacement::Commit() {
  if (Stream() == nullptr) {
    return false;
  }
  // A full disk may only show when the buffer is written out.
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) {
    return Fail(static_cast<int>(_doserrno));
  }
  const bool unchanged = inPlace_ || (replacing_ && SameAsTarget());
  // Should this fail, the rename below finds no file and says so.
  if (!unchanged) {
    MarkForDeletion(HandleOf(stream_), false);
  }
  // Windows renames no file that is open.
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!closed) {
    return Fail(static_cast<int>(_doserrno));
  }
  return unchanged || PutInPlace();
}

bool RegularFileHolds(const std::string& path, std::string_view content) {
  std::uint64_t size = 0;
  const UniqueHandle file = OpenRegularNoFollow(path, size);
  if (!file || size != content.size()) {
    return false;
  }
  // One byte more than expected finds a file that grew since its size was read.
  std::string bytes(content.size() + 1, '\0');
  const DWORD got = ReadSome(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
  return got == content.size() && std::string_view(bytes.data(), got) == content;
}

bool RegularFilesEqual(const std::string& a, const std::string& b) {
  std::uint64_t sizeA = 0;
  std::uint64_t sizeB = 0;
  const UniqueHandle fileA = OpenRegularNoFollow(a, sizeA);
  const UniqueHandle fileB = OpenRegularNoFollow(b, sizeB);
  return fileA && fileB && sizeA == sizeB && SameBytes(fileA.get(), fileB.get());
}
