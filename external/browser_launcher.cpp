#include "external/browser_launcher.h"

#include <algorithm>
#include <filesystem>

#include "app/files.h"
#include "external/program_runner.h"
#include "platform/browser_command.h"

namespace {

// Unreserved characters and '/' stand for themselves in a URL path; all else
// (blanks, quotes, '#', '%', non-ASCII bytes) is percent-encoded.
std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~' || byte == '/';
    if (plain) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

}  // namespace

std::string RewriteNoHome(std::string command) {
  const std::size_t at = command.find("-nohome");
  if (at != std::string::npos) {
    command.resize(at);
    command += "-new ";
  }
  return command;
}

std::string PageUrl(const std::string& page) {
  std::string path = page;
  std::string fragment;
  const std::size_t hash = page.rfind('#');
  if (hash != std::string::npos && page.find('/', hash) == std::string::npos && !FileExists(page) &&
      FileExists(page.substr(0, hash))) {
    path = page.substr(0, hash);
    fragment.assign(1, '#').append(PercentEncoded(page.substr(hash + 1)));
  }
  return "file://" + PercentEncoded(AbsolutePath(path)) + fragment;
}

std::vector<std::string> BrowserArguments(std::string_view command, const std::string& url) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  while (at < command.size()) {
    const std::size_t start = command.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(command.find_first_of(" \t", start), command.size());
    arguments.emplace_back(command.substr(start, end - start));
    at = end;
  }
  if (arguments.empty()) {
    arguments.push_back(DesktopOpenerCommand());
  }
  arguments.push_back(url);
  return arguments;
}

void OpenInBrowser(const std::string& page, bool lookUpBrowser) {
  const std::string command =
      lookUpBrowser ? RewriteNoHome(RegisteredBrowserCommand()) : DesktopOpenerCommand();
  if (OpenPageAsTheSystemDoes(command, page)) {
    return;
  }
  // No shell: the page is one argument, so nothing in its name is ever run.
  RunProgram(BrowserArguments(command, PageUrl(page)), false, false, nullptr);
}
