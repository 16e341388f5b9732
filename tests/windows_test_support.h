#pragma once

// What the Windows tests share: the stand-in program built beside them.

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/program_path.h"
#include "tests/test_support.h"

/// tests/fake_program_win32.cpp, built beside the test program.
inline std::string FakeProgram() {
  const std::string self = ProgramFilePath();
  return self.substr(0, self.find_last_of('\\') + 1) + "korvalo-fake-program.exe";
}

/// The text of the fake's `log` once it holds `needle`, or as it is after ten
/// seconds: a program starts slowly under Wine.
inline std::string WaitForLog(const std::string& log, std::string_view needle) {
  std::string text;
  for (int i = 0; i < 1000 && (text = ReadFileBytes(log)).find(needle) == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return text;
}

#include <windows.h>

/// While it lives, this process sees `root` (HKEY_CURRENT_USER,
/// HKEY_CLASSES_ROOT) as an empty key of its own: a test never touches the
/// user's settings or file types.
class ScopedRegistryRoot {
 public:
  explicit ScopedRegistryRoot(HKEY root)
      : root_(root), name_(L"Software\\Korvalo-test-" + std::to_wstring(GetCurrentProcessId())) {
    RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    RegOverridePredefKey(root_, key_);
  }
  ScopedRegistryRoot(const ScopedRegistryRoot&) = delete;
  ~ScopedRegistryRoot() {
    RegOverridePredefKey(root_, nullptr);
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
  }

 private:
  HKEY root_;
  std::wstring name_;
  HKEY key_ = nullptr;
};

/// Sets the text value `name` (empty: the key's default) of `key` below `root`.
inline void SetRegistryText(HKEY root, const std::wstring& key, const std::wstring& name,
                            const std::wstring& text) {
  RegSetKeyValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
