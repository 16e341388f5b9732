#include "platform/unique_handle.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <string_view>

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    Reset(other.Release());
  }
  return *this;
}

bool UniqueHandle::valid() const {
  return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
}

void UniqueHandle::Reset(void* handle) {
  if (valid()) {
    CloseHandle(handle_);
  }
  handle_ = handle;
}

std::FILE* StreamOf(UniqueHandle handle, const char* mode) {
  if (!handle) {
    return nullptr;
  }
  const std::string_view modeText = mode;
  const int readOnly =
      modeText.starts_with('r') && modeText.find('+') == modeText.npos ? _O_RDONLY : 0;
  const int fd =
      _open_osfhandle(reinterpret_cast<std::intptr_t>(handle.get()), _O_BINARY | readOnly);
  if (fd < 0) {
    return nullptr;
  }
  handle.Release();  // the descriptor owns it now
  std::FILE* file = _fdopen(fd, mode);
  if (file == nullptr) {
    _close(fd);
  }
  return file;
}
