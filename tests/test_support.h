#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/window_services.h"

/// A fresh folder under $TMPDIR or /tmp, removed with all it holds when the object goes.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  ~TempDir();

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view relative) const;
  /// These make `relative` (parent folders too; a script executable) and return its full path.
  std::string Write(std::string_view relative, std::string_view content) const;
  std::string MakeFolder(std::string_view relative) const;
  std::string WriteScript(std::string_view relative, std::string_view body) const;

 private:
  std::string path_;
};

/// An index template of one row with `cells` picture cells.
inline std::string IndexWithCells(int cells) {
  std::string row;
  for (int i = 0; i < cells; ++i) {
    row += "<td>__picture.jpg</td>\r\n";
  }
  return "<table>\r\n<tr>\r\n" + row + "</tr>\r\n</table>\r\n";
}

/// The whole content of `path`, or an empty text when it cannot be read.
std::string ReadFileBytes(const std::string& path);

/// Window services that remember what was asked of them. Message boxes and log
/// lines are also written to standard error, so death tests can match them.
struct RecordingWindows : WindowServices {
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
  void LogLine(std::string_view line) override;
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

/// The state letter of /proc/<pid>/stat ('S', 'Z', ...); 0 when there is no such process.
char ProcessState(int pid);
inline bool IsAlive(int pid) {
  return ProcessState(pid) != 0 && ProcessState(pid) != 'Z';
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
int ReadPid(const std::string& path);

/// Sets (or with nothing, unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value);
  ScopedEnv(const ScopedEnv&) = delete;
  ~ScopedEnv();

 private:
  const char* name_;
  std::optional<std::string> old_;
};
