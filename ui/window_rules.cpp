#include "ui/window_rules.h"

#include <cstddef>

namespace {

constexpr std::size_t kLogLineLimit = 1023;

}  // namespace

WindowPosition CenteredPosition(int screenWidth, int screenHeight, int windowWidth,
                                int windowHeight) {
  // C++ division truncates toward zero, so a window wider than the screen by
  // 5 pixels lands at -2, not -3.
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

std::string_view CutLogLine(std::string_view line) {
  if (line.size() <= kLogLineLimit) {
    return line;
  }
  std::size_t end = kLogLineLimit;
  while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) {
    --end;
  }
  return line.substr(0, end);
}

std::string FillAboutText(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string text;
  std::size_t from = 0;
  for (const std::string_view value : values) {
    const std::size_t at = format.find("%s", from);
    if (at == std::string_view::npos) {
      break;
    }
    text.append(format.substr(from, at - from)).append(value);
    from = at + 2;
  }
  return text.append(format.substr(from));
}
