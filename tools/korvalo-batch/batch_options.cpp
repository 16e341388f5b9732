#include "tools/korvalo-batch/batch_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

const CommandOption kOptions[] = {
    {"template", "", "NAME", "the pair NAME_index.html and NAME_picture.html",
     "the first template, names sorted without regard to case"},
    {"templates-folder", "", "DIR", "where the pairs and support files are",
     "mallar/ beside the program"},
    {"thumbnails", "", "N", "thumbnails per row, 0 = the index template's own count",
     "the cells of the template's first row, at least 2"},
    {"record", "", "MODE", "when-missing | always | never", "never"},
    {"no-subfolders", "", "", "no sub-albums", ""},
    {"open-browser", "", "", "open the finished album in the browser", ""},
    {"quiet", "", "", "no log lines", ""},
    {"help", "h", "", "show this text and end", ""},
    {"version", "", "", "show the version and end", ""},
};

// Command-line arguments are bytes, not necessarily UTF-8. Latin-1 maps each
// byte to one character and back, so folder and template names come through
// unchanged, while the ASCII option names still match.
QString FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
  return text.toLatin1().toStdString();
}

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

// The parser's reason in our words: an unknown option, a value that is missing
// because its option ends the line, or a value given to a switch.
std::string ParseError(const QCommandLineParser& parser,
                       const std::vector<std::string>& arguments) {
  if (!parser.unknownOptionNames().isEmpty()) {
    return "unknown option " + Dashed(ToBytes(parser.unknownOptionNames().front()));
  }
  const CommandOption* last = arguments.empty() ? nullptr : FindOption(arguments.back());
  if (last != nullptr && *last->ValueName != '\0') {
    return Dashed(last->Name) + " needs a value";
  }
  for (const std::string& argument : arguments) {
    if (argument == "--") {
      break;
    }
    const std::size_t equals = argument.find('=');
    const CommandOption* option = FindOption(std::string_view(argument).substr(0, equals));
    if (equals != std::string::npos && option != nullptr && *option->ValueName == '\0') {
      return Dashed(option->Name) + " takes no value";
    }
  }
  return ToBytes(parser.errorText());
}

// Checks and stores the values of the options that take one; the reason when one is bad.
std::optional<std::string> ApplyValues(const QCommandLineParser& parser, BatchOptions& options) {
  const auto value = [&parser](const char* name) -> std::optional<std::string> {
    if (!parser.isSet(name)) {
      return std::nullopt;
    }
    return ToBytes(parser.value(name));
  };
  options.Template = value("template");
  options.TemplatesFolder = value("templates-folder");
  if (const auto count = value("thumbnails")) {
    options.ThumbnailsPerRow = ReadCount(*count);
    if (!options.ThumbnailsPerRow) {
      return "--thumbnails needs a whole number of 0 or more, not \"" + *count + "\"";
    }
  }
  if (const auto mode = value("record")) {
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
  QCommandLineParser parser;
  for (const CommandOption& option : kOptions) {
    QStringList names{option.Name};
    if (*option.ShortName != '\0') {
      names.prepend(option.ShortName);
    }
    parser.addOption(QCommandLineOption(names, option.Description, option.ValueName));
  }
  QStringList line{"korvalo-batch"};  // The parser skips the program's name.
  for (const std::string& argument : arguments) {
    line.append(FromBytes(argument));
  }
  const bool parsed = parser.parse(line);
  options.Help = parser.isSet("help");
  options.Version = parser.isSet("version");
  if (options.Help || options.Version) {
    return std::nullopt;
  }
  if (!parsed) {
    return ParseError(parser, arguments);
  }
  if (auto error = ApplyValues(parser, options)) {
    return error;
  }
  options.IncludeSubfolders = !parser.isSet("no-subfolders");
  options.OpenBrowser = parser.isSet("open-browser");
  options.Quiet = parser.isSet("quiet");
  const QStringList folders = parser.positionalArguments();
  if (folders.isEmpty()) {
    return "no FOLDER given";
  }
  if (folders.size() > 1) {
    return "only one FOLDER may be given, not also \"" + ToBytes(folders[1]) + "\"";
  }
  options.Folder = ToBytes(folders.front());
  return std::nullopt;
}
