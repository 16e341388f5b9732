#include "app/path_part.h"

#include "platform/path_syntax.h"

namespace {

struct PathComponents {
  std::string_view Drive;
  std::string_view Dir;
  std::string_view Name;
  std::string_view Type;
};

bool IsSeparator(char c) {
  return kPathSeparators.find(c) != std::string_view::npos;
}

PathComponents SplitPath(std::string_view path) {
  PathComponents parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.Drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  std::size_t dirEnd = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) {
      dirEnd = i + 1;
    }
  }
  parts.Dir = path.substr(0, dirEnd);
  const std::string_view file = path.substr(dirEnd);
  // Only a dot after the last separator starts an extension.
  const std::size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) {
    parts.Name = file;
  } else {
    parts.Name = file.substr(0, dot);
    parts.Type = file.substr(dot);
  }
  return parts;
}

}  // namespace

std::string PathPart(std::string_view path, std::string_view selector) {
  if (!path.empty() && path.front() == '"') {
    path.remove_prefix(1);
  }
  const PathComponents parts = SplitPath(path);
  std::string result;
  const auto take = [&](std::string_view keyword, std::string_view component) {
    if (selector.find(keyword) != std::string_view::npos) {
      result += component;
    }
  };
  take("drive", parts.Drive);
  take("dir", parts.Dir);
  take("name", parts.Name);
  take("type", parts.Type);
  if (!result.empty() && result.back() == '"') {
    result.pop_back();
  }
  return result;
}

std::string PathWithoutExtension(std::string_view path) {
  return std::string(path.substr(0, path.size() - SplitPath(path).Type.size()));
}
