#pragma once

// The program's texts, in Swedish and in English: one catalog for every
// program and both window sets. The forms' own texts are Swedish in the forms
// themselves; their English stands here too (FormEnglish).

#include <optional>
#include <span>
#include <string>
#include <string_view>

/// The languages the texts are in. Swedish is the program's own.
enum class Language { Swedish, English };

/// Ids of the string table: 1 to 14 as the Windows string table has them,
/// the rest grouped by where they are shown.
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

  // The walk's log lines: an entry left out ("%s" the path, "%s" why), and why.
  kTextSkipping = 20,
  kTextPageWouldBeIndex,
  kTextWindowsCannotUseName,
  kTextAlreadyInAlbum,
  kTextLinkLeadsOut,
  kTextCopiesFolderNotOurs,
  kTextNoCopies,  ///< "%s" the path, "%s" why

  // Why a file or folder operation failed.
  kTextNoError = 40,
  kTextNoSuchPath,
  kTextAccessDenied,
  kTextDiskFull,
  kTextQuotaExceeded,
  kTextReadOnly,
  kTextPathTooLong,
  kTextNotAFolder,
  kTextFolderOfThatName,
  kTextInUseByAnotherRun,
  kTextHeldOpen,
  kTextDiskError,
  kTextUnknownError,

  // Why a picture got no copies.
  kTextPictureUnreadable = 60,
  kTextPictureDamaged,
  kTextPictureCutShort,
  kTextPictureUnsupported,
  kTextPictureTooLarge,
  kTextPictureSizeDiffers,
  kTextCopiesUnwritable,

  // The windows, and the programs' own messages.
  kTextRunFinished = 80,
  kTextPickerTitle,
  kTextPickerTree,
  kTextCancelButton,
  kTextNoDisplay,        ///< "%s" the variable that is not set
  kTextSettingsNotRead,  ///< "%s" the program, "%s" the file
  kTextGoOnToThePage,
  kTextFolderColumn,

  // The recorder.
  kTextRecorderTitle = 100,  ///< "%s" the sound file's name
  kTextRecorderCaption,
  kTextRecorderFile,     ///< "%s" the whole path
  kTextRecorderPicture,  ///< "%s" the picture's name
  kTextRecorderUsage,
  kTextRecorderNoDisplay,  ///< "%s" the variable that is not set
  kTextMicrophoneLabel,
  kTextRecordButton,
  kTextStopButton,
  kTextPlayButton,
  kTextSaveButton,
  kTextSkipButton,
  kTextLevelName,
  kTextTimeName,
  kTextNoMicrophone,
  kTextPressRecord,
  kTextRecording,
  kTextRecorded,
  kTextPlaying,
  kTextNothingRecorded,
  kTextSilent,
  kTextMicrophoneNotStarted,
  kTextMicrophoneStopped,
  kTextCannotPlay,
  kTextSpeakerStopped,
  kTextMicrophoneUnusable,
  kTextTakeTooLong,
  kTextCannotSave,  ///< "%s" why
  kTextSoundFormatUnsupported,
};

/// One text of the catalog in both languages.
struct CatalogText {
  int Id = 0;
  std::string_view Swedish;
  std::string_view English;
};

/// Sets the language every later text comes in; Swedish until then. Called
/// once, at a program's start, before any thread starts.
void UseLanguage(Language language);

/// The language the texts come in.
Language TextLanguage();

/// The text of `id` in the texts' language, in UTF-8, or an empty view for an
/// unknown id. Texts 8 and 9 are path parts with this platform's separator.
std::string_view StringTableText(int id);

/// The whole catalog, in the order of the ids.
std::span<const CatalogText> StringTableEntries();

/// The key of the text `property` of the control `object` in the form `form`:
/// "FORM" for the form's windowTitle, "FORM.OBJECT" for a control's text (or
/// a group's title), and "FORM.OBJECT.PROPERTY" for its toolTip,
/// accessibleName or accessibleDescription.
std::string FormKey(std::string_view form, std::string_view object, std::string_view property);

/// The English of a form's text, by its FormKey. None for a key the catalog lacks.
std::optional<std::string_view> FormEnglish(std::string_view key);
