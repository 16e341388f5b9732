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
  std::string text;
  bool argumentUsed = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      const char conversion = format[i + 1];
      if (conversion == '%') {
        text += '%';
        ++i;
        continue;
      }
      if (conversion == 's' && !argumentUsed) {
        text += argument;
        argumentUsed = true;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  if (text.size() > kMessageLimit) {
    text.resize(kMessageLimit);
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
      return "inget fel";
    case FileError::NotFound:
      return "sökvägen finns inte";
    case FileError::AccessDenied:
      return "åtkomst nekad";
    case FileError::DiskFull:
      return "disken är full";
    case FileError::QuotaExceeded:
      return "diskkvoten är slut";
    case FileError::ReadOnly:
      return "skrivskyddad";
    case FileError::NameTooLong:
      return "sökvägen är för lång";
    case FileError::NotAFolder:
      return "inte en mapp";
    case FileError::IsAFolder:
      return "en mapp har samma namn";
    case FileError::InUse:
      return "används av en annan körning av Korvalo";
    case FileError::HeldOpen:
      return "används av ett annat program";
    case FileError::IoError:
      return "läs- eller skrivfel på disken";
    case FileError::Other:
      break;
  }
  return "okänt fel";
}

std::string WithReason(std::string_view message, FileError error) {
  if (error == FileError::None || error == FileError::Other) {
    return std::string(message);
  }
  return std::string(message) + " (" + std::string(ReasonText(error)) + ")";
}
