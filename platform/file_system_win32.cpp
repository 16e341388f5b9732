#include <windows.h>

#include <cwctype>
#include <string_view>

#include "platform/file_error_win32.h"
#include "platform/file_system.h"
#include "platform/unique_handle.h"
#include "platform/utf16.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What `path` leads to, links and junctions followed, opened only to be looked
// at; a folder too, and without the right to read it.
UniqueHandle OpenToLookAt(const std::wstring& path) {
  return UniqueHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool InformationOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& information) {
  const UniqueHandle file = OpenToLookAt(path);
  return file && GetFileInformationByHandle(file.get(), &information);
}

FileIdentity IdentityFrom(const BY_HANDLE_FILE_INFORMATION& information) {
  return FileIdentity{
      information.dwVolumeSerialNumber,
      (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

// Where a volume's root ends in a "\\?\" path: the backslash after "\\?\C:" or
// "\\?\UNC\server\share"; npos when there is none.
std::size_t RootEnd(const std::wstring& path) {
  if (!path.starts_with(L"\\\\?\\UNC\\")) {
    return path.size() > 6 ? 6 : std::wstring::npos;
  }
  const std::size_t server = path.find(L'\\', 8);
  return server == std::wstring::npos ? server : path.find(L'\\', server + 1);
}

// "\\?\C:\a\b" gives "\\?\C:\a", "\\?\C:\a" gives "\\?\C:\", and a root gives "".
std::wstring ParentOf(const std::wstring& path) {
  const std::size_t root = RootEnd(path);
  const std::size_t last = path.find_last_of(L'\\');
  if (root == std::wstring::npos || last < root || path.size() == root + 1) {
    return {};
  }
  return path.substr(0, last == root ? root + 1 : last);
}

// The path the system itself has for the open `file`, links and junctions resolved.
std::wstring FinalPathOf(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file, path.data(), MAX_PATH, FILE_NAME_NORMALIZED);
  if (length >= MAX_PATH) {
    path.resize(length);
    length = GetFinalPathNameByHandleW(file, path.data(), length, FILE_NAME_NORMALIZED);
  }
  path.resize(length < path.size() ? length : 0);
  return path;
}

// The system's own words for `error`, in the user's language, without the
// full stop and line end FormatMessage adds.
std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? std::wstring_view(text, length) : L"");
  LocalFree(text);
  while (!message.empty() && (message.back() == L'.' || iswspace(message.back()))) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : Utf8(message);
}

}  // namespace

bool PathExists(const std::string& path) {
  return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t PathSize(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!InformationOf(WidePath(path), information)) {
    return -1;
  }
  return static_cast<std::int64_t>((std::uint64_t{information.nFileSizeHigh} << 32) |
                                   information.nFileSizeLow);
}

bool IsRegularFileOrMissing(const std::string& path) {
  const UniqueHandle file = OpenToLookAt(WidePath(path));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !GetFileInformationByHandle(file.get(), &information)) {
    return !file;
  }
  // A device name such as CON or COM1 opens as something that is no disk file.
  return (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         GetFileType(file.get()) == FILE_TYPE_DISK;
}

bool RemoveFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  // A link or junction to a folder goes as a folder does; what it leads to stays.
  const bool folderLink = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                          (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folderLink ? RemoveDirectoryW(wide.c_str()) : DeleteFileW(wide.c_str())) {
    return true;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

OpenStream OpenRegularFile(const std::string& path) {
  UniqueHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) {
    return nullptr;
  }
  return OpenStream(StreamOf(std::move(file), "rb"));
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!InformationOf(WidePath(path), information)) {
    return std::nullopt;
  }
  return IdentityFrom(information);
}

std::vector<FileIdentity> FolderAndItsParents(const std::string& path) {
  std::vector<FileIdentity> identities;
  const UniqueHandle folder = OpenToLookAt(WidePath(path));
  if (!folder) {
    return identities;
  }
  // The parents of the folder as it really is, not of the path's text, which
  // may pass through junctions and links.
  for (std::wstring at = FinalPathOf(folder.get()); !at.empty(); at = ParentOf(at)) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!InformationOf(at, information)) {
      break;
    }
    identities.push_back(IdentityFrom(information));
  }
  return identities;
}

std::string AbsolutePath(const std::string& path) {
  // Not WidePath: the result is shown, and a long path needs no "\\?\" to be made whole.
  const std::wstring wide = Utf16(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (needed == 0 || length == 0 || length >= needed) {
    return path;
  }
  full.resize(length);
  return Utf8(full);
}

std::optional<std::string> FolderProblem(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (InformationOf(WidePath(path), information)) {
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return std::nullopt;
    }
    return "not a folder";
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    return "no such folder";
  }
  return SystemMessage(error);
}

std::optional<std::string> RealPath(const std::string& path) {
  const UniqueHandle file = OpenToLookAt(WidePath(path));
  const std::wstring real = file ? FinalPathOf(file.get()) : std::wstring();
  return real.empty() ? std::nullopt : std::optional<std::string>(Utf8(real));
}

HeaderFile::HeaderFile(const std::string& path, bool /*listedRegular*/) {
  UniqueHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file && GetFileType(file.get()) == FILE_TYPE_DISK) {
    handle_ = std::move(file);
  }
}

HeaderFile::operator bool() const {
  return handle_.valid();
}

std::size_t HeaderFile::Read(unsigned char* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  return ReadFile(handle_.get(), buffer, wanted, &got, nullptr) ? got : 0;
}

bool HeaderFile::Skip(std::uint64_t count) {
  LARGE_INTEGER distance{};
  distance.QuadPart = static_cast<LONGLONG>(std::min<std::uint64_t>(count, INT64_MAX));
  return count <= static_cast<std::uint64_t>(INT64_MAX) &&
         SetFilePointerEx(handle_.get(), distance, nullptr, FILE_CURRENT);
}

FileError MakeFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) {
    return FileError::None;
  }
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return FileError::None;
  }
  return error == ERROR_ALREADY_EXISTS ? FileError::NotAFolder : FileErrorFromWin32(error);
}

bool RemoveEmptyFolder(const std::string& path) {
  if (RemoveDirectoryW(WidePath(path).c_str())) {
    return true;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::optional<FileStamp> StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  // FILETIME counts 100 ns from 1601; the stamp counts ns from 1970, as on Linux.
  constexpr std::int64_t kFrom1601To1970 = 116'444'736'000'000'000;
  const std::int64_t ticks = (std::int64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                             data.ftLastWriteTime.dwLowDateTime;
  return FileStamp{(std::int64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                   (ticks - kFrom1601To1970) * 100};
}
