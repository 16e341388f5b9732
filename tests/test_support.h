#pragma once

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/window_services.h"

/// A fresh folder under the system's temporary folder, removed with everything
/// in it when the object goes.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::string& path() const { return path_; }
  /// path() + "/" + relative.
  std::string operator/(std::string_view relative) const;
  /// Writes `content` to `relative` (parent folders made) and returns its full path.
  std::string Write(std::string_view relative, std::string_view content) const;
  /// Makes the folder `relative` (parents too) and returns its full path.
  std::string MakeFolder(std::string_view relative) const;
  /// Writes an executable shell script and returns its full path.
  std::string WriteScript(std::string_view relative, std::string_view body) const;

 private:
  std::string path_;
};

/// The whole content of `path`, or an empty text when it cannot be read.
std::string ReadFileBytes(const std::string& path);

/// Window services that remember what was asked of them. Message boxes are
/// also written to standard error, so death tests can match fatal messages.
struct RecordingWindows : WindowServices {
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  void LogLine(std::string_view line) override { lines_.emplace_back(line); }
  void ClearLastLine() override;
  void FinishProgress() override { ++finishes_; }
  bool PollCancel() override { return cancel_; }

  std::vector<std::string> lines_;     ///< The log as it stands.
  std::vector<std::string> messages_;  ///< "Caption: text" per message box.
  std::vector<MessageOwner> owners_;   ///< The owner of each message box.
  int finishes_ = 0;
  int clears_ = 0;
  bool cancel_ = false;
};

// For tests that start real programs and look after them in /proc.

/// The state letter of /proc/<pid>/stat ('S', 'Z', ...); 0 when there is no such process.
inline char ProcessState(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  // The name in parentheses may hold ')'; the state follows the last one.
  const std::size_t close = std::getline(stat, line) ? line.rfind(')') : std::string::npos;
  return pid > 0 && close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

inline bool IsAlive(int pid) {
  const char state = ProcessState(pid);
  return state != 0 && state != 'Z' && state != 'X';
}

/// Asks `done` until it holds, for about two seconds at most.
template <typename Condition>
bool Eventually(Condition done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

/// The pid a test program wrote into `path`, once it is there.
inline int ReadPid(const std::string& path) {
  int pid = 0;
  Eventually([&] { return static_cast<bool>(std::ifstream(path) >> pid); });
  return pid;
}

/// Sets (or with nothing, unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    Apply(value);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ~ScopedEnv() { Apply(old_); }

 private:
  void Apply(const std::optional<std::string>& value) {
    value ? setenv(name_, value->c_str(), 1) : unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};
