#include "app/messages.h"

#include <cstdio>
#include <cstdlib>

#include "app/window_services.h"
#include "resources/string_table.h"

namespace {

// A message or log line holds at most this many bytes, as the windows show them.
constexpr std::size_t kMessageLimit = 1023;

}  // namespace

std::string LoadText(int id) {
  return std::string(StringTableText(id));
}

std::string FormatMessage(std::string_view format, std::string_view argument) {
  return FormatMessage(format, {argument});
}

std::string FormatMessage(std::string_view format,
                          std::initializer_list<std::string_view> arguments) {
  std::string text = FormatText(format, arguments);
  if (text.size() > kMessageLimit) {
    text.resize(kMessageLimit);
  }
  return text;
}

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> arguments) {
  std::string text;
  const std::string_view* next = arguments.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      const char conversion = format[i + 1];
      if (conversion == '%') {
        text += '%';
        ++i;
        continue;
      }
      if (conversion == 's' && next != arguments.end()) {
        text += *next++;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return text;
}

void ShowError(const RunState& run, std::string_view format, std::string_view argument,
               bool fatal) {
  const std::string text = FormatMessage(format, argument);
  const std::string_view caption = fatal ? "Fatal Error" : "Error";
  if (run.Windows != nullptr) {
    run.Windows->ShowMessageBox(run.Owner, caption, text);
  } else {
    ConsoleWindowServices().ShowMessageBox(run.Owner, caption, text);
  }
  if (fatal) {
    EndProcessNow(1);
  }
}

void EndProcessNow(int code) {
  // Files written so far, a half-written index page included, must reach the
  // disk; _Exit skips the teardown that could race the window thread.
  std::fflush(nullptr);
  std::_Exit(code);
}

std::string_view ReasonText(FileError error) {
  switch (error) {
    case FileError::None:
      return StringTableText(kTextNoError);
    case FileError::NotFound:
      return StringTableText(kTextNoSuchPath);
    case FileError::AccessDenied:
      return StringTableText(kTextAccessDenied);
    case FileError::DiskFull:
      return StringTableText(kTextDiskFull);
    case FileError::QuotaExceeded:
      return StringTableText(kTextQuotaExceeded);
    case FileError::ReadOnly:
      return StringTableText(kTextReadOnly);
    case FileError::NameTooLong:
      return StringTableText(kTextPathTooLong);
    case FileError::NotAFolder:
      return StringTableText(kTextNotAFolder);
    case FileError::IsAFolder:
      return StringTableText(kTextFolderOfThatName);
    case FileError::InUse:
      return StringTableText(kTextInUseByAnotherRun);
    case FileError::HeldOpen:
      return StringTableText(kTextHeldOpen);
    case FileError::IoError:
      return StringTableText(kTextDiskError);
    case FileError::Other:
      break;
  }
  return StringTableText(kTextUnknownError);
}

std::string WithReason(std::string_view message, FileError error) {
  if (error == FileError::None || error == FileError::Other) {
    return std::string(message);
  }
  return std::string(message) + " (" + std::string(ReasonText(error)) + ")";
}
