#include "platform/display.h"

#include <cstdlib>
#include <string>

namespace {

constexpr std::string_view kX11Display = "DISPLAY";
constexpr std::string_view kWaylandDisplay = "WAYLAND_DISPLAY";

bool IsSet(std::string_view variable) {
  const char* value = std::getenv(std::string(variable).c_str());
  return value != nullptr && *value != '\0';
}

// The variable that window system `platform` needs to reach its display;
// empty when it needs none.
std::string_view DisplayVariableOf(std::string_view platform) {
  const std::string_view name = platform.substr(0, platform.find(':'));
  if (name == "xcb") {
    return kX11Display;
  }
  return name.starts_with("wayland") ? kWaylandDisplay : std::string_view();
}

}  // namespace

std::string_view MissingDisplayVariable() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  // Without a choice Qt takes X11, or Wayland in a Wayland session.
  std::string_view platforms = chosen != nullptr && *chosen != '\0' ? chosen : "xcb;wayland";
  std::string_view firstMissing;
  while (true) {
    const std::size_t end = platforms.find(';');
    const std::string_view variable = DisplayVariableOf(platforms.substr(0, end));
    if (variable.empty() || IsSet(variable)) {
      return {};
    }
    if (firstMissing.empty()) {
      firstMissing = variable;
    }
    if (end == std::string_view::npos) {
      return firstMissing;
    }
    platforms.remove_prefix(end + 1);
  }
}
