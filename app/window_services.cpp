#include "app/window_services.h"

#include <cstdio>
#include <string>

#include "platform/terminal.h"

ConsoleWindowServices::ConsoleWindowServices(bool quiet)
    : quiet_(quiet), outputIsTerminal_(IsTerminal(stdout)), errorIsTerminal_(IsTerminal(stderr)) {}

void ConsoleWindowServices::ShowMessageBox(MessageOwner /*owner*/, std::string_view caption,
                                           std::string_view text) {
  std::fflush(stdout);
  std::string line = std::string(caption) + ": " + std::string(text);
  line = (errorIsTerminal_ ? ShownOnTerminal(line) : line) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void ConsoleWindowServices::LogLine(std::string_view line) {
  if (quiet_) {
    return;
  }
  const std::string shown = outputIsTerminal_ ? ShownOnTerminal(line) : std::string(line);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
}

std::string ShownOnTerminal(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    // U+0080 to U+009F, C1 controls: some terminals take U+009B as an escape too.
    const bool c1 = c == 0xC2 && at + 1 < text.size() &&
                    static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[at + 1]) <= 0x9F;
    if ((c < 0x20 && c != '\t') || c == 0x7F || c1) {
      const auto byte = c1 ? static_cast<unsigned char>(text[++at]) : c;
      shown += c1 ? "\\u00" : "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}
