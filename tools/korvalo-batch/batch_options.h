#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/run_state.h"

/// What the command line of korvalo-batch asks for.
struct BatchOptions {
  std::string Folder;
  std::optional<std::string> Template;         ///< none: the first template
  std::optional<std::string> TemplatesFolder;  ///< none: mallar/ beside the program
  std::optional<int> ThumbnailsPerRow;         ///< none: what the template proposes
  RecordMode Recording = RecordNever;
  bool IncludeSubfolders = true;
  bool OpenBrowser = false;
  bool Quiet = false;
  bool Help = false;
  bool Version = false;
};

/// The usage text shown by --help and after a usage error.
extern const char* const kBatchUsage;

/// Reads the arguments after the program's name into `options`. Returns the
/// reason when they are not a valid command line. --help and --version end
/// the reading at once.
std::optional<std::string> ParseBatchOptions(const std::vector<std::string>& arguments,
                                             BatchOptions& options);
