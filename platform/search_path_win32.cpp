#include <windows.h>

#include <algorithm>

#include "platform/ascii_case.h"
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

// Windows names a folder without regard to case.
bool SameFolder(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y) || (IsSeparator(x) && IsSeparator(y));
         });
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

void AddProgramFolderToSearchPath() {
  const std::string program = ProgramFilePath();
  const std::size_t separator = program.find_last_of(kPathSeparators);
  if (separator == std::string::npos) {
    return;
  }
  const std::string folder = WithoutTrailingSeparator(program.substr(0, separator + 1));
  // First, and only there: another sndrec32.exe earlier on PATH must not
  // take the place of the one installed with the program.
  std::string path = folder;
  std::string_view rest = CurrentSearchPath().value_or(DefaultSearchPath());
  while (!rest.empty()) {
    const std::size_t end = rest.find(kSearchPathSeparator);
    const std::string_view entry = rest.substr(0, end);
    if (!entry.empty() && !SameFolder(WithoutTrailingSeparator(entry), folder)) {
      path += kSearchPathSeparator + std::string(entry);
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  SetEnvironmentVariableW(L"PATH", Utf16(path).c_str());
}
