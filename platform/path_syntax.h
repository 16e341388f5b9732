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
