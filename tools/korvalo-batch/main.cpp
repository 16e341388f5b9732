// korvalo-batch: makes one album without windows, the way the desktop program
// does after its settings dialog. It never reads or writes the preferences.

#include <cstdio>
#include <string>
#include <vector>

#include "album/album_generator.h"
#include "album/html_template.h"
#include "album/template_catalog.h"
#include "app/language.h"
#include "app/messages.h"
#include "app/run_state.h"
#include "app/window_services.h"
#include "platform/file_system.h"
#include "platform/interrupt.h"
#include "platform/path_syntax.h"
#include "platform/program_entry.h"
#include "platform/program_path.h"
#include "platform/search_path.h"
#include "resources/string_table.h"
#include "tools/korvalo-batch/batch_options.h"

namespace {

constexpr int kExitUsage = 2;

// The terminal as the progress window: log lines on standard output, messages
// on standard error, and Ctrl+C or SIGTERM (on Windows also Ctrl+Break or
// closing the console) as the cancel button, for the whole run.
class BatchWindows : public ConsoleWindowServices {
 public:
  explicit BatchWindows(bool quiet) : ConsoleWindowServices(quiet) {}
  bool PollCancel() override { return interrupts_.Requested(); }

 private:
  InterruptCatcher interrupts_;
};

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "korvalo-batch: %s\n\n%s", reason.c_str(), BatchUsage().c_str());
  return kExitUsage;
}

bool IsSeparator(char c) {
  return kPathSeparators.find(c) != std::string_view::npos;
}

// The folder as an absolute path without a trailing separator, as the folder
// picker gives it, so that log lines and messages name it in full. A root
// keeps its separator: "C:" alone would be the current folder of drive C.
std::string AlbumFolder(const std::string& folder) {
  std::string path = AbsolutePath(folder);
  while (path.size() > 1 && IsSeparator(path.back()) && path[path.size() - 2] != ':') {
    path.pop_back();
  }
  return path;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) {
    joined += (joined.empty() ? "" : ", ") + name;
  }
  return joined;
}

// Chooses and loads the template pair; ends the run when it cannot. Returns
// the chosen name, or none after a usage error was reported.
std::optional<std::string> LoadTemplates(RunState& run, const BatchOptions& options) {
  const std::vector<std::string> names = ListTemplates(run.Paths.TemplatesFolder);
  if (names.empty()) {
    ShowError(run, LoadText(kTextNoTemplates), run.Paths.TemplatesFolder, true);
    EndProcessNow(1);
  }
  const std::optional<std::string> name =
      options.Template ? FindTemplate(names, *options.Template) : names.front();
  if (!name) {
    UsageError("no template \"" + *options.Template + "\" in " + run.Paths.TemplatesFolder +
               "; there are: " + JoinNames(names));
    return std::nullopt;
  }
  run.Templates = LoadTemplatePair(run, *name);
  // Refused before anything is written: it has no row to put cells in.
  if (!IndexTemplateIsUsable(run.Templates.IndexTemplate)) {
    ShowError(run, LoadText(kTextUnusableIndexTemplate),
              TemplateIndexPath(run.Paths.TemplatesFolder, *name), true);
  }
  return name;
}

}  // namespace

int ProgramMain(const std::vector<std::string>& arguments) {
  // The recorder installed beside this program is found even when its folder
  // is not on the user's PATH.
  AddProgramFolderToSearchPath();
  UseUsersLanguage();
  BatchOptions options;
  if (const auto error = ParseBatchOptions(arguments, options)) {
    return UsageError(*error);
  }
  if (options.Texts) {
    UseLanguage(*options.Texts);
  }
  if (options.Help) {
    std::fputs(BatchUsage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::puts("korvalo-batch " KORVALO_VERSION);
    return 0;
  }
  if (const auto problem = FolderProblem(options.Folder)) {
    std::fprintf(stderr, "korvalo-batch: %s: %s\n", options.Folder.c_str(), problem->c_str());
    return kExitUsage;
  }

  BatchWindows windows(options.Quiet);
  RunState run;
  run.Windows = &windows;
  InitRunState(run, ProgramFilePath());
  if (options.TemplatesFolder) {
    std::string folder = *options.TemplatesFolder;
    if (folder.empty() || !IsSeparator(folder.back())) {
      folder += kPathSeparator;
    }
    UseTemplatesFolder(run.Paths, folder);
  }
  const std::optional<std::string> name = LoadTemplates(run, options);
  if (!name) {
    return kExitUsage;
  }
  run.Settings.Recording = options.Recording;
  run.Settings.IncludeSubfolders = options.IncludeSubfolders;
  run.Settings.OpenBrowserWhenDone = options.OpenBrowser;
  run.Settings.ThumbnailsPerRow =
      options.ThumbnailsPerRow.value_or(ProposedThumbnailsPerRow(run.Paths.TemplatesFolder, *name));
  const bool finished = GenerateFolder(run, AlbumFolder(options.Folder), 0) == 1;
  std::fflush(stdout);
  if (!finished) {
    // Said once at the end, so that a script's log shows why the album is cut short.
    std::fputs("korvalo-batch: stopped before the album was finished\n", stderr);
    return 1;
  }
  return 0;
}
