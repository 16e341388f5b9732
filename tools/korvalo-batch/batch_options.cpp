#include "tools/korvalo-batch/batch_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

const CommandOption kOptions[] = {
    {"template", "", "NAME", "the pair NAME_index.html and NAME_picture.html",
     "the first template, names sorted without regard to case",
     "paret NAME_index.html och NAME_picture.html",
     "den första mallen, namnen ordnade utan hänsyn till stora och små bokstäver"},
    {"templates-folder", "", "DIR", "where the pairs and support files are",
     "mallar/ beside the program", "där mallparen och stödfilerna finns",
     "mallar/ bredvid programmet"},
    {"thumbnails", "", "N", "thumbnails per row, 0 = the index template's own count",
     "the cells of the template's first row, at least 2",
     "miniatyrbilder per rad, 0 = indexmallens eget antal",
     "cellerna i mallens första rad, minst 2"},
    {"record", "", "MODE", "when-missing | always | never", "never",
     "when-missing | always | never", "never"},
    {"no-subfolders", "", "", "no sub-albums", "", "inga delalbum", ""},
    {"open-browser", "", "", "open the finished album in the browser", "",
     "öppna det färdiga albumet i webbläsaren", ""},
    {"quiet", "", "", "no log lines", "", "inga loggrader", ""},
    {"language", "", "LANG", "sv | en: the language of messages and log lines",
     "the user's, by LANGUAGE, LC_ALL, LC_MESSAGES or LANG",
     "sv | en: språket i meddelanden och loggrader",
     "användarens, efter LANGUAGE, LC_ALL, LC_MESSAGES eller LANG"},
    {"help", "h", "", "show this text and end", "", "visa den här texten och avsluta", ""},
    {"version", "", "", "show the version and end", "", "visa versionen och avsluta", ""},
};

std::optional<int> ReadCount(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0 || text.front() == '-') {
    return std::nullopt;
  }
  return value;
}

std::optional<RecordMode> ReadRecordMode(std::string_view text) {
  if (text == "when-missing") {
    return RecordWhenMissing;
  }
  if (text == "always") {
    return RecordAlways;
  }
  if (text == "never") {
    return RecordNever;
  }
  return std::nullopt;
}

std::string Dashed(const std::string& name) {
  return (name.size() == 1 ? "-" : "--") + name;
}

// The option an argument such as "--record" or "-h" names; none for anything else.
const CommandOption* FindOption(std::string_view argument) {
  if (!argument.starts_with('-')) {
    return nullptr;
  }
  argument.remove_prefix(std::min(argument.find_first_not_of('-'), argument.size()));
  for (const CommandOption& option : kOptions) {
    if (!argument.empty() && (argument == option.Name || argument == option.ShortName)) {
      return &option;
    }
  }
  return nullptr;
}

// The option list as CLI11 knows it. Nothing the parser does not know stops
// it, so --help and --version count wherever they stand, and every problem
// is named afterwards in our own words.
// Returns FOLDER, the one positional argument.
CLI::Option* Declare(CLI::App& parser) {
  parser.set_help_flag();  // our own text, BatchUsage
  parser.allow_extras();
  // "/x" is a folder, on Windows too.
  parser.allow_windows_style_options(false);
  for (const CommandOption& option : kOptions) {
    const std::string names =
        (*option.ShortName != '\0' ? "-" + std::string(option.ShortName) + "," : "") + "--" +
        option.Name;
    if (*option.ValueName != '\0') {
      parser.add_option(names)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    } else {
      parser.add_flag(names);
    }
  }
  return parser.add_option("FOLDER");
}

// The value `option` was given last, if it was.
std::optional<std::string> ValueOf(const CLI::Option* option) {
  if (option->results().empty()) {
    return std::nullopt;
  }
  return option->results().back();
}

std::optional<std::string> ValueOf(const CLI::App& parser, const char* name) {
  return ValueOf(parser.get_option(std::string("--") + name));
}

// An argument the parser could not place that looks like an option: before
// "--" everything that begins with '-' does.
std::optional<std::string> UnknownOption(const std::vector<std::string>& remaining) {
  for (const std::string& argument : remaining) {
    if (argument == "--") {
      break;
    }
    if (argument.size() > 1 && argument.starts_with('-')) {
      return argument.substr(0, argument.find('='));
    }
  }
  return std::nullopt;
}

// A second FOLDER, which the parser leaves over as it does an unknown option.
std::optional<std::string> ExtraFolder(const std::vector<std::string>& remaining) {
  for (const std::string& argument : remaining) {
    if (argument != "--") {
      return argument;
    }
  }
  return std::nullopt;
}

