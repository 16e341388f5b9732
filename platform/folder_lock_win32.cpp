#include <windows.h>

#include <cstdio>

#include "platform/file_error_win32.h"
#include "platform/folder_lock.h"
#include "platform/unique_handle.h"
#include "platform/utf16.h"

namespace {

// One name per folder however it is reached: its volume and its number there.
// In the global namespace, so that runs in other sessions see it too.
std::wstring LockName(const BY_HANDLE_FILE_INFORMATION& folder) {
  wchar_t name[64];
  std::swprintf(name, std::size(name), L"Global\\Korvalo-folder-%08lx-%08lx%08lx",
                folder.dwVolumeSerialNumber, folder.nFileIndexHigh, folder.nFileIndexLow);
  return name;
}

}  // namespace

// A named semaphore of one unit: unlike a mutex it has no owning thread, so a
// second lock of the same folder is refused in this process too. It exists
// only while a run has it, since no one keeps a handle without taking it.
FolderLock::FolderLock(const std::string& folder) {
  const UniqueHandle opened(CreateFileW(WidePath(folder).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!opened || !GetFileInformationByHandle(opened.get(), &information)) {
    error_ = FileErrorFromWin32(GetLastError());
    return;
  }
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    error_ = FileError::NotAFolder;
    return;
  }
  UniqueHandle semaphore(CreateSemaphoreW(nullptr, 1, 1, LockName(information).c_str()));
  if (!semaphore) {
    // Another user's run made it, and only a run that holds it keeps it.
    // Any other failure leaves the album to be made unlocked, as on Linux.
    error_ = GetLastError() == ERROR_ACCESS_DENIED ? FileError::InUse : FileError::None;
    return;
  }
  if (WaitForSingleObject(semaphore.get(), 0) != WAIT_OBJECT_0) {
    error_ = FileError::InUse;
    return;
  }
  held_ = semaphore.Release();
}

FolderLock::~FolderLock() {
  if (held_ != nullptr) {
    ReleaseSemaphore(held_, 1, nullptr);
    CloseHandle(held_);
  }
}
