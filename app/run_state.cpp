#include "app/run_state.h"

#include "app/messages.h"
#include "app/path_part.h"
#include "resources/string_table.h"

void InitRunState(RunState& state, std::string_view programFile) {
  AppPaths& paths = state.Paths;
  paths.PageExtension = ".html";
  paths.IndexBaseName = "index";
  const std::string programFolder = PathPart(programFile, "drive,dir");
  UseTemplatesFolder(paths, programFolder + LoadText(kTextTemplatesFolder));
  paths.HelpFile = programFolder + LoadText(kTextHelpFile);
  state.Settings = RunSettings{};
}

void UseTemplatesFolder(AppPaths& paths, std::string_view folder) {
  paths.TemplatesFolder = folder;
  paths.GoBackImage = paths.TemplatesFolder + "__goback.gif";
  paths.FolderImage = paths.TemplatesFolder + "index.jpg";
  paths.EmptySound = paths.TemplatesFolder + "emptysound.wav";
}
