#include "external/browser_launcher.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "app/files.h"
#include "app/messages.h"
#include "external/program_runner.h"
#include "platform/browser_command.h"
#include "platform/file_replacement.h"
#include "platform/runtime_folder.h"
#include "resources/string_table.h"

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

// FNV-1a: a name that stays the same for the same text, run after run, so
// the pages it names do not pile up.
std::string NameHash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (int shift = 60; shift >= 0; shift -= 4) {
    hex += kHex[(hash >> shift) & 0xF];
  }
  return hex;
}

// xdg-open, where no desktop of its own takes over, cuts a file:// URL at its
// '#' and so opens the top of the page.
bool OpenerLosesAnchor(const std::vector<std::string>& arguments) {
  const std::string& program = arguments.front();
  const std::string_view name = std::string_view(program).substr(program.rfind('/') + 1);
  return name == DesktopOpenerCommand() && arguments.back().find('#') != std::string::npos;
}

// A page without an anchor of its own that leads on to `url`: at once, by
// script, or by its link. A PageUrl holds no quote, '<', '&', ';' or
// backslash, so it stands in the page as it is.
std::string LeadOnPage(const std::string& url) {
  std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n";
  page += "<meta http-equiv=\"refresh\" content=\"0; url=" + url + "\">\n";
  page += "<title>Korvalo</title>\n<script>location.replace(\"" + url + "\");</script>\n";
  page += "</head><body><p><a href=\"" + url + "\">" + LoadText(kTextGoOnToThePage) +
          "</a></p></body></html>\n";
  return page;
}

// `url` by way of a page in the user's private folder that leads on to it;
// `url` itself when that page cannot be written, which still opens the page.
std::string UrlWithoutAnchor(const std::string& url) {
  const std::string folder = PrivateRuntimeFolder();
  if (folder.empty()) {
    return url;
  }
  const std::string path = folder + "korvalo-" + NameHash(url) + ".html";
  return ReplaceFileWhole(path, LeadOnPage(url)) == FileError::None ? PageUrl(path) : url;
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
  std::vector<std::string> arguments = BrowserArguments(command, PageUrl(page));
  if (OpenerLosesAnchor(arguments)) {
    arguments.back() = UrlWithoutAnchor(arguments.back());
  }
  // No shell: the page is one argument, so nothing in its name is ever run.
  RunProgram(arguments, false, false, nullptr);
}
