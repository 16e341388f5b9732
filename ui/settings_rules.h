#pragma once

// What the settings dialog (dialog 106) decides apart from drawing, for every
// window set: which templates it lists and selects, what the thumbnails field
// proposes and how it is read, and what an OK press checks, says and stores.
// Rows count from 0, and -1 is no row, as both toolkits' lists count them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_state.h"

/// The template list as the dialog opens.
struct TemplateList {
  std::vector<std::string> Names;  ///< The templates, in list order.
  int Selected = -1;               ///< The row selected at first.
};

/// Lists the templates folder's templates and preselects the remembered
/// LastTemplate. A folder without templates is fatal (message 6).
TemplateList OpenTemplateList(const RunState& run);

/// The row of the sorted `names` selected when the dialog opens, or -1. A
/// remembered name selects the entry equal to it, else the first that equals
/// it without regard to ASCII case, else the first entry it begins (without
/// regard to ASCII case), searching from the second entry and wrapping round to
/// the first; no remembered name selects the second entry.
int PreselectedTemplate(const std::vector<std::string>& names, std::string_view remembered);

/// The thumbnails field's text when `row` of `names` is selected: the cells of
/// that template's first row, at least 2.
std::string ProposedThumbnailsText(const RunState& run, const std::vector<std::string>& names,
                                   int row);

/// The thumbnails field read as "%d" reads its first 9 characters: the number,
/// or none when there is no number or it is negative.
std::optional<int> ReadThumbnailsField(std::string_view text);

/// What the dialog's controls hold when OK is pressed.
struct SettingsControls {
  int TemplateRow = -1;
  std::string ThumbnailsText;  ///< UTF-8.
  RecordMode Recording = RecordWhenMissing;
  bool OpenBrowserWhenDone = true;
  bool IncludeSubfolders = true;
};

/// What the dialog does after an OK press.
enum class OkAnswer {
  Close,           ///< All is accepted: the dialog ends as after OK.
  Stay,            ///< A message said what is wrong; the dialog stays open.
  ChooseTemplate,  ///< No template is selected: the list takes the focus.
};

/// The OK steps, with messages owned by `run.Owner`. Without a selected
/// template: message 12. Otherwise LastTemplate is stored, whatever follows,
/// and the template pair is loaded whole into `run.Templates` (a file that
/// cannot be read is fatal); then an invalid thumbnails field gives message 1,
/// and an index template without a row and cell message 11. Only when all
/// passes are the controls' values written to `run.Settings`.
OkAnswer PressOk(RunState& run, const std::vector<std::string>& names,
                 const SettingsControls& controls);
