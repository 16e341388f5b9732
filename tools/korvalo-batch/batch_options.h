#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "resources/string_table.h"

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
  std::optional<Language> Texts;  ///< none: the user's language
  bool Help = false;
  bool Version = false;
};

/// One command-line option as the parser, the help text and the manual page see it.
struct CommandOption {
  const char* Name;         ///< the long name, without dashes
  const char* ShortName;    ///< a one-letter name, or ""
  const char* ValueName;    ///< the value's name for an option that takes one, or ""
  const char* Description;  ///< lower case, without a full stop
  const char* Default;      ///< what holds without the option, or ""
  const char* SwedishDescription;  ///< the same two in Swedish, for the manual page
  const char* SwedishDefault;
};

/// The options of korvalo-batch, in the order its help shows them.
std::span<const CommandOption> BatchOptionList();

/// The command line's shape, its one-line purpose and its exit codes, in
/// English and (for the manual page) in Swedish.
extern const char* const kBatchSynopsis;
extern const char* const kBatchPurpose;
extern const char* const kBatchExitStatus;
extern const char* const kBatchSwedishSynopsis;
extern const char* const kBatchSwedishPurpose;
extern const char* const kBatchSwedishExitStatus;

/// The usage text shown by --help and after a usage error.
std::string BatchUsage();

/// Reads the arguments after the program's name into `options`. Returns the
/// reason when they are not a valid command line. --help and --version win
/// over everything else on the line.
std::optional<std::string> ParseBatchOptions(const std::vector<std::string>& arguments,
                                             BatchOptions& options);
