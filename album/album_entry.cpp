#include "album/album_entry.h"

#include "album/html_template.h"
#include "app/path_part.h"

namespace {

// An old name of the go-back image; albums may still hold it.
constexpr std::string_view kGoBackJpegName = "__goback.jpg";

std::string_view ExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

CellValues Escaped(std::string_view reference, std::string_view withoutExtension,
                   std::string_view caption) {
  return CellValues{EscapeFileReference(reference),
                    EscapeFileReference(withoutExtension),
                    EscapeHtml(caption),
                    {},
                    {},
                    {}};
}

// An empty copy reference stands for the picture itself.
std::string_view OrPicture(const std::string& copy, const CellValues& values) {
  return copy.empty() ? std::string_view(values.FileReference) : std::string_view(copy);
}

}  // namespace

EntryRules MakeEntryRules(const RunState& run) {
  return EntryRules{PathPart(run.Paths.GoBackImage, "name,type"),
                    PathPart(run.Paths.FolderImage, "name,type"), run.Paths.IndexBaseName,
                    run.Settings.IncludeSubfolders};
}

std::string_view NameWithoutExtension(std::string_view name) {
  return name.substr(0, name.rfind('.'));
}

EntryKind ClassifyEntry(const EntryRules& rules, std::string_view name, bool isFolder) {
  const std::string_view extension = ExtensionOf(name);
  const bool picture =
      EqualsIgnoringAsciiCase(extension, ".jpg") || EqualsIgnoringAsciiCase(extension, ".gif");
  // Most entries of an album folder are its own pages: they go first.
  if (!picture && !(isFolder && rules.IncludeSubfolders)) {
    return EntryKind::Skipped;
  }
  if (EqualsIgnoringAsciiCase(name, rules.GoBackImageName) ||
      EqualsIgnoringAsciiCase(name, rules.FolderImageName) ||
      EqualsIgnoringAsciiCase(name, kGoBackJpegName) ||
      EqualsIgnoringAsciiCase(name, kCopiesFolderName)) {
    return EntryKind::Skipped;
  }
  // Such a name would open a device, or another file or folder than this one.
  if (rules.WindowsNames && WindowsCannotUseName(name)) {
    return EntryKind::UnusableName;
  }
  if (isFolder) {
    return EntryKind::SubAlbum;
  }
  // On a file system that ignores case, INDEX.GIF's page is the index page too.
  if (EqualsIgnoringAsciiCase(NameWithoutExtension(name), rules.IndexBaseName)) {
    return EntryKind::PageWouldBeIndex;
  }
  return EntryKind::Picture;
}

std::array<std::string_view, 6> MarkerValues(const CellValues& values) {
  return {values.FileReference,
          values.ReferenceWithoutExtension,
          values.Caption,
          OrPicture(values.Thumbnail, values),
          OrPicture(values.Thumbnail2x, values),
          OrPicture(values.Screen, values)};
}

CellValues PictureValues(std::string_view fileName) {
  const std::string_view name = NameWithoutExtension(fileName);
  return Escaped(fileName, name, CaptionFromName(name));
}

CellValues SubAlbumValues(std::string_view folderName, std::string_view folderImageName) {
  // A forward slash: the reference is a relative link in the page.
  const std::string prefix = std::string(folderName) + "/";
  return Escaped(prefix + std::string(folderImageName),
                 prefix + std::string(NameWithoutExtension(folderImageName)),
                 CaptionFromName(NameWithoutExtension(folderName)));
}

CellValues GoBackValues(std::string_view goBackImageName, std::string_view indexBaseName) {
  return CellValues{
      std::string(goBackImageName), "../" + std::string(indexBaseName), "", {}, {}, {}};
}
