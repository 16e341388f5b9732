#include "tests/test_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/korvalo-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary folder");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::operator/(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

std::string TempDir::Write(std::string_view relative, std::string_view content) const {
  const std::string full = *this / relative;
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return full;
}

std::string TempDir::MakeFolder(std::string_view relative) const {
  const std::string full = *this / relative;
  std::filesystem::create_directories(full);
  return full;
}

std::string TempDir::WriteScript(std::string_view relative, std::string_view body) const {
  const std::string full = Write(relative, "#!/bin/sh\n" + std::string(body) + "\n");
  chmod(full.c_str(), 0755);
  return full;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void RecordingWindows::ShowMessageBox(MessageOwner owner, std::string_view caption,
                                      std::string_view text) {
  messages_.push_back(std::string(caption) + ": " + std::string(text));
  owners_.push_back(owner);
  std::fprintf(stderr, "%s\n", messages_.back().c_str());
  std::fflush(stderr);
}

void RecordingWindows::ClearLastLine() {
  ++clears_;
  if (!lines_.empty()) {
    lines_.pop_back();
  }
}
