#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct WindowServices;

/// How voice comments are recorded; the numbers are those the settings dialog stores.
enum RecordMode : std::int32_t {
  RecordWhenMissing = 0,
  RecordAlways = 1,
  RecordNever = 2,
};

/// The choices of one run; reset at every start, never stored.
struct RunSettings {
  RecordMode Recording = RecordWhenMissing;
  std::int32_t ThumbnailsPerRow = 0;  ///< 0: the index template's own count of cells.
  bool OpenBrowserWhenDone = true;
  bool IncludeSubfolders = true;
};

/// Names derived once from the program's own location.
struct AppPaths {
  std::string IndexBaseName;    ///< "index"
  std::string PageExtension;    ///< ".html"
  std::string TemplatesFolder;  ///< mallar/ beside the program, with its trailing slash.
  std::string HelpFile;         ///< dok/korvalo.html beside the program.
  std::string GoBackImage;      ///< TemplatesFolder + "__goback.gif"
  std::string FolderImage;      ///< TemplatesFolder + "index.jpg"
  std::string EmptySound;       ///< TemplatesFolder + "emptysound.wav"
};

/// The chosen page templates, each the text of its file up to any NUL byte.
/// A std::string keeps its size known, which the generator sizes its work by.
struct TemplatePair {
  std::string IndexTemplate;
  std::string PictureTemplate;
};

/// The window that owns message boxes, as the window layer knows it
/// (a QWidget* in the desktop program); null for none.
using MessageOwner = const void*;

/// Everything one run shares. A single instance lives for the whole run and is
/// passed by reference to whoever needs it.
struct RunState {
  RunSettings Settings;
  AppPaths Paths;
  TemplatePair Templates;
  MessageOwner Owner = nullptr;
  /// Where messages, log lines and the cancel flag go. Never null during a run.
  WindowServices* Windows = nullptr;
};

/// Points the templates folder and the support files in it at `folder`,
/// which ends with a separator.
void UseTemplatesFolder(AppPaths& paths, std::string_view folder);

/// Fills `state.Paths` from the program's own file path and resets
/// `state.Settings` to the defaults. Checks nothing on disk.
void InitRunState(RunState& state, std::string_view programFile);
