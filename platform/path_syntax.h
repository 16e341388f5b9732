#pragma once

#include <string_view>

/// The characters that separate folders in a path on this platform. On Linux a
/// backslash is an ordinary character of a file name.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

/// The separator this platform writes between folders in the paths it shows.
inline constexpr char kPathSeparator = kPathSeparators.front();

/// The character between the folders of PATH.
#ifdef _WIN32
inline constexpr char kSearchPathSeparator = ';';
#else
inline constexpr char kSearchPathSeparator = ':';
#endif

/// True for a name the platform hides: on Linux one that begins with '.'.
/// Windows hides by an attribute instead, which albums do not heed.
inline bool IsHiddenName([[maybe_unused]] std::string_view name) {
#ifdef _WIN32
  return false;
#else
  return !name.empty() && name.front() == '.';
#endif
}
