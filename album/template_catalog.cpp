#include "album/template_catalog.h"

#include <algorithm>

#include "album/album_entry.h"
#include "album/template_columns.h"
#include "app/files.h"
#include "app/path_part.h"
#include "platform/folder_listing.h"

namespace {

constexpr std::string_view kIndexSuffix = "_index.html";
constexpr std::string_view kPictureSuffix = "_picture.html";

// A template's text ends at its first NUL byte, as it would in memory.
std::string LoadTemplateText(const RunState& run, const std::string& path) {
  std::string text = ReadWholeFile(run, path);
  text.resize(std::min(text.size(), text.find('\0')));
  return text;
}

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
    if (!isFolder && cut != std::string::npos && cut > 0) {
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

std::string TemplateIndexPath(const std::string& templatesFolder, std::string_view name) {
  return templatesFolder + std::string(name) + std::string(kIndexSuffix);
}

int ProposedThumbnailsPerRow(const std::string& templatesFolder, std::string_view name) {
  return std::max(CountTemplateColumns(TemplateIndexPath(templatesFolder, name)), 2);
}

TemplatePair LoadTemplatePair(const RunState& run, std::string_view name) {
  const std::string& folder = run.Paths.TemplatesFolder;
  TemplatePair pair;
  pair.IndexTemplate = LoadTemplateText(run, TemplateIndexPath(folder, name));
  pair.PictureTemplate =
      LoadTemplateText(run, folder + std::string(name) + std::string(kPictureSuffix));
  return pair;
}
