#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/browser_command.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/utf16.h"

namespace {

struct LocalFreer {
  void operator()(wchar_t** words) const { LocalFree(words); }
};

// `command` split as CommandLineToArgvW splits it, as the shell would.
std::vector<std::string> SplitCommandLine(std::string_view command) {
  // An empty line would give this program's own name.
  if (command.find_first_not_of(" \t") == std::string_view::npos) {
    return {};
  }
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreer> words(
      CommandLineToArgvW(Utf16(command).c_str(), &count));
  std::vector<std::string> split;
  for (int i = 0; words && i < count; ++i) {
    split.push_back(Utf8(words.get()[i]));
  }
  return split;
}

// Unreserved characters, '/' and the drive's ':' stand for themselves in a
// file URL; all else (blanks, '#', '%', '&', non-ASCII bytes) is percent-encoded.
std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || std::string_view("-._~/:").find(c) != std::string::npos) {
      encoded += c;
    } else {
      encoded += {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
    }
  }
  return encoded;
}

// "C:\a b\index.html" gives "file:///C:/a%20b/index.html", "\\server\share\x"
// gives "file://server/share/x".
std::string FileUrl(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path.starts_with("//") ? "file:" + PercentEncoded(path)
                                : "file:///" + PercentEncoded(path);
}

// The page's URL, its anchor kept: "#name" is an anchor only when the page
// as a whole does not exist and the part before it does, since a file or
// folder name may hold '#' itself.
std::string PageUrl(const std::string& page) {
  const std::size_t hash = page.rfind('#');
  if (hash != std::string::npos && page.find_first_of("\\/", hash) == std::string::npos &&
      !PathExists(page) && PathExists(page.substr(0, hash))) {
    return FileUrl(AbsolutePath(page.substr(0, hash))) + "#" +
           PercentEncoded(page.substr(hash + 1));
  }
  return FileUrl(AbsolutePath(page));
}

// `word` with the URL in place of each placeholder: "%1", or "%L" for a long name.
std::string Filled(std::string_view word, const std::string& url, bool& placed) {
  std::string filled;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '%' && i + 1 < word.size() &&
        std::string_view("1Ll").find(word[i + 1]) != std::string_view::npos) {
      filled += url;
      placed = true;
      ++i;
    } else {
      filled += word[i];
    }
  }
  return filled;
}

// The registered command's words with the URL in place of its placeholder,
// or after them all where it has none.
std::vector<std::string> CommandWith(std::string_view command, const std::string& url) {
  std::vector<std::string> words = SplitCommandLine(command);
  bool placed = false;
  for (std::string& word : words) {
    word = Filled(word, url, placed);
  }
  if (!placed) {
    words.push_back(url);
  }
  return words;
}

std::string ExpandedEnvironment(std::string_view command) {
  const std::wstring text = Utf16(command);
  const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring expanded(size, L'\0');
  const DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
  if (size == 0 || length == 0 || length > size) {
    return std::string(command);
  }
  expanded.resize(length - 1);
  return Utf8(expanded);
}

}  // namespace

// The open command of ".html" as the user's own choice, or else the
// machine's, has it: the association API knows where each lives.
std::string RegisteredBrowserCommand() {
  DWORD size = 0;
  if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".html", L"open", nullptr, &size) !=
          S_FALSE ||
      size == 0) {
    return {};
  }
  std::wstring command(size, L'\0');
  if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".html", L"open", command.data(),
                        &size) != S_OK) {
    return {};
  }
  command.resize(command.find(L'\0'));
  return Utf8(command);
}

// No command: OpenPageAsTheSystemDoes lets the shell's "open" choose.
std::string DesktopOpenerCommand() {
  return {};
}

bool OpenPageAsTheSystemDoes(std::string_view command, const std::string& page) {
  const std::string url = PageUrl(page);
  if (command.find_first_not_of(" \t") == std::string_view::npos) {
    ShellExecuteW(nullptr, L"open", Utf16(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
  }
  int error = 0;
  // Started directly, never through a command interpreter: an '&' in an album's
  // path is a character of the URL, not a second command.
  ChildProcess::Start(CommandWith(ExpandedEnvironment(command), url), false, error);
  return true;
}
