#pragma once

#include <string>
#include <string_view>
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
  bool PollCancel() override {
    ++polls_;
    return cancel_;
  }

  std::vector<std::string> lines_;     ///< The log as it stands.
  std::vector<std::string> messages_;  ///< "Caption: text" per message box.
  std::vector<MessageOwner> owners_;   ///< The owner of each message box.
  int finishes_ = 0;
  int polls_ = 0;
  int clears_ = 0;
  bool cancel_ = false;
};