// The parser's reason in our words: a value that is missing because its
// option ends the line, or a value given to a switch.
std::optional<std::string> ParseError(const std::optional<std::string>& failure,
                                      const std::vector<std::string>& arguments,
                                      const CLI::App& parser) {
  const CommandOption* last = arguments.empty() ? nullptr : FindOption(arguments.back());
  if (failure && last != nullptr && *last->ValueName != '\0') {
    return Dashed(last->Name) + " needs a value";
  }
  if (failure) {
    return failure;
  }
  for (const CommandOption& option : kOptions) {
    const CLI::Option* parsed = parser.get_option(std::string("--") + option.Name);
    const std::vector<std::string>& given = parsed->results();
    if (*option.ValueName == '\0' &&
        std::any_of(given.begin(), given.end(),
                    [](const std::string& value) { return value != "true"; })) {
      return Dashed(option.Name) + " takes no value";
    }
  }
  return std::nullopt;
}

// Checks and stores the values of the options that take one; the reason when one is bad.
std::optional<std::string> ApplyValues(const CLI::App& parser, BatchOptions& options) {
  options.Template = ValueOf(parser, "template");
  options.TemplatesFolder = ValueOf(parser, "templates-folder");
  if (const auto count = ValueOf(parser, "thumbnails")) {
    options.ThumbnailsPerRow = ReadCount(*count);
    if (!options.ThumbnailsPerRow) {
      return "--thumbnails needs a whole number of 0 or more, not \"" + *count + "\"";
    }
  }
  if (const auto language = ValueOf(parser, "language")) {
    if (*language != "sv" && *language != "en") {
      return "--language needs sv or en, not \"" + *language + "\"";
    }
    options.Texts = *language == "sv" ? Language::Swedish : Language::English;
  }
  if (const auto mode = ValueOf(parser, "record")) {
    const auto recording = ReadRecordMode(*mode);
    if (!recording) {
      return "--record needs when-missing, always or never, not \"" + *mode + "\"";
    }
    options.Recording = *recording;
  }
  return std::nullopt;
}

}  // namespace

const char* const kBatchSynopsis = "korvalo-batch [options] FOLDER";
const char* const kBatchPurpose =
    "Makes an HTML album of the pictures in FOLDER and its subfolders.";
const char* const kBatchExitStatus =
    "0 done, 1 a fatal error, a failed or cancelled recording, or Ctrl+C or\n"
    "SIGTERM (the run stops before the next picture; a second Ctrl+C ends it\n"
    "at once), 2 a usage error or a FOLDER that is not a folder.";

const char* const kBatchSwedishSynopsis = "korvalo-batch [flaggor] MAPP";
const char* const kBatchSwedishPurpose =
    "Gör ett HTML-album av bilderna i MAPP och dess undermappar.";
const char* const kBatchSwedishExitStatus =
    "0 klart, 1 ett allvarligt fel, en misslyckad eller avbruten inspelning, eller Ctrl+C\n"
    "eller SIGTERM (körningen slutar före nästa bild; ett andra Ctrl+C avslutar den\n"
    "genast), 2 ett fel på kommandoraden eller en MAPP som inte är en mapp.";

std::span<const CommandOption> BatchOptionList() {
  return kOptions;
}

std::string BatchUsage() {
  constexpr std::size_t kColumn = 28;
  std::string text = std::string("usage: ") + kBatchSynopsis + "\n" + kBatchPurpose + "\n\n";
  for (const CommandOption& option : kOptions) {
    std::string names = *option.ShortName != '\0' ? Dashed(option.ShortName) + ", " : "";
    names += Dashed(option.Name);
    if (*option.ValueName != '\0') {
      names += std::string(" ") + option.ValueName;
    }
    text += "  " + names + std::string(kColumn - 2 - std::min(names.size(), kColumn - 3), ' ') +
            option.Description + "\n";
    if (*option.Default != '\0') {
      text += std::string(kColumn, ' ') + "(default: " + option.Default + ")\n";
    }
  }
  return text + "\nExit status: " + kBatchExitStatus + "\n";
}

std::optional<std::string> ParseBatchOptions(const std::vector<std::string>& arguments,
                                             BatchOptions& options) {
  CLI::App parser;
  const CLI::Option* folder = Declare(parser);
  std::optional<std::string> failure;
  try {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    parser.parse(reversed);
  } catch (const CLI::ParseError& error) {
    failure = error.what();
  }
  options.Help = parser.count("--help") > 0;
  options.Version = parser.count("--version") > 0;
  if (options.Help || options.Version) {
    return std::nullopt;
  }
  if (const auto unknown = UnknownOption(parser.remaining())) {
    return "unknown option " + *unknown;
  }
  if (auto error = ParseError(failure, arguments, parser)) {
    return error;
  }
  if (auto error = ApplyValues(parser, options)) {
    return error;
  }
  options.IncludeSubfolders = parser.count("--no-subfolders") == 0;
  options.OpenBrowser = parser.count("--open-browser") > 0;
  options.Quiet = parser.count("--quiet") > 0;
  if (!ValueOf(folder)) {
    return "no FOLDER given";
  }
  if (const auto extra = ExtraFolder(parser.remaining())) {
    return "only one FOLDER may be given, not also \"" + *extra + "\"";
  }
  options.Folder = *ValueOf(folder);
  return std::nullopt;
}
