#include "tools/korvalo-batch/template_catalog.h"

#include <algorithm>

#include "album/album_entry.h"
#include "app/files.h"
#include "app/path_part.h"
#include "platform/folder_listing.h"

namespace {

constexpr std::string_view kIndexSuffix = "_index.html";

}  // namespace

std::vector<std::string> ListTemplates(const std::string& templatesFolder) {
  std::vector<std::string> names;
  std::string entryPath;
  bool isFolder = false;
  FolderSearch search;
  const std::string pattern = templatesFolder + "*" + std::string(kIndexSuffix);
  while (NextFolderEntry(pattern, entryPath, isFolder, search)) {
    const std::string fileName = PathPart(entryPath, "name,type");
    const std::size_t cut = fileName.find(kIndexSuffix);
    if (!isFolder && cut != std::string::npos) {
      names.push_back(fileName.substr(0, cut));
    }
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return NtfsNameLess(a, b); });
  return names;
}

std::optional<std::string> FindTemplate(const std::vector<std::string>& names,
                                        std::string_view wanted) {
  if (std::find(names.begin(), names.end(), wanted) != names.end()) {
    return std::string(wanted);
  }
  std::optional<std::string> found;
  for (const std::string& name : names) {
    if (EqualsIgnoringAsciiCase(name, wanted)) {
      if (found) {
        return std::nullopt;  // more than one: the user must say which
      }
      found = name;
    }
  }
  return found;
}
