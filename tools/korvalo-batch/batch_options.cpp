#include "tools/korvalo-batch/batch_options.h"

#include <charconv>
#include <string_view>

const char* const kBatchUsage =
    "usage: korvalo-batch [options] FOLDER\n"
    "Makes an HTML album of the pictures in FOLDER and its subfolders.\n"
    "\n"
    "  --template NAME           the pair NAME_index.html and NAME_picture.html\n"
    "                            (default: the first template, names sorted without regard to "
    "case)\n"
    "  --templates-folder DIR    where the pairs and support files are\n"
    "                            (default: mallar/ beside the program)\n"
    "  --thumbnails N            thumbnails per row, 0 = the index template's own count\n"
    "                            (default: the cells of the template's first row, at least 2)\n"
    "  --record MODE             when-missing | always | never   (default: never)\n"
    "  --no-subfolders           no sub-albums\n"
    "  --open-browser            open the finished album in the browser\n"
    "  --quiet                   no log lines\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 done, 1 a fatal error or a failed or cancelled recording,\n"
    "2 a usage error or a FOLDER that is not a folder.\n";

namespace {

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

// Applies one of the options that take a value; the reason when the value is bad.
std::optional<std::string> ApplyValue(std::string_view option, const std::string& value,
                                      BatchOptions& options) {
  if (option == "--template") {
    options.Template = value;
  } else if (option == "--templates-folder") {
    options.TemplatesFolder = value;
  } else if (option == "--thumbnails") {
    options.ThumbnailsPerRow = ReadCount(value);
    if (!options.ThumbnailsPerRow) {
      return "--thumbnails needs a whole number of 0 or more, not \"" + value + "\"";
    }
  } else {
    const auto mode = ReadRecordMode(value);
    if (!mode) {
      return "--record needs when-missing, always or never, not \"" + value + "\"";
    }
    options.Recording = *mode;
  }
  return std::nullopt;
}

bool TakesValue(std::string_view option) {
  return option == "--template" || option == "--templates-folder" || option == "--thumbnails" ||
         option == "--record";
}

}  // namespace

std::optional<std::string> ParseBatchOptions(const std::vector<std::string>& arguments,
                                             BatchOptions& options) {
  std::vector<std::string> folders;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      folders.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.Help = true;
      return std::nullopt;
    } else if (argument == "--version") {
      options.Version = true;
      return std::nullopt;
    } else if (argument == "--no-subfolders") {
      options.IncludeSubfolders = false;
    } else if (argument == "--open-browser") {
      options.OpenBrowser = true;
    } else if (argument == "--quiet") {
      options.Quiet = true;
    } else {
      const std::size_t equals = argument.find('=');
      const std::string option = argument.substr(0, equals);
      if (!TakesValue(option)) {
        return "unknown option " + argument;
      }
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return option + " needs a value";
      }
      if (auto error = ApplyValue(option, value, options)) {
        return error;
      }
    }
  }
  if (folders.empty()) {
    return "no FOLDER given";
  }
  if (folders.size() > 1) {
    return "only one FOLDER may be given, not also \"" + folders[1] + "\"";
  }
  options.Folder = folders.front();
  return std::nullopt;
}
