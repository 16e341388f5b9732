#include "app/window_services.h"

#include <cstdio>
#include <string>

void ConsoleWindowServices::ShowMessageBox(MessageOwner /*owner*/, std::string_view caption,
                                           std::string_view text) {
  std::fflush(stdout);
  const std::string line = std::string(caption) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void ConsoleWindowServices::LogLine(std::string_view line) {
  if (quiet_) {
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}
