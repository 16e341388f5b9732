#include <windows.h>

#include <algorithm>

#include "platform/path_syntax.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "platform/utf16.h"

namespace {

bool IsSeparator(char c) {
  return kPathSeparators.find(c) != std::string_view::npos;
}

// "C:\" stays whole: without its backslash it would mean the current folder of C:.
std::string WithoutTrailingSeparator(std::string_view folder) {
  while (folder.size() > 1 && IsSeparator(folder.back()) && folder[folder.size() - 2] != ':') {
    folder.remove_suffix(1);
  }
  return std::string(folder);
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows names a folder without regard to case.
bool SameFolder(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y) || (IsSeparator(x) && IsSeparator(y));
         });
}

bool NamesFolder(std::string_view list, const std::string& folder) {
  while (true) {
    const std::size_t end = list.find(kSearchPathSeparator);
    if (SameFolder(WithoutTrailingSeparator(list.substr(0, end)), folder)) {
      return true;
    }
    if (end == std::string_view::npos) {
      return false;
    }
    list.remove_prefix(end + 1);
  }
}

// Where Windows looks for a program when PATH says nothing: its system folder
// and its own folder.
std::string DefaultSearchPath() {
  wchar_t system[MAX_PATH];
  wchar_t windows[MAX_PATH];
  const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
  const UINT windowsLength = GetWindowsDirectoryW(windows, MAX_PATH);
  if (systemLength == 0 || systemLength >= MAX_PATH || windowsLength == 0 ||
      windowsLength >= MAX_PATH) {
    return {};
  }
  return Utf8(std::wstring_view(system, systemLength)) + kSearchPathSeparator +
         Utf8(std::wstring_view(windows, windowsLength));
}

}  // namespace

std::optional<std::string> CurrentSearchPath() {
  // An empty PATH also gives 0, without setting an error of its own.
  SetLastError(ERROR_SUCCESS);
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size == 0) {
    return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
  }
  std::wstring path(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"PATH", path.data(), size);
  path.resize(length < size ? length : 0);
  return Utf8(path);
}

void AppendToSearchPath(std::string_view folder) {
  const std::string entry = WithoutTrailingSeparator(folder);
  if (entry.empty()) {
    return;
  }
  std::string path = CurrentSearchPath().value_or(DefaultSearchPath());
  if (NamesFolder(path, entry)) {
    return;
  }
  path += path.empty() ? entry : kSearchPathSeparator + entry;
  // The process's own environment, which CreateProcessW hands on to every program.
  SetEnvironmentVariableW(L"PATH", Utf16(path).c_str());
}

void AppendProgramFolderToSearchPath() {
  const std::string program = ProgramFilePath();
  const std::size_t separator = program.find_last_of(kPathSeparators);
  if (separator != std::string::npos) {
    AppendToSearchPath(program.substr(0, separator + 1));
  }
}
