#pragma once

#include <span>
#include <string_view>
#include <utility>

/// Ids of the string table.
enum StringId : int {
  kTextInvalidThumbnails = 1,
  kTextRecordingFor = 2,
  kTextNoRecorder = 3,
  kTextCannotCreateIndex = 4,
  kTextNoPictures = 5,
  kTextNoTemplates = 6,
  kTextChooseFolder = 7,
  kTextTemplatesFolder = 8,
  kTextHelpFile = 9,
  kTextLanguage = 10,
  kTextUnusableIndexTemplate = 11,
  kTextChooseTemplate = 12,
  kTextFolderInUse = 13,
  kTextCannotReadFolder = 14,
};

/// The Swedish text of `id` in UTF-8, or an empty view for an unknown id.
std::string_view StringTableText(int id);

/// The whole table as (id, text) pairs, in the order of the ids.
std::span<const std::pair<int, std::string_view>> StringTableEntries();
