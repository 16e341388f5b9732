#include "ui/settings_rules.h"

#include <algorithm>
#include <cstdio>

#include "album/album_entry.h"
#include "album/html_template.h"
#include "album/template_catalog.h"
#include "app/messages.h"
#include "app/preferences.h"
#include "resources/string_table.h"

namespace {

// The field reads at most this many characters, as its Windows buffer did.
constexpr std::size_t kThumbnailsFieldLimit = 9;

bool BeginsIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The name in `row`; none (-1) names no template.
std::string TemplateAt(const std::vector<std::string>& names, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < names.size()
             ? names[static_cast<std::size_t>(row)]
             : std::string();
}

}  // namespace

TemplateList OpenTemplateList(const RunState& run) {
  TemplateList list;
  list.Names = ListTemplates(run.Paths.TemplatesFolder);
  if (list.Names.empty()) {
    ShowError(run, LoadText(kTextNoTemplates), run.Paths.TemplatesFolder, true);
  }
  list.Selected = PreselectedTemplate(list.Names, ReadSetting("LastTemplate"));
  return list;
}

int PreselectedTemplate(const std::vector<std::string>& names, std::string_view remembered) {
  if (remembered.empty()) {
    // The second entry, not the first: that is what users of the dialog know.
    return names.size() > 1 ? 1 : -1;
  }
  // The remembered name itself comes before the longer names it begins.
  const auto same = std::find(names.begin(), names.end(), remembered);
  const auto sameLetters = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
    return EqualsIgnoringAsciiCase(name, remembered);
  });
  if (sameLetters != names.end()) {
    return static_cast<int>((same != names.end() ? same : sameLetters) - names.begin());
  }
  for (std::size_t step = 1; step <= names.size(); ++step) {
    const std::size_t at = step % names.size();
    if (BeginsIgnoringAsciiCase(names[at], remembered)) {
      return static_cast<int>(at);
    }
  }
  return -1;
}

std::string ProposedThumbnailsText(const RunState& run, const std::vector<std::string>& names,
                                   int row) {
  return std::to_string(
      ProposedThumbnailsPerRow(run.Paths.TemplatesFolder, TemplateAt(names, row)));
}

std::optional<int> ReadThumbnailsField(std::string_view text) {
  // "%d" stops at the first byte that is not ASCII, so cutting the UTF-8 text
  // at 9 bytes reads the same number as cutting it at 9 characters.
  const std::string first(text.substr(0, kThumbnailsFieldLimit));
  int value = 0;
  if (std::sscanf(first.c_str(), "%d", &value) != 1 || value < 0) {
    return std::nullopt;
  }
  return value;
}

OkAnswer PressOk(RunState& run, const std::vector<std::string>& names,
                 const SettingsControls& controls) {
  if (controls.TemplateRow < 0) {
    // Nothing to load: say so instead of failing on a file named "_index.html".
    ShowError(run, LoadText(kTextChooseTemplate), "", false);
    return OkAnswer::ChooseTemplate;
  }
  const std::string name = TemplateAt(names, controls.TemplateRow);
  // Remembered before anything else, whatever follows.
  WriteSetting("LastTemplate", name);
  run.Templates = LoadTemplatePair(run, name);
  const std::optional<int> thumbnailsPerRow = ReadThumbnailsField(controls.ThumbnailsText);
  if (!thumbnailsPerRow) {
    ShowError(run, LoadText(kTextInvalidThumbnails), "", false);
    return OkAnswer::Stay;
  }
  if (!IndexTemplateIsUsable(run.Templates.IndexTemplate)) {
    ShowError(run, LoadText(kTextUnusableIndexTemplate),
              TemplateIndexPath(run.Paths.TemplatesFolder, name), false);
    return OkAnswer::Stay;
  }
  RunSettings& settings = run.Settings;
  settings.ThumbnailsPerRow = *thumbnailsPerRow;
  settings.Recording = controls.Recording;
  settings.OpenBrowserWhenDone = controls.OpenBrowserWhenDone;
  settings.IncludeSubfolders = controls.IncludeSubfolders;
  return OkAnswer::Close;
}
