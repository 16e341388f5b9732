#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/program_path.h"
#include "platform/search_path.h"

namespace {

std::string WithoutTrailingSlash(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') {
    folder.remove_suffix(1);
  }
  return std::string(folder);
}

bool NamesFolder(std::string_view list, const std::string& folder) {
  while (true) {
    const std::size_t end = list.find(':');
    if (WithoutTrailingSlash(list.substr(0, end)) == folder) {
      return true;
    }
    if (end == std::string_view::npos) {
      return false;
    }
    list.remove_prefix(end + 1);
  }
}

// What execvp() searches when PATH is unset.
std::string DefaultSearchPath() {
  const std::size_t size = confstr(_CS_PATH, nullptr, 0);
  if (size == 0) {
    return "/bin:/usr/bin";
  }
  std::string path(size, '\0');
  confstr(_CS_PATH, path.data(), size);
  path.resize(size - 1);
  return path;
}

}  // namespace

void AppendToSearchPath(std::string_view folder) {
  const std::string entry = WithoutTrailingSlash(folder);
  if (entry.empty()) {
    return;
  }
  const char* current = std::getenv("PATH");
  std::string path = current != nullptr ? current : DefaultSearchPath();
  if (NamesFolder(path, entry)) {
    return;
  }
  path += path.empty() ? entry : ":" + entry;
  setenv("PATH", path.c_str(), 1);
}

void AddProgramFolderToSearchPath() {
  const std::string program = ProgramFilePath();
  const std::size_t slash = program.rfind('/');
  if (slash != std::string::npos) {
    AppendToSearchPath(program.substr(0, slash + 1));
  }
}

std::optional<std::string> CurrentSearchPath() {
  const char* path = std::getenv("PATH");
  return path != nullptr ? std::optional<std::string>(path) : std::nullopt;
}
