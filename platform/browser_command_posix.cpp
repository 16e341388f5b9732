#include "platform/browser_command.h"

#include <cstdlib>
#include <string_view>

std::string RegisteredBrowserCommand() {
  const char* list = std::getenv("BROWSER");
  std::string_view rest = list != nullptr ? list : "";
  while (!rest.empty()) {
    const std::size_t end = rest.find(':');
    const std::string_view entry = rest.substr(0, end);
    if (!entry.empty()) {
      return std::string(entry);
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return DesktopOpenerCommand();
}

std::string DesktopOpenerCommand() {
  return "xdg-open";
}
