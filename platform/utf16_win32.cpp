#include "platform/utf16.h"

#include <windows.h>

#include <algorithm>

namespace {

// CreateDirectoryW's limit is MAX_PATH less room for an 8.3 name; the others' is higher.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

bool IsAbsolute(std::wstring_view path) {
  return path.starts_with(L"\\\\") || (path.size() >= 3 && path[1] == L':' && path[2] == L'\\');
}

// The "\\?\" form takes the path as it stands: "." and ".." resolved first.
std::wstring LongForm(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (needed == 0 || length == 0 || length >= needed) {
    return path;
  }
  full.resize(length);
  return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

}  // namespace

std::wstring Utf16(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  std::string narrow(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()),
                      nullptr, nullptr);
  return narrow;
}

std::wstring WidePath(std::string_view path) {
  std::wstring wide = Utf16(path);
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  if (wide.size() < kClassicLimit || wide.starts_with(L"\\\\?\\") || !IsAbsolute(wide)) {
    return wide;
  }
  return LongForm(wide);
}
