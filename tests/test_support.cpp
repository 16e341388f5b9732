#include "tests/test_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

// Paths are UTF-8 on every system; a plain std::string would be read in the
// Windows code page.
std::filesystem::path FsPath(std::string_view path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

}  // namespace

TempDir::TempDir() {
  std::u8string temp = std::filesystem::temp_directory_path().u8string();
  while (temp.size() > 1 && (temp.back() == u8'/' || temp.back() == u8'\\')) {
    temp.pop_back();
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const std::string candidate =
        std::string(temp.begin(), temp.end()) + "/korvalo-test-" + std::to_string(random());
    if (std::filesystem::create_directory(FsPath(candidate))) {
      path_ = candidate;
    }
  }
  if (path_.empty()) {
    throw std::runtime_error("cannot make a temporary folder");
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FsPath(path_), ignored);
}

std::string TempDir::operator/(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

std::string TempDir::Write(std::string_view relative, std::string_view content) const {
  const std::string full = *this / relative;
  std::filesystem::create_directories(FsPath(full).parent_path());
  std::ofstream(FsPath(full), std::ios::binary)
      .write(content.data(), std::streamsize(content.size()));
  return full;
}

std::string TempDir::MakeFolder(std::string_view relative) const {
  std::filesystem::create_directories(FsPath(*this / relative));
  return *this / relative;
}

std::string TempDir::WriteScript(std::string_view relative, std::string_view body) const {
  const std::string full = Write(relative, "#!/bin/sh\n" + std::string(body) + "\n");
  chmod(full.c_str(), 0755);
  return full;
}

std::string ReadFileBytes(const std::string& path) {
  std::ostringstream content;
  content << std::ifstream(FsPath(path), std::ios::binary).rdbuf();
  return content.str();
}

void RecordingWindows::ShowMessageBox(MessageOwner owner, std::string_view caption,
                                      std::string_view text) {
  messages_.push_back(std::string(caption) + ": " + std::string(text));
  owners_.push_back(owner);
  std::fprintf(stderr, "%s\n", messages_.back().c_str());
}

void RecordingWindows::LogLine(std::string_view line) {
  lines_.emplace_back(line);
  std::fprintf(stderr, "%s\n", lines_.back().c_str());
}

void RecordingWindows::ClearLastLine() {
  ++clears_;
  if (!lines_.empty()) {
    lines_.pop_back();
  }
}

char ProcessState(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  // The name in parentheses may hold ')'; the state follows the last one.
  const std::size_t close = std::getline(stat, line) ? line.rfind(')') : std::string::npos;
  return pid > 0 && close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

int ReadPid(const std::string& path) {
  int pid = 0;
  return Eventually([&] { return static_cast<bool>(std::ifstream(path) >> pid); }) ? pid : 0;
}

namespace {

void SetEnv(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value unsets; the system's environment follows the C runtime's.
  _putenv_s(name, value ? value->c_str() : "");
#else
  value ? setenv(name, value->c_str(), 1) : unsetenv(name);
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    old_ = old;
  }
  SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() {
  SetEnv(name_, old_);
}
